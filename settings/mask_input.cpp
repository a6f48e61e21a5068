#include "settings/mask_input.h"

namespace settings {
namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::string NormalizeMaskInput(const char* text) {
  std::string out;
  // Neither blank byte can be the trail byte of a double-byte character.
  for (const char* p = text ? text : ""; *p;) {
    while (IsBlank(*p)) ++p;
    const char* start = p;
    while (*p && !IsBlank(*p)) ++p;
    if (p == start) break;
    if (!out.empty()) out.push_back(' ');
    out.append(start, p);
  }
  return out.empty() ? std::string("*.*") : out;
}

}  // namespace settings
