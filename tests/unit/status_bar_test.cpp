// The status bar with the system's own control: full-width hints of different lengths, one
// after the other as the menus show them, leave every heap sound and the bar showing the last.
#ifdef _WIN32
#include "fw/status_bar.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

bool AllHeapsValid() {
  std::vector<HANDLE> heaps(256);
  const DWORD n = ::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
  if (n == 0 || n > heaps.size()) return false;
  for (DWORD i = 0; i < n; ++i)
    if (!::HeapValidate(heaps[i], 0, nullptr)) return false;
  return true;
}

// The text the control shows, read with room to spare for any answer it may give.
std::string Shown(HWND bar, WPARAM part) {
  std::vector<char> buf(4096, '\0');
  ::SendMessageA(bar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(buf.data()));
  buf.back() = '\0';
  return buf.data();
}

struct Frame {
  HWND hwnd = nullptr;
  Frame() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    hwnd = ::CreateWindowExA(0, "STATIC", "frame", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                             nullptr, ::GetModuleHandleA(nullptr), nullptr);
  }
  ~Frame() {
    if (hwnd) ::DestroyWindow(hwnd);
  }
};

}  // namespace

TEST(StatusBarTest, FullWidthHintsOfEveryLengthLeaveTheHeapsSound) {
  Frame frame;
  ASSERT_NE(frame.hwnd, nullptr);
  fw::StatusBar bar;
  ASSERT_TRUE(bar.Create(frame.hwnd, nullptr));
  // Pairs where the next text has as many bytes as the last one has characters: a bar that
  // compared by the control's reported length read the longer text into the shorter buffer.
  const std::vector<std::string> hints = {
      "ファイルの名前・日付・属性の変更", "ファイルのコピー", "ファイルの移動",
      "ファイルの名前・日付・属性の変更", "0123456789abcdef", "ディレクトリの作成",
      "ファイルのコピー", "ファイルのコピー", "", "全て選択", "Selected 0 file(s) ( 0 bytes )."};
  // One message text (read back as part 0), the one field of a one-pane window, the second
  // of two.
  for (int fields : {0, 1, 2}) {
    bar.SetEqualFields(fields);
    const int part = fields == 2 ? 1 : 0;
    for (const std::string& hint : hints) {
      bar.SetText(part, hint.c_str());
      ASSERT_TRUE(AllHeapsValid()) << "after \"" << hint << "\" in " << fields << " fields";
      EXPECT_EQ(Shown(bar.BarHandle(), part), hint) << fields << " fields";
    }
  }
  // A text set again after the fields changed is shown again.
  bar.SetEqualFields(2);
  bar.SetText(0, "全て選択");
  EXPECT_EQ(Shown(bar.BarHandle(), 0), "全て選択");
}
#endif
