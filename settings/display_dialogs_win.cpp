#include "settings/display_dialogs_win.h"

#include <commdlg.h>

#include "exec/ask_input_win.h"
#include "fw/lazy_api.h"
#include "resources/settings_dialog_ids.h"
#include "table/sorm.h"

namespace {

constexpr int kColourButtons[settings::kColourSlots] = {
    IDC_COLOUR_TEXT,       IDC_COLOUR_HIDDEN,   IDC_COLOUR_READONLY, IDC_COLOUR_SYSTEM,
    IDC_COLOUR_BACKGROUND, IDC_COLOUR_SELECTED, IDC_COLOUR_FOCUS,
};

struct ViewCheck {
  int control;
  uint16_t bit;
};
constexpr ViewCheck kViewChecks[] = {
    {IDC_VIEW_DATE, table::kShowDate},
    {IDC_VIEW_TIME, table::kShowTime},
    {IDC_VIEW_SIZE, table::kShowSize},
    {IDC_VIEW_ATTRIBUTES, table::kShowAttributes},
    {IDC_VIEW_SHOW_HIDDEN, table::kShowHidden},
};

}  // namespace

bool ChooseColour(HWND owner, uint32_t& colour, settings::CustomColours& custom) {
  using ChooseColorFn = BOOL(WINAPI*)(LPCHOOSECOLORA);
  auto choose = reinterpret_cast<ChooseColorFn>(
      reinterpret_cast<void*>(lazy::Proc("comdlg32.dll", "ChooseColorA")));
  if (!choose) return false;
  COLORREF customRefs[16];
  for (std::size_t i = 0; i < custom.size(); ++i) customRefs[i] = custom[i];
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof(cc);
  cc.hwndOwner = owner;
  cc.rgbResult = colour;
  cc.lpCustColors = customRefs;
  cc.Flags = CC_RGBINIT;
  const bool ok = choose(&cc) != FALSE;
  for (std::size_t i = 0; i < custom.size(); ++i) custom[i] = customRefs[i];
  if (ok) colour = cc.rgbResult;
  return ok;
}

bool ChooseFontFor(HWND owner, LOGFONTA& font) {
  using ChooseFontFn = BOOL(WINAPI*)(LPCHOOSEFONTA);
  auto choose = reinterpret_cast<ChooseFontFn>(
      reinterpret_cast<void*>(lazy::Proc("comdlg32.dll", "ChooseFontA")));
  if (!choose) return false;
  LOGFONTA chosen = font;
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof(cf);
  cf.hwndOwner = owner;
  cf.lpLogFont = &chosen;
  cf.Flags = CF_SCREENFONTS | CF_FORCEFONTEXIST | CF_INITTOLOGFONTSTRUCT;
  cf.nFontType = SCREEN_FONTTYPE;
  if (!choose(&cf)) return false;
  font = chosen;
  return true;
}

ColourDialog::ColourDialog() : fw::Dialog(IDD_COLOURS) {}

bool ColourDialog::OnCommand(int id, int notifyCode, HWND) {
  if (notifyCode != BN_CLICKED) return false;
  for (int i = 0; i < settings::kColourSlots; ++i) {
    if (kColourButtons[i] != id) continue;
    frame::Rgb& slot = slots[static_cast<std::size_t>(i)];
    uint32_t colour = RGB(slot.r, slot.g, slot.b);
    if (ChooseColour(Handle(), colour, custom))
      slot = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    return true;
  }
  return false;
}

ViewDataDialog::ViewDataDialog() : fw::Dialog(IDD_VIEW_DATA) {}

bool ViewDataDialog::OnInit() {
  fw::Dialog::OnInit();
  for (const ViewCheck& c : kViewChecks)
    ::CheckDlgButton(Handle(), c.control, (bits & c.bit) ? BST_CHECKED : BST_UNCHECKED);
  return true;
}

bool ViewDataDialog::OnCommand(int id, int notifyCode, HWND) {
  if (id != IDC_VIEW_HIDDEN_TYPES || notifyCode != BN_CLICKED) return false;
  std::string answer = hiddenTypes;
  if (exec::AskInput(Handle(), exec::InputQuestion::kHiddenTypes, answer)) hiddenTypes = answer;
  return true;
}

void ViewDataDialog::OnOK() {
  for (const ViewCheck& c : kViewChecks) {
    if (::IsDlgButtonChecked(Handle(), c.control) == BST_CHECKED)
      bits = static_cast<uint16_t>(bits | c.bit);
    else
      bits = static_cast<uint16_t>(bits & ~c.bit);
  }
  Close(IDOK);
}

IconSpacingDialog::IconSpacingDialog() : fw::Dialog(IDD_ICON_SPACING) {}

bool IconSpacingDialog::OnInit() {
  fw::Dialog::OnInit();
  SetItemText(IDC_SPACING_X, settings::FormatSpacing(x).c_str());
  SetItemText(IDC_SPACING_Y, settings::FormatSpacing(y).c_str());
  ::CheckDlgButton(Handle(), IDC_SPACING_ADJUST, autoAdjust ? BST_CHECKED : BST_UNCHECKED);
  return true;
}

void IconSpacingDialog::OnOK() {
  struct Field {
    int control;
    const char* message;
  } fields[] = {{IDC_SPACING_X, "X座標の間隔が不正です"}, {IDC_SPACING_Y, "Y座標の間隔が不正です"}};
  long read[2] = {};
  for (int i = 0; i < 2; ++i) {
    read[i] = settings::ParseSpacing(ItemText(fields[i].control));
    if (read[i] > 0) continue;
    ::MessageBoxA(Handle(), fields[i].message, "入力エラー", MB_OK | MB_ICONEXCLAMATION);
    FocusItem(fields[i].control);
    return;  // the dialog stays open
  }
  x = read[0];
  y = read[1];
  autoAdjust = ::IsDlgButtonChecked(Handle(), IDC_SPACING_ADJUST) == BST_CHECKED;
  Close(IDOK);
}
