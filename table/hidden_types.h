// The file types kept out of a listing (InvisibleTypes): extensions without the dot.
#pragma once
#include <string>
#include <vector>

namespace table {

// The list that empty text stands for.
constexpr const char* kDefaultInvisibleTypes = "dll sys vxd 386 drv";

class InvisibleTypes {
 public:
  InvisibleTypes();  // the default list
  // Split at spaces, runs of spaces counting as one and empty items dropped. Empty text gives
  // the default list; text of spaces only gives an empty list.
  static InvisibleTypes FromText(const std::string& text);
  // The items joined with single spaces (for saving and for the view-data dialog).
  std::string Join() const;
  // False when the text after the last period of the name equals one of the items
  // (lstrcmpiA); a name without a period is always visible.
  bool IsVisibleType(const char* fileName) const;
  const std::vector<std::string>& Items() const { return items_; }

 private:
  void Classify();
  std::vector<std::string> items_;
  std::vector<bool> plainAscii_;  // per item: compared without the locale
};

}  // namespace table
