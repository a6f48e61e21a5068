#include "table/hidden_types.h"

#include <cstring>

#include "os/mbcs.h"
#include "table/mask.h"
#include "table/text_compare.h"

namespace table {

InvisibleTypes::InvisibleTypes() : items_(SplitAtSpaces(kDefaultInvisibleTypes)) { Classify(); }

InvisibleTypes InvisibleTypes::FromText(const std::string& text) {
  InvisibleTypes t;
  if (!text.empty()) t.items_ = SplitAtSpaces(text);
  t.Classify();
  return t;
}

void InvisibleTypes::Classify() {
  plainAscii_.clear();
  for (const std::string& item : items_) plainAscii_.push_back(IsPlainAscii(item.c_str()));
}

std::string InvisibleTypes::Join() const {
  std::string out;
  for (const std::string& item : items_) {
    if (!out.empty()) out += ' ';
    out += item;
  }
  return out;
}

bool InvisibleTypes::IsVisibleType(const char* fileName) const {
  const char* dot = mbcs::FindLastChar(fileName, '.');
  if (!dot) return true;
  const char* ext = dot + 1;
  const std::size_t length = std::strlen(ext);
  const bool ascii = IsPlainAscii(ext);
  for (std::size_t i = 0; i < items_.size(); ++i) {
    // Two plain ASCII texts of different lengths are never equal for lstrcmpiA.
    if (ascii && plainAscii_[i] && items_[i].size() != length) continue;
    if (SameTextNoCase(ext, items_[i].c_str())) return false;
  }
  return true;
}

}  // namespace table
