#include "exec/shell_context_menu_win.h"

#include <optional>
#include <string>
#include <vector>

#include "exec/context_menu_rules.h"
#include "os/services.h"
#include "resources/resource_ids.h"
#include "table/selection.h"

namespace exec {
namespace {

constexpr int kVerbOffsets = 1000;  // command offsets asked for their verb
constexpr UINT kVerbBuffer = 128;

ItemList Parse(IShellFolder& folder, HWND owner, const std::string& name) {
  std::wstring wide = AnsiToWide(name);
  if (wide.empty()) return nullptr;
  LPITEMIDLIST item = nullptr;
  ULONG eaten = 0;
  if (FAILED(folder.ParseDisplayName(owner, nullptr, wide.data(), &eaten, &item, nullptr)))
    return nullptr;
  return ItemList(item);
}

ShellFolder Bind(IShellFolder& desktop, LPCITEMIDLIST item) {
  void* out = nullptr;
  if (!item || FAILED(desktop.BindToObject(item, nullptr, IID_IShellFolder, &out)) || !out)
    return nullptr;
  return ShellFolder(static_cast<IShellFolder*>(out));
}

ShellFolder FolderAt(IShellFolder& desktop, HWND owner, const std::string& path) {
  ItemList item = Parse(desktop, owner, path);
  return item ? Bind(desktop, item.get()) : nullptr;
}

// My Computer, where the drives are items.
ShellFolder Drives(IShellFolder& desktop, HWND owner) {
  using Fn = HRESULT(WINAPI*)(HWND, int, LPITEMIDLIST*);
  static const Fn fn =
      reinterpret_cast<Fn>(lazy::Proc("shell32.dll", "SHGetSpecialFolderLocation"));
  LPITEMIDLIST raw = nullptr;
  if (!fn || FAILED(fn(owner, CSIDL_DRIVES, &raw))) return nullptr;
  ItemList item(raw);
  return Bind(desktop, item.get());
}

ComPtr<IContextMenu> ContextMenuOf(const table::Sorm& t, HWND owner, bool ofFolderItself) {
  ComPtr<IUnknown> object = GetShellUIObject(t, owner, IID_IContextMenu, ofFolderItself);
  return ComPtr<IContextMenu>(static_cast<IContextMenu*>(object.release()));
}

// The menu's command at offset (its number minus 1), with the owner window and a normal show
// state.
void InvokeOffset(IContextMenu& menu, HWND owner, int offset) {
  CMINVOKECOMMANDINFO info{};
  info.cbSize = sizeof(info);
  info.hwnd = owner;
  info.lpVerb = MAKEINTRESOURCEA(offset);
  info.nShow = SW_SHOWNORMAL;
  menu.InvokeCommand(&info);
}

// An entry selected for the length of the menu, unselected again unless the whole selection
// was cleared meanwhile. The menu's command may have rescanned the table: the entry is found
// again by its index and name, never through the old pointer.
class TemporarySelection {
 public:
  TemporarySelection(table::Sorm& t, table::PaneSurface* surface) : t_(t), surface_(surface) {}
  ~TemporarySelection() {
    if (!made_) return;
    table::BINFO* again = t_.EntryAt(index_);
    if (again && again->Data()->name == name_) table::Deselect(t_, again, surface_);
  }
  TemporarySelection(const TemporarySelection&) = delete;
  TemporarySelection& operator=(const TemporarySelection&) = delete;

  void Select(table::BINFO* entry) {
    made_ = table::Select(t_, entry, surface_);
    index_ = entry->index;
    name_ = entry->Data()->name;
  }
  void Forget() { made_ = false; }

 private:
  table::Sorm& t_;
  table::PaneSurface* surface_;
  bool made_ = false;
  int32_t index_ = 0;
  std::string name_;
};

std::string CaptionOf(HMENU menu, int command) {
  char text[kCaptionBuffer] = {};
  if (!menu || ::GetMenuStringA(menu, command, text, sizeof(text), MF_BYCOMMAND) <= 0)
    return std::string();
  return text;
}

void AppendItems(HMENU to, std::span<const ViewMenuItem> items, HMENU captions,
                 const ShellMenuWindow& w) {
  for (const ViewMenuItem& i : items) {
    const std::string caption = CaptionOf(captions, i.mainCommand);
    const bool enabled = !w.commandEnabled || w.commandEnabled(i.mainCommand);
    ::AppendMenuA(to, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), i.number, caption.c_str());
  }
}

// A separator, "表示(&V)" with the view modes, a separator, "表示順(&S)" with the sort orders
// (the current one checked), a separator, the colours and the font.
void AppendViewCommands(HMENU popup, int16_t sortId, const ShellMenuWindow& w) {
  OwnedMenu loaded;
  HMENU captions = w.mainMenu;
  if (!captions) {
    loaded.reset(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_MAIN)));
    captions = loaded.get();
  }
  OwnedMenu view(::CreatePopupMenu());
  OwnedMenu sort(::CreatePopupMenu());
  if (!view || !sort) return;
  AppendItems(view.get(), ViewModeItems(), captions, w);
  AppendItems(sort.get(), SortItems(), captions, w);
  for (const ViewMenuItem& i : SortItems())
    if (i.mainCommand == sortId) ::CheckMenuItem(sort.get(), i.number, MF_BYCOMMAND | MF_CHECKED);
  ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  // The popup owns a submenu once appended.
  ::AppendMenuA(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(view.release()), "表示(&V)");
  ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(sort.release()), "表示順(&S)");
  ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  AppendItems(popup, AppearanceItems(), captions, w);
}

// The shell's "Send To" item goes, and the separator that follows it.
void RemoveSendTo(HMENU popup) {
  const int n = ::GetMenuItemCount(popup);
  for (int i = 0; i < n; ++i) {
    char text[kCaptionBuffer] = {};
    if (::GetMenuStringA(popup, i, text, sizeof(text), MF_BYPOSITION) <= 0) continue;
    if (!IsSendToCaption(text)) continue;
    ::DeleteMenu(popup, i, MF_BYPOSITION);
    if (::GetMenuState(popup, i, MF_BYPOSITION) & MF_SEPARATOR)
      ::DeleteMenu(popup, i, MF_BYPOSITION);
    return;
  }
}

void DiscardMouseMessages(HWND window) {
  MSG m;
  while (::PeekMessageA(&m, window, WM_MOUSEMOVE, WM_MBUTTONDBLCLK, PM_REMOVE)) {
  }
}

}  // namespace

namespace {

// The object of the named items of one folder.
ComPtr<IUnknown> ObjectOfItems(IShellFolder& parent, HWND owner,
                               const std::vector<std::string>& names, REFIID iid) {
  std::vector<ItemList> items;
  std::vector<LPCITEMIDLIST> array;
  for (const std::string& name : names) {
    ItemList item = Parse(parent, owner, name);
    if (!item) return nullptr;
    array.push_back(item.get());
    items.push_back(std::move(item));
  }
  if (array.empty()) return nullptr;
  void* out = nullptr;
  if (FAILED(parent.GetUIObjectOf(owner, static_cast<UINT>(array.size()), array.data(), iid,
                                  nullptr, &out)) ||
      !out)
    return nullptr;
  return ComPtr<IUnknown>(static_cast<IUnknown*>(out));
}

ShellFolder Desktop() {
  IShellFolder* raw = nullptr;
  if (FAILED(lazy::SHGetDesktopFolder(&raw)) || !raw) return nullptr;
  return ShellFolder(raw);
}

}  // namespace

ComPtr<IUnknown> GetShellUIObject(const table::Sorm& t, HWND owner, REFIID iid,
                                  bool ofFolderItself) {
  ShellFolder desktop = Desktop();
  if (!desktop) return nullptr;
  ShellFolder parent;
  std::vector<std::string> names;
  if (!ofFolderItself && t.selectedCount() > 0) {
    std::optional<std::vector<std::string>> selected = SelectedItemNames(t);
    if (!selected) return nullptr;
    names = std::move(*selected);
    parent = FolderAt(*desktop, owner, t.path());
  } else {
    const FolderAsItem folder = FolderAsItemOf(t.path());
    parent = folder.inMyComputer ? Drives(*desktop, owner)
                                 : FolderAt(*desktop, owner, folder.parent);
    names.push_back(folder.item.empty() ? t.path() : folder.item);
  }
  if (!parent) return nullptr;
  return ObjectOfItems(*parent, owner, names, iid);
}

ComPtr<IUnknown> GetShellItemsObject(const std::string& directory,
                                     const std::vector<std::string>& names, HWND owner,
                                     REFIID iid) {
  if (names.empty()) return nullptr;
  ShellFolder desktop = Desktop();
  if (!desktop) return nullptr;
  ShellFolder parent = FolderAt(*desktop, owner, directory);
  return parent ? ObjectOfItems(*parent, owner, names, iid) : nullptr;
}

void ShowShellContextMenu(table::Sorm& t, const ShellMenuWindow& w, POINT screenPoint) {
  ComForCall com;
  POINT client = screenPoint;
  ::ScreenToClient(w.pane, &client);
  table::BINFO* hit = t.HitTest(client.x, client.y);
  const bool onEntry = hit != nullptr;
  int chosen = 0;
  {
    TemporarySelection temporary(t, w.surface);
    if (onEntry && t.selectedCount() == 0) {
      // The entry under the pointer: a press with Shift leaves the cursor on another entry,
      // which the menu must not act on.
      if (!t.IsEntry(hit) || !hit->Data() || !table::IsSelectable(*hit->Data())) return;
      temporary.Select(hit);
    }
    ComPtr<IContextMenu> menu = ContextMenuOf(t, w.mainWindow, false);
    if (!menu) return;
    OwnedMenu popup(::CreatePopupMenu());
    if (!popup || FAILED(menu->QueryContextMenu(popup.get(), 0, kFirstShellCommand,
                                                kLastShellCommand, CMF_NORMAL)))
      return;
    if (!onEntry) AppendViewCommands(popup.get(), t.sortId(), w);
    RemoveSendTo(popup.get());
    chosen = static_cast<int>(::TrackPopupMenu(popup.get(), TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                               screenPoint.x, screenPoint.y, 0, w.pane,
                                               nullptr));
    if (chosen > 0) {
      if (chosen < kFirstViewCommand) {
        InvokeOffset(*menu, w.pane, chosen - 1);
      } else if (const int command = MainCommandOfViewCommand(chosen); command && w.runCommand) {
        w.runCommand(command);
      }
      ::SetForegroundWindow(w.mainWindow);
      ::BringWindowToTop(w.pane);
      DiscardMouseMessages(w.pane);
    }
    if (ClearsSelectionAfter(chosen)) temporary.Forget();
  }  // the menu is destroyed, the object released, a temporary selection undone
  if (ClearsSelectionAfter(chosen)) table::DeselectAll(t, w.surface);
}

bool InvokeShellVerb(table::Sorm& t, HWND owner, table::PaneSurface* surface, const char* verb) {
  ComForCall com;
  ComPtr<IContextMenu> menu;
  if (VerbActsOnFolder(verb)) {
    menu = ContextMenuOf(t, owner, true);
  } else if (t.selectedCount() == 0) {
    // The cursor entry, selected only while the object is made; never "." or "..".
    table::BINFO* cursor = t.cursor();
    if (!t.HasCursor() || cursor->Data()->IsParentEntry() || cursor->Data()->name == ".")
      return false;
    const bool selected = table::Select(t, cursor, surface);
    menu = ContextMenuOf(t, owner, false);
    if (selected) table::Deselect(t, cursor, surface);
  } else {
    menu = ContextMenuOf(t, owner, false);
  }
  if (!menu) return false;
  OwnedMenu popup(::CreatePopupMenu());
  if (!popup || FAILED(menu->QueryContextMenu(popup.get(), 0, kFirstShellCommand,
                                              kLastShellCommand, CMF_NORMAL)))
    return false;
  for (int offset = 0; offset < kVerbOffsets; ++offset) {
    char name[kVerbBuffer] = {};
    if (FAILED(menu->GetCommandString(offset, GCS_VERBA, nullptr, name, sizeof(name)))) continue;
    name[sizeof(name) - 1] = '\0';
    if (os::Sys().CompareNoCase(name, verb) != 0) continue;
    InvokeOffset(*menu, owner, offset);
    return true;
  }
  return false;
}

}  // namespace exec
