// The user's items at the end of the Mask menu (ids 300-339) and the Run menu (ids 400-439):
// built from their sections, cleared and built again when another window changed them.
#pragma once
#include <windows.h>

#include <vector>

#include "settings/menu_sections.h"

namespace app {

class UserMenus {
 public:
  enum Kind { kMask, kRun };

  // Appends the first 40 entries of the section to the submenu of the menu bar (position 2
  // for the Mask menu, 4 for the Run menu). 0; nothing is added without a menu bar.
  int Build(HMENU bar, Kind kind);
  // Deletes the items Build added and forgets them.
  void Clear(HMENU bar, Kind kind);
  // The entry of a menu id, or null.
  const settings::ProfileInfo* Find(int id) const;

 private:
  struct Item {
    int id;
    settings::ProfileInfo entry;
  };
  std::vector<Item>& ListOf(Kind kind) { return kind == kMask ? mask_ : run_; }
  std::vector<Item> mask_;
  std::vector<Item> run_;
};

}  // namespace app
