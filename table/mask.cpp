#include "table/mask.h"

namespace table {

std::vector<std::string> SplitAtSpaces(const std::string& text) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    std::size_t j = i;
    while (j < text.size() && text[j] != ' ') ++j;
    if (j > i) out.emplace_back(text, i, j - i);
    i = j;
  }
  return out;
}

std::vector<std::string> MaskPatterns(const std::string& mask) {
  std::vector<std::string> patterns = SplitAtSpaces(mask);
  if (patterns.empty()) patterns.emplace_back(kDefaultMask);
  return patterns;
}

}  // namespace table
