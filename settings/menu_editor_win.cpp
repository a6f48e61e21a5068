#include "settings/menu_editor_win.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "exec/input_dialogs_win.h"
#include "exec/input_text.h"
#include "resources/input_dialog_ids.h"
#include "resources/settings_dialog_ids.h"

MenuListDialog::MenuListDialog(bool run)
    : fw::Dialog(run ? IDD_RUN_MENU_EDIT : IDD_MASK_MENU_EDIT), run(run) {}

void MenuListDialog::Load() {
  base = settings::ReadMenuSection(run ? settings::kRunSection : settings::kMaskSection);
  const std::size_t shown = std::min<std::size_t>(base.size(), settings::kEditorItemsMax);
  items.assign(base.begin(), base.begin() + static_cast<std::ptrdiff_t>(shown));
}

bool MenuListDialog::OnInit() {
  fw::Dialog::OnInit();
  Fill();
  if (!items.empty()) Select(0);
  return true;
}

void MenuListDialog::Fill() const {
  HWND list = Item(IDC_LIST_908);
  ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const settings::ProfileInfo& p : items)
    ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p.title.c_str()));
}

int MenuListDialog::Selected() const {
  const LRESULT i = ::SendMessageA(Item(IDC_LIST_908), LB_GETCURSEL, 0, 0);
  return (i == LB_ERR || i < 0 || static_cast<std::size_t>(i) >= items.size()) ? -1
                                                                               : static_cast<int>(i);
}

void MenuListDialog::Select(int index) const {
  ::SendMessageA(Item(IDC_LIST_908), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool MenuListDialog::AskEntry(settings::ProfileInfo& item) {
  for (;;) {
    std::unique_ptr<KEYIN_D> entry =
        run ? std::make_unique<KEYIN_D2>(Handle(), IDD_KEYIN_RUN)
            : std::make_unique<KEYIN_D>(Handle(), IDD_KEYIN_MASK);
    entry->SetTexts(item.title.c_str(), item.value.c_str());
    if (entry->Execute() != IDOK) return false;
    // A value longer than the dialog carries comes back cut; unchanged, it stays whole.
    if (entry->value != exec::CutToBytes(item.value, KEYIN_D::kTextMax - 2))
      item.value = entry->value;
    item.title = entry->title;
    const char* problem = settings::MenuTitleProblem(item.title);
    if (!problem) return true;
    ::MessageBoxA(Handle(), problem, "入力エラー", MB_OK | MB_ICONEXCLAMATION);
  }
}

void MenuListDialog::New() {
  settings::ProfileInfo item;
  if (!AskEntry(item)) return;
  items.push_back(item);
  ::SendMessageA(Item(IDC_LIST_908), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.title.c_str()));
  Select(static_cast<int>(items.size()) - 1);
}

void MenuListDialog::Change() {
  const int i = Selected();
  if (i < 0) return;
  settings::ProfileInfo item = items[static_cast<std::size_t>(i)];
  if (!AskEntry(item)) return;
  items[static_cast<std::size_t>(i)] = item;
  HWND list = Item(IDC_LIST_908);
  ::SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(i), 0);
  ::SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(item.title.c_str()));
  Select(i);
}

void MenuListDialog::Delete() {
  const int i = Selected();
  if (i < 0) return;
  items.erase(items.begin() + i);
  ::SendMessageA(Item(IDC_LIST_908), LB_DELETESTRING, static_cast<WPARAM>(i), 0);
  if (!items.empty()) Select(std::min(i, static_cast<int>(items.size()) - 1));
}

void MenuListDialog::Move(int by) {
  const int i = Selected();
  const int j = i + by;
  if (i < 0 || j < 0 || j >= static_cast<int>(items.size())) return;
  std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
  HWND list = Item(IDC_LIST_908);
  ::SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(i), 0);
  ::SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(j),
                 reinterpret_cast<LPARAM>(items[static_cast<std::size_t>(j)].title.c_str()));
  Select(j);
}

bool MenuListDialog::OnCommand(int id, int notifyCode, HWND) {
  if (id == IDC_LIST_908) {
    if (notifyCode == LBN_DBLCLK) Change();
    return true;
  }
  if (notifyCode != BN_CLICKED) return false;
  switch (id) {
    case IDC_LIST_ADD: New(); return true;
    case IDC_LIST_REMOVE: Change(); return true;
    case IDC_LIST_904: Delete(); return true;
    case IDC_LIST_905: Move(-1); return true;
    case IDC_LIST_DOWN: Move(1); return true;
    default: return false;
  }
}

void MenuListDialog::OnOK() {
  // The entries beyond those shown go back unchanged after the list.
  std::vector<settings::ProfileInfo> edited = items;
  if (base.size() > static_cast<std::size_t>(settings::kEditorItemsMax))
    edited.insert(edited.end(), base.begin() + settings::kEditorItemsMax, base.end());
  written = settings::RewriteMenuSection(run ? settings::kRunSection : settings::kMaskSection, base, edited);
  if (written == settings::SectionWrite::kLockError) {
    ::MessageBoxA(Handle(), "Lock error", "Error", MB_OK);
    return;  // the dialog stays open: OK may be tried again
  }
  if (written == settings::SectionWrite::kWriteError) {
    // The list stays in the dialog, so it is not lost with the file's copy.
    ::MessageBoxA(Handle(), "設定ファイルに書き込めません", "ｴﾗｰ処理", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  Close(IDOK);
}
