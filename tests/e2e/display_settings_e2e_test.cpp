// The View menu's display settings driven through their dialogs: icon spacing with its two
// refusals, view data with the hidden types, the colours with the system chooser and the custom
// colour file, and the font chooser. The window's saved section is checked after closing it.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/dialog_driving.h"
#include "tests/e2e/e2e_util.h"

namespace {

using e2e::Click;
using e2e::FindDialogWith;
using e2e::Gone;
using e2e::ItemText;
using e2e::ReadAll;
using e2e::Type;

constexpr int kViewData = 126, kSpacing = 106, kColours = 102, kFont = 130;

class DisplaySettingsTest : public e2e::DialogTest {
 protected:
  // Closes the window and waits for its state to be saved.
  void CloseAndSave(HWND w) {
    ::PostMessageA(w, WM_CLOSE, 0, 0);
    ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().empty(); }));
  }
  // The message box a dialog shows (caption given), its text, answered with OK.
  std::string AnswerMessage(const char* caption) {
    HWND box = e2e::FindDialog(caption, 10000);
    if (!box) return "<none>";
    const std::string text = ItemText(box, 0xFFFF);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    Gone(box);
    return text;
  }
  std::string CustomColourBytes() { return ReadAll(box_.Dir() + "sormcol.dat"); }
};

TEST_F(DisplaySettingsTest, IconSpacingRefusesNonsenseAndRaisesSmallValuesTo40) {
  HWND w = Start(1, 40, 30);
  ASSERT_NE(w, nullptr);
  ::PostMessageA(w, WM_COMMAND, kSpacing, 0);
  HWND dlg = FindDialogWith("アイコン形式表示の設定", 101);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(ItemText(dlg, 101), " 90");
  EXPECT_EQ(ItemText(dlg, 102), " 80");
  EXPECT_EQ(::IsDlgButtonChecked(dlg, 103), BST_CHECKED);
  e2e::SaveScreenshot("display_icon_spacing");
  // The X field has the focus with its text selected: typing replaces it.
  ASSERT_TRUE(e2e::WaitFor([&] {
    ::SetForegroundWindow(dlg);
    return ::GetForegroundWindow() == dlg;
  }, 5000));
  Type("abc");
  ASSERT_TRUE(e2e::WaitFor([&] { return ItemText(dlg, 101) == "abc"; }, 5000)) << ItemText(dlg, 101);
  Click(dlg, IDOK);
  EXPECT_EQ(AnswerMessage("入力エラー"), "X座標の間隔が不正です");
  ASSERT_TRUE(::IsWindowVisible(dlg)) << "the dialog stays open";
  ::SetDlgItemTextA(dlg, 101, "25");
  ::SetDlgItemTextA(dlg, 102, "-4");
  Click(dlg, IDOK);
  EXPECT_EQ(AnswerMessage("入力エラー"), "Y座標の間隔が不正です");
  ::SetDlgItemTextA(dlg, 102, "120");
  Click(dlg, 103);  // a click on the check box clears it
  ::CheckDlgButton(dlg, 103, BST_UNCHECKED);
  Click(dlg, IDOK);
  ASSERT_TRUE(Gone(dlg));
  CloseAndSave(w);
  EXPECT_EQ(box_.Read("INST1", "icon_x"), "40");
  EXPECT_EQ(box_.Read("INST1", "icon_y"), "120");
  EXPECT_EQ(box_.Read("INST1", "auto_adjust"), "0");
}

TEST_F(DisplaySettingsTest, ViewDataHidesTypesAndCancelChangesNothing) {
  box_.Write("INST1", "InvisibleExt", "\" \"");  // no hidden types
  HWND w = Start(1, 40, 30);
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(CaptionStartsWith(w, data_ + "\\*.*  4 file(s).")) << e2e::Caption(w);
  for (bool ok : {false, true}) {
    ::PostMessageA(w, WM_COMMAND, kViewData, 0);
    HWND dlg = FindDialogWith("表示情報の設定", 30068);
    ASSERT_NE(dlg, nullptr);
    // One command at a time: the cancelled round has ended and changed nothing.
    EXPECT_TRUE(CaptionStartsWith(w, data_ + "\\*.*  4 file(s).")) << e2e::Caption(w);
    EXPECT_EQ(ItemText(dlg, 30060), "非表示ﾌｧｲﾙﾀｲﾌﾟの指定(&F)");
    Click(dlg, 30060);
    HWND ask = FindDialogWith("非表示ﾌｧｲﾙﾀｲﾌﾟ指定", 31051);
    ASSERT_NE(ask, nullptr);
    ::SetDlgItemTextA(ask, 31051, "TXT doc");
    Click(ask, IDOK);
    ASSERT_TRUE(Gone(ask));
    ::CheckDlgButton(dlg, 30059, BST_CHECKED);  // the date column
    if (ok) e2e::SaveScreenshot("display_view_data");
    Click(dlg, ok ? IDOK : IDCANCEL);
    ASSERT_TRUE(Gone(dlg));
  }
  // a.txt and b.doc are hidden now.
  EXPECT_TRUE(CaptionStartsWith(w, data_ + "\\*.*  2 file(s).")) << e2e::Caption(w);
  CloseAndSave(w);
  EXPECT_EQ(box_.Read("INST1", "InvisibleExt"), "TXT doc");
  EXPECT_EQ(box_.Read("INST1", "vinfo"), "1");
}

TEST_F(DisplaySettingsTest, ColoursAndCustomColoursAreKeptOnOkOnly) {
  HWND w = Start(1, 40, 30);
  ASSERT_NE(w, nullptr);
  std::string afterOk;
  for (bool ok : {true, false}) {
    ::PostMessageA(w, WM_COMMAND, kColours, 0);
    HWND dlg = FindDialogWith("配色", 108);
    ASSERT_NE(dlg, nullptr);
    if (ok) e2e::SaveScreenshot("display_colours");
    Click(dlg, 105);  // background
    HWND chooser = FindDialogWith(nullptr, 706, 10000);  // the red field
    ASSERT_NE(chooser, nullptr);
    // Red, green and blue typed into the chooser's fields, then added to the custom colours.
    const int value = ok ? 10 : 99;
    for (int field : {706, 707, 708})
      ::SetDlgItemTextA(chooser, field, std::to_string(value + field - 706).c_str());
    Click(chooser, 712);
    if (ok) e2e::SaveScreenshot("display_colour_chooser");
    Click(chooser, IDOK);
    ASSERT_TRUE(Gone(chooser));
    Click(dlg, ok ? IDOK : IDCANCEL);
    ASSERT_TRUE(Gone(dlg));
    if (ok) {
      // The program writes the file after its dialog has gone.
      e2e::WaitFor([&] { return CustomColourBytes().size() == 64u; });
      afterOk = CustomColourBytes();
      ASSERT_EQ(afterOk.size(), 64u);
      EXPECT_EQ(afterOk.substr(0, 4), std::string("\x0a\x0b\x0c\x00", 4));
    }
  }
  EXPECT_EQ(CustomColourBytes(), afterOk) << "Cancel leaves the file as it was";
  CloseAndSave(w);
  EXPECT_EQ(box_.Read("INST1", "bkcol_r"), "10");
  EXPECT_EQ(box_.Read("INST1", "bkcol_g"), "11");
  EXPECT_EQ(box_.Read("INST1", "bkcol_b"), "12");
}

TEST_F(DisplaySettingsTest, FontChooserSetsThePaneFont) {
  HWND w = Start(1, 40, 30);
  ASSERT_NE(w, nullptr);
  ::PostMessageA(w, WM_COMMAND, kFont, 0);
  HWND chooser = FindDialogWith(nullptr, 1138, 10000);  // the size list
  ASSERT_NE(chooser, nullptr);
  // A larger size from the size list (the list starts at the smallest).
  HWND sizes = ::GetDlgItem(chooser, 1138);
  const LRESULT n = ::SendMessageA(sizes, CB_GETCOUNT, 0, 0);
  ASSERT_GT(n, 2);
  ::SendMessageA(sizes, CB_SETCURSEL, static_cast<WPARAM>(n / 2), 0);
  ::SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(1138, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(sizes));
  e2e::SaveScreenshot("display_font_chooser");
  Click(chooser, IDOK);
  ASSERT_TRUE(Gone(chooser));
  DWORD_PTR unused = 0;  // the window has handled what came before: it has repainted
  ::SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &unused);
  e2e::SaveScreenshot("display_font_applied");
  CloseAndSave(w);
  const std::string font = box_.Read("INST1", "fontdata");
  ASSERT_NE(font, "<missing>");
  EXPECT_NE(font.rfind("-12;", 0), 0u) << "the height changed: " << font;
}

}  // namespace
