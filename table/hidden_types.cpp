#include "table/hidden_types.h"

#include "os/mbcs.h"
#include "table/mask.h"
#include "table/text_compare.h"

namespace table {

InvisibleTypes::InvisibleTypes() : items_(SplitAtSpaces(kDefaultInvisibleTypes)) {}

InvisibleTypes InvisibleTypes::FromText(const std::string& text) {
  InvisibleTypes t;
  if (!text.empty()) t.items_ = SplitAtSpaces(text);
  return t;
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
  for (const std::string& item : items_) {
    if (SameTextNoCase(dot + 1, item.c_str())) return false;
  }
  return true;
}

}  // namespace table
