#include "settings/toolbar_dialogs_win.h"

#include "settings/toolbar_keywords.h"
#include "config/config_file.h"
#include "config/config_lock.h"
#include "resources/settings_dialog_ids.h"

namespace {

constexpr int kItemHeight = 22;
constexpr int kPicture = 20;      // the pictures are 20 x 20
constexpr int kFrame = 21;        // offset of the right and bottom edge lines
constexpr int kCaptionLeft = 26;
constexpr int kCaptionTop = 4;
constexpr COLORREF kEdgeGrey = RGB(92, 92, 92);

struct EdgeRadio {
  settings::ToolBarEdge edge;
  int control;
};
constexpr EdgeRadio kEdgeRadios[] = {
    {settings::ToolBarEdge::kTop, IDC_BARS_TOP},
    {settings::ToolBarEdge::kBottom, IDC_BARS_BOTTOM},
    {settings::ToolBarEdge::kLeft, IDC_BARS_LEFT},
    {settings::ToolBarEdge::kRight, IDC_BARS_RIGHT},
};

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  ::MoveToEx(dc, x1, y1, nullptr);
  ::LineTo(dc, x2, y2);
}

}  // namespace

ToolbarEditDialog::ToolbarEditDialog() : fw::Dialog(IDD_TOOLBAR_EDIT) {}

bool ToolbarEditDialog::OnInit() {
  fw::Dialog::OnInit();
  HINSTANCE inst = ::GetModuleHandleA(nullptr);
  for (const settings::ToolbarChoice& c : settings::ToolbarChoices())
    pictures_.emplace_back(c.command ? ::LoadBitmapA(inst, MAKEINTRESOURCEA(c.command)) : nullptr);
  model_ = std::make_unique<settings::ToolbarEditorModel>(config::ReadConfigString(
      "BarSettings", "ToolBar", "", settings::kToolbarValueBuffer));
  // WM_MEASUREITEM comes before the dialog knows its object: the height is set here.
  for (int list : {IDC_LIST_908, IDC_TOOLBAR_LIST})
    ::SendMessageA(Item(list), LB_SETITEMHEIGHT, 0, kItemHeight);
  Fill(-1, -1);
  return true;
}

void ToolbarEditDialog::Fill(int availableSel, int toolbarSel) const {
  const std::vector<settings::ToolbarChoice>& choices = settings::ToolbarChoices();
  struct ListFill {
    int control;
    std::vector<int> items;
    int selected;
  } lists[] = {{IDC_LIST_908, model_->Available(), availableSel},
               {IDC_TOOLBAR_LIST, model_->Toolbar(), toolbarSel}};
  for (const ListFill& l : lists) {
    HWND list = Item(l.control);
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (int choice : l.items) {
      const LRESULT at = ::SendMessageA(
          list, LB_ADDSTRING, 0,
          reinterpret_cast<LPARAM>(choices[static_cast<std::size_t>(choice)].caption));
      ::SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), choice);
    }
    ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(l.selected), 0);
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
  }
}

int ToolbarEditDialog::Sel(int list) const {
  const LRESULT i = ::SendMessageA(Item(list), LB_GETCURSEL, 0, 0);
  return i == LB_ERR ? -1 : static_cast<int>(i);
}

bool ToolbarEditDialog::OnCommand(int id, int notifyCode, HWND) {
  if (notifyCode != BN_CLICKED) return false;
  const settings::ToolbarEditorModel::Selection sel{Sel(IDC_LIST_908), Sel(IDC_TOOLBAR_LIST)};
  switch (id) {
    case IDC_LIST_ADD: {
      if (sel.available < 0) return true;
      const settings::ToolbarEditorModel::Selection now = model_->Add(sel);
      Fill(now.available, now.toolbar);
      return true;
    }
    case IDC_LIST_REMOVE: {
      if (sel.toolbar < 0) return true;
      const settings::ToolbarEditorModel::Selection now = model_->Remove(sel);
      Fill(now.available, now.toolbar);
      return true;
    }
    case IDC_LIST_904:
      Fill(sel.available, model_->MoveUp(sel.toolbar));
      return true;
    case IDC_LIST_905:
      Fill(sel.available, model_->MoveDown(sel.toolbar));
      return true;
    default:
      return false;
  }
}

bool ToolbarEditDialog::OnMessage(UINT msg, WPARAM, LPARAM lp, INT_PTR* result) {
  if (msg == WM_MEASUREITEM) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = kItemHeight;
    *result = TRUE;
    return true;
  }
  if (msg == WM_DRAWITEM) {
    Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    *result = TRUE;
    return true;
  }
  return false;
}

void ToolbarEditDialog::Draw(const DRAWITEMSTRUCT& d) const {
  if (d.itemID == static_cast<UINT>(-1)) {
    if (d.itemState & ODS_FOCUS) ::DrawFocusRect(d.hDC, &d.rcItem);
    return;
  }
  const bool selected = (d.itemState & ODS_SELECTED) != 0;
  RECT fill = d.rcItem;
  ++fill.right;
  ++fill.bottom;
  ::FillRect(d.hDC, &fill, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const std::size_t choice = static_cast<std::size_t>(d.itemData);
  const std::vector<settings::ToolbarChoice>& choices = settings::ToolbarChoices();
  if (choice < choices.size()) {
    ::SetBkMode(d.hDC, TRANSPARENT);
    ::SetTextColor(d.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const char* caption = choices[choice].caption;
    ::TextOutA(d.hDC, d.rcItem.left + kCaptionLeft, d.rcItem.top + kCaptionTop, caption,
               static_cast<int>(std::char_traits<char>::length(caption)));
  }
  if (choice < pictures_.size() && pictures_[choice]) {
    const int x = d.rcItem.left, y = d.rcItem.top;
    {
      frame::gdi::MemoryDc memory(d.hDC);
      frame::gdi::Selection picture(memory.Get(), pictures_[choice].Get());
      ::BitBlt(d.hDC, x + 1, y + 1, kPicture, kPicture, memory.Get(), 0, 0, SRCCOPY);
    }
    // A raised frame: white along the left and top, dark grey along the right and bottom.
    frame::gdi::Pen white(::CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    frame::gdi::Pen grey(::CreatePen(PS_SOLID, 1, kEdgeGrey));
    {
      frame::gdi::Selection pen(d.hDC, white.Get());
      Line(d.hDC, x, y + kFrame, x, y - 1);
      Line(d.hDC, x, y, x + kFrame + 1, y);
    }
    frame::gdi::Selection pen(d.hDC, grey.Get());
    Line(d.hDC, x + kFrame, y + kFrame, x + kFrame, y);
    Line(d.hDC, x + 1, y + kFrame, x + kFrame + 1, y + kFrame);
  }
  if (d.itemState & ODS_FOCUS) ::DrawFocusRect(d.hDC, &d.rcItem);
}

void ToolbarEditDialog::OnOK() {
  config::ConfigLock lock = config::AcquireConfigLock();
  if (!lock) {
    ::MessageBoxA(Handle(), "Lock error", "Error", MB_OK);
    return;
  }
  written = config::WriteConfigString("BarSettings", "ToolBar", model_->Compose().c_str());
  Close(IDOK);
}

BarsDialog::BarsDialog() : fw::Dialog(IDD_BARS) {}

bool BarsDialog::OnInit() {
  fw::Dialog::OnInit();
  ::CheckDlgButton(Handle(), IDC_BARS_TOOLBAR, toolBar ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(Handle(), IDC_BARS_STATUS, statusBar ? BST_CHECKED : BST_UNCHECKED);
  for (const EdgeRadio& r : kEdgeRadios)
    if (r.edge == edge) ::CheckRadioButton(Handle(), IDC_BARS_BOTTOM, IDC_BARS_TOP, r.control);
  return true;
}

void BarsDialog::OnOK() {
  toolBar = ::IsDlgButtonChecked(Handle(), IDC_BARS_TOOLBAR) == BST_CHECKED;
  statusBar = ::IsDlgButtonChecked(Handle(), IDC_BARS_STATUS) == BST_CHECKED;
  for (const EdgeRadio& r : kEdgeRadios)
    if (::IsDlgButtonChecked(Handle(), r.control) == BST_CHECKED) edge = r.edge;
  Close(IDOK);
}
