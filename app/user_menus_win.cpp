#include "app/user_menus_win.h"

namespace app {

namespace {

HMENU SubmenuOf(HMENU bar, UserMenus::Kind kind) {
  return bar ? ::GetSubMenu(bar, kind == UserMenus::kMask ? 2 : 4) : nullptr;
}

}  // namespace

int UserMenus::Build(HMENU bar, Kind kind) {
  HMENU popup = SubmenuOf(bar, kind);
  if (!popup) return 0;
  std::vector<Item>& list = ListOf(kind);
  const int first = kind == kMask ? settings::kFirstMaskCommand : settings::kFirstRunCommand;
  const std::vector<settings::ProfileInfo> entries =
      settings::ReadMenuItems(kind == kMask ? settings::kMaskSection : settings::kRunSection);
  for (const settings::ProfileInfo& e : entries) {
    if (static_cast<int>(list.size()) >= settings::kMenuItemsMax) break;
    const int id = settings::MenuCommandOf(first, static_cast<int>(list.size()));
    ::AppendMenuA(popup, MF_STRING, static_cast<UINT_PTR>(id), e.title.c_str());
    list.push_back({id, e});
  }
  return 0;
}

void UserMenus::Clear(HMENU bar, Kind kind) {
  std::vector<Item>& list = ListOf(kind);
  if (HMENU popup = SubmenuOf(bar, kind))
    for (const Item& item : list) ::DeleteMenu(popup, static_cast<UINT>(item.id), MF_BYCOMMAND);
  list.clear();
}

const settings::ProfileInfo* UserMenus::Find(int id) const {
  for (const std::vector<Item>* list : {&mask_, &run_})
    for (const Item& item : *list)
      if (item.id == id) return &item.entry;
  return nullptr;
}

}  // namespace app
