// Drag and drop driven like a person: drop blocks posted to a pane as another program posts
// them (well-formed and hostile), and real drags with the mouse and held keys (worked on the
// display itself) between panes and windows, with OLE and with the table's own drag loop,
// checked on the disk, in the configuration and by the questions asked. Also a measurement of
// a large drop against the copy command, run by the benchmark script only.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/e2e_util.h"

namespace {

using e2e::FindDialog;
using e2e::RemoveTree;
using e2e::Sandbox;

void WriteFile(const std::string& path, const std::string& text) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(h);
}

std::string ReadFile(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return "<missing>";
  std::string text;
  char buf[4096];
  for (size_t n; (n = std::fread(buf, 1, sizeof(buf), f)) > 0;) text.append(buf, n);
  std::fclose(f);
  return text;
}

bool Exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A drop block: the header (list offset, point, non-client flag, wide flag), then raw list bytes.
std::string Block(uint32_t offset, POINT at, const std::string& list) {
  std::string b(20, '\0');
  const uint32_t fields[5] = {offset, static_cast<uint32_t>(at.x), static_cast<uint32_t>(at.y),
                              0, 0};
  std::memcpy(b.data(), fields, sizeof(fields));
  return b + list;
}

// Posts a block to a window as another program does: in global memory the receiver frees.
void PostDrop(HWND window, const std::string& block) {
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, block.size());
  std::memcpy(::GlobalLock(h), block.data(), block.size());
  ::GlobalUnlock(h);
  ::PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(h), 0);
}

BOOL CALLBACK CollectPanes(HWND hwnd, LPARAM lp) {
  char cls[32] = "";
  ::GetClassNameA(hwnd, cls, sizeof(cls));
  if (std::strcmp(cls, "Sorumo32") == 0) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
  return TRUE;
}

std::vector<HWND> PanesOf(HWND frame) {
  std::vector<HWND> panes;
  ::EnumChildWindows(frame, CollectPanes, reinterpret_cast<LPARAM>(&panes));
  return panes;
}

// The text of a message box (its static text, id 0xFFFF).
std::string BoxText(HWND box) {
  char text[1024] = {};
  ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
  return text;
}

void Answer(HWND box, int id) {
  ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(box, id)));
  e2e::WaitFor([&] { return !::IsWindow(box) || !::IsWindowVisible(box); });
}

// ---- real input
//
// The pointer, the button and the modifier keys are worked on the display itself (the X
// server's test input), as a person's mouse and keyboard are. Input made with SendInput exists
// only inside Wine, and its X driver keeps bringing its own state back in line with the
// display's: a Shift held that way is let go again whenever the display reports the keyboard
// (KeymapNotify, which follows the pointer into a window: in a drag, at almost every move), and
// a window that reports the pointer entering it late puts it back where it entered. The helper
// is a program of the host; it has no process handle here, so each step is waited for as
// Windows sees it.

bool RunOnDisplay(const std::string& arguments) {
  std::string command = "/usr/bin/xdotool " + arguments;
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
    return false;
  if (pi.hThread) ::CloseHandle(pi.hThread);
  if (pi.hProcess) ::CloseHandle(pi.hProcess);
  return true;
}

bool Held(int vk) { return (::GetAsyncKeyState(vk) & 0x8000) != 0; }

// The pointer moved, and seen where it was put.
void MouseTo(POINT p) {
  auto there = [&] {
    POINT now{};
    ::GetCursorPos(&now);
    return now.x == p.x && now.y == p.y;
  };
  if (there()) return;
  ASSERT_TRUE(RunOnDisplay("mousemove " + std::to_string(p.x) + " " + std::to_string(p.y)));
  EXPECT_TRUE(e2e::WaitFor(there, 5000)) << "the pointer did not reach " << p.x << "," << p.y;
}

void Button(int vk, bool down) {
  const char* number = vk == VK_RBUTTON ? " 3" : " 1";
  ASSERT_TRUE(RunOnDisplay(std::string(down ? "mousedown" : "mouseup") + number));
  EXPECT_TRUE(e2e::WaitFor([&] { return Held(vk) == down; }, 5000))
      << "the button did not go " << (down ? "down" : "up");
}

void LeftButton(bool down) { Button(VK_LBUTTON, down); }

const char* DisplayKeyName(WORD vk) {
  switch (vk) {
    case VK_SHIFT: return "Shift_L";
    case VK_CONTROL: return "Control_L";
    default: return nullptr;
  }
}

// Presses (or lets go) keys; true once Windows sees all of them so.
bool DisplayKeys(const std::vector<WORD>& keys, bool down) {
  if (keys.empty()) return true;
  std::string arguments = down ? "keydown" : "keyup";
  for (WORD k : keys) {
    const char* name = DisplayKeyName(k);
    if (!name) return false;
    arguments += std::string(" ") + name;
  }
  if (!RunOnDisplay(arguments)) return false;
  return e2e::WaitFor([&] {
    for (WORD k : keys)
      if (Held(k) != down) return false;
    return true;
  }, 5000);
}

// Waits until the program has handled what was sent to it so far (its loops, the drag's
// included, answer sent messages).
void Sync(HWND window) {
  DWORD_PTR r = 0;
  ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &r);
}

POINT ScreenOf(HWND window, POINT client) {
  ::ClientToScreen(window, &client);
  return client;
}

// A screen point no window of the tests covers.
constexpr POINT kParking{1010, 750};

// Where the entry with this index (".." is 0) lies in a pane in icon view: two columns of 98
// pixels, rows of 80, the icon's middle at (36, 20) of the first (measured in the project's
// prefix for panes of this width).
POINT EntryPoint(int index) { return {36 + 98 * (index % 2), 20 + 80 * (index / 2)}; }

// Presses the left button at from, moves to to in steps and lets go there with keys held;
// the keys stay down (the drop's handler reads them; the caller lets them go). shot: a
// screenshot taken while the drag is on the way. started() tells when the program has taken
// the press as the start of a drag; when it does not within a few seconds (the desktop lost
// the press), the button is let go and the drag tried once more. False when it never started.
bool Drag(HWND sync, POINT from, POINT to, const std::vector<WORD>& keys,
          const std::function<bool()>& started, const char* shot = nullptr) {
  bool ok = false;
  HWND top = ::GetAncestor(sync, GA_ROOT);
  for (int attempt = 0; attempt < 3 && !ok; ++attempt) {
    // The press goes to the window in front: wait for it to be there.
    if (!e2e::WaitFor([&] { return ::GetForegroundWindow() == top; }, 3000))
      ::SetForegroundWindow(top);
    e2e::WaitFor([&] { return !started(); }, 3000);  // nothing left over from a drag before
    MouseTo(from);
    Sync(sync);
    LeftButton(true);
    Sync(sync);
    // The first step leaves the click square (a short drag goes all the way at once).
    const bool shortDrag = std::abs(to.x - from.x) < 40 && std::abs(to.y - from.y) < 40;
    MouseTo(shortDrag ? to : POINT{from.x + (to.x - from.x) / 4, from.y + (to.y - from.y) / 4});
    Sync(sync);
    ok = e2e::WaitFor(started, 4000);
    if (!ok) {
      LeftButton(false);
      Sync(sync);
    }
  }
  if (!ok) {
    e2e::SaveScreenshot("drop-drag-not-started");
    return false;
  }
  for (int step = 2; step <= 4; ++step) {
    MouseTo({from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
    Sync(sync);
  }
  if (!DisplayKeys(keys, true)) {
    ADD_FAILURE() << "the keys did not come down on the display";
    LeftButton(false);
    Sync(sync);
    return false;
  }
  MouseTo({to.x + 1, to.y + 1});  // the drag sees the keys with a move
  Sync(sync);
  if (shot) e2e::SaveScreenshot(shot);
  LeftButton(false);
  Sync(sync);
  return true;
}

void LetGo(const std::vector<WORD>& keys) { DisplayKeys(keys, false); }

class DropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(box_.Ready());
    ASSERT_TRUE(e2e::ProgramWindows().empty());
    LetGo({VK_SHIFT, VK_CONTROL});
    // The pointer waits outside where the windows open. A window that opens under the pointer
    // is told by the display where the pointer entered it, and that report, handled late,
    // would put the pointer back there after the test has moved it (a press then lands on
    // the wrong pane).
    MouseTo(kParking);
    src_ = box_.Dir() + "src";
    dst_ = box_.Dir() + "dst";
    RemoveTree(src_);
    RemoveTree(dst_);
    ::CreateDirectoryA(src_.c_str(), nullptr);
    ::CreateDirectoryA(dst_.c_str(), nullptr);
    WriteFile(src_ + "\\a.txt", "alpha");
    WriteFile(src_ + "\\b.txt", "bravo");
  }
  void TearDown() override {
    LetGo({VK_SHIFT, VK_CONTROL});
    if (Held(VK_LBUTTON)) LeftButton(false);
    if (Held(VK_RBUTTON)) Button(VK_RBUTTON, false);
    box_.CloseAll();
    RemoveTree(src_);
    RemoveTree(dst_);
  }
  // One window on path at (50, 40), icon view.
  void Start(const std::string& path) {
    box_.Write("INSTID", "ID", "-1");
    box_.Write("INST1", "Placement", "50;40;560;380;-1;-1;-1;-1");
    box_.Write("INST1", "Path", path.c_str());
    box_.Write("INST1", "vmode", "0");
    process_ = box_.Start("-CFGID 1");
    ASSERT_TRUE(e2e::WaitFor([&] { return (frame_ = e2e::WindowAt(50, 40)) != nullptr; }));
    ASSERT_TRUE(e2e::WaitFor([&] { return e2e::Caption(frame_).rfind(path, 0) == 0; }));
    const std::vector<HWND> panes = PanesOf(frame_);
    ASSERT_FALSE(panes.empty());
    pane_ = panes[0];
  }
  // Two panes: the left on src (the active one), the right on dst. Both take drops once the
  // window is up: with OLE, or below Windows 4 as WM_DROPFILES.
  void StartTwoPanes(bool ole = true) {
    box_.Write("INST1", "WMode", "2");
    box_.Write("INST101", "Path", dst_.c_str());
    box_.Write("INST101", "vmode", "0");
    Start(src_);
    const std::vector<HWND> panes = PanesOf(frame_);
    ASSERT_EQ(panes.size(), 2u);
    left_ = panes[0];
    right_ = panes[1];
    RECT a, b;
    ::GetWindowRect(left_, &a);
    ::GetWindowRect(right_, &b);
    if (a.left > b.left) std::swap(left_, right_);
    for (HWND p : {left_, right_})
      ASSERT_TRUE(e2e::WaitFor([&] {
        return ole ? ::GetPropA(p, "OleDropTargetInterface") != nullptr
                   : (::GetWindowLongA(p, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
      }));
  }
  // A second window (another process) on path at (420, 430), its one pane taking drops.
  void StartSecondWindow(const std::string& path) {
    box_.Write("INST2", "Placement", "420;430;500;300;-1;-1;-1;-1");
    box_.Write("INST2", "Path", path.c_str());
    box_.Write("INST2", "vmode", "0");
    box_.Start("-CFGID 2");
    ASSERT_TRUE(e2e::WaitFor([&] { return (second_ = e2e::WindowAt(420, 430)) != nullptr; }));
    ASSERT_TRUE(e2e::WaitFor([&] { return e2e::Caption(second_).rfind(path, 0) == 0; }));
    const std::vector<HWND> panes = PanesOf(second_);
    ASSERT_EQ(panes.size(), 1u);
    secondPane_ = panes[0];
    ASSERT_TRUE(e2e::WaitFor(
        [&] { return ::GetPropA(secondPane_, "OleDropTargetInterface") != nullptr; }));
  }
  // A client point of the pane where no entry is: its bottom right corner.
  POINT EmptySpace(HWND pane = nullptr) const {
    RECT rc;
    ::GetClientRect(pane ? pane : pane_, &rc);
    return {rc.right - 12, rc.bottom - 12};
  }
  Sandbox box_;
  std::string src_, dst_;
  // Drags with keys held and waits for the drop's question: the question (still open), or null
  // when none came. The keys are let go once it shows.
  HWND DragForQuestion(HWND sync, POINT from, POINT to, const std::vector<WORD>& keys,
                       const std::function<bool()>& started, const char* shot = nullptr) {
    const bool dragged = Drag(sync, from, to, keys, started, shot);
    HWND question = dragged ? FindDialog("ドロップ確認", 10000) : nullptr;
    LetGo(keys);
    return question;
  }
  // The left pane's entry is selected for the drag: the status bar counts it.
  std::function<bool()> DragStarted() {
    return [this] { return e2e::StatusText(frame_).find("Selected 1 ") != std::string::npos; };
  }
  HANDLE process_ = nullptr;  // of the window Start opened (the sandbox owns it)
  HWND frame_ = nullptr;
  HWND pane_ = nullptr;
  HWND left_ = nullptr, right_ = nullptr;
  HWND second_ = nullptr, secondPane_ = nullptr;  // of StartSecondWindow
};

// The drag loop dispatches messages, and what they ask for waits for the drag: a reload of the
// associations (which reads every listing again and frees its entries) and a close that come
// while the button is held. The close ends the drag without a drop; the window then closes as
// asked, and the dragged file is where it was.
TEST_F(DropTest, AReloadAndACloseDuringADragWaitForItsEnd) {
  StartTwoPanes();
  const POINT from = ScreenOf(left_, EntryPoint(1));
  const POINT to = ScreenOf(right_, EmptySpace(right_));
  MouseTo(from);
  Sync(frame_);
  LeftButton(true);
  Sync(frame_);
  MouseTo({from.x + (to.x - from.x) / 4, from.y + (to.y - from.y) / 4});
  Sync(frame_);
  ASSERT_TRUE(e2e::WaitFor(DragStarted(), 4000)) << "the drag did not start";
  MouseTo({from.x + (to.x - from.x) / 2, from.y + (to.y - from.y) / 2});
  // As another window of the program asks all of them to reload their associations.
  ::PostMessageA(frame_, WM_USER, 1, 3);
  MouseTo(to);
  ::PostMessageA(frame_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(box_.WaitExit(process_, 20000)) << "the close waited for the button";
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(process_, &code);
  EXPECT_EQ(code, 0u) << "the program ended normally";
  LeftButton(false);
  EXPECT_EQ(FindDialog("ドロップ確認", 1500), nullptr) << "no drop";
  EXPECT_EQ(ReadFile(src_ + "\\a.txt"), "alpha");
  EXPECT_FALSE(Exists(dst_ + "\\a.txt"));
}

// Blocks posted to a pane by another process. The memory handle of a posted WM_DROPFILES does
// not travel to the receiving process under Wine, so there every such block, well-formed or
// hostile, reads as no block: each is refused with a message and nothing is copied or asked.
TEST_F(DropTest, BlocksPostedByAnotherProcessAreRefusedWithAMessage) {
  using namespace std::string_literals;
  Start(dst_);
  const POINT at = EmptySpace();
  struct Case {
    const char* what;
    std::string block;
  };
  const Case cases[] = {
      {"well-formed", Block(20, at, src_ + "\\a.txt\0"s + src_ + "\\b.txt\0\0"s)},
      {"offset past the end", Block(5000, at, src_ + "\\a.txt\0\0"s)},
      {"no final NUL", Block(20, at, src_ + "\\a.txt\0"s + src_ + "\\b.txt")},
      {"path over 260 bytes", Block(20, at, src_ + "\\a.txt\0"s + src_ + "\\" +
                                                std::string(300, 'x') + "\0\0"s)},
      {"relative path", Block(20, at, "a.txt\0\0"s)},
      {"zero length", std::string()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.block.empty()) {
      HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 0);
      ::PostMessageA(pane_, WM_DROPFILES, reinterpret_cast<WPARAM>(h), 0);
    } else {
      PostDrop(pane_, c.block);
    }
    HWND box = FindDialog("ソルモ", 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(BoxText(box).find("ファイルは操作しませんでした"), std::string::npos)
        << BoxText(box);
    Answer(box, IDOK);
    EXPECT_EQ(::FindWindowA("#32770", "ドロップ確認"), nullptr);
    EXPECT_FALSE(Exists(dst_ + "\\a.txt"));
  }
}

// From one pane to the other with no key, Shift and Shift+Ctrl: the question names the mode
// and the target, and the files on the disk follow it.
struct ModeCase {
  const char* name;
  std::vector<WORD> keys;
  const char* question;  // with %s for the target directory
  bool copied, sourceStays, shortcut;
};

class DropModeTest : public DropTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(DropModeTest, PaneToPane) {
  const ModeCase& c = GetParam();
  StartTwoPanes();
  char expected[512];
  std::snprintf(expected, sizeof(expected), c.question, dst_.c_str());
  const std::string shot = std::string("drop-drag-in-progress-") + c.name;
  HWND question = DragForQuestion(frame_, ScreenOf(left_, EntryPoint(1)),
                                  ScreenOf(right_, EmptySpace(right_)), c.keys, DragStarted(),
                                  shot.c_str());
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(BoxText(question), expected);
  e2e::SaveScreenshot(std::string("drop-question-") + c.name);
  Answer(question, IDOK);
  if (c.shortcut) {
    ASSERT_TRUE(e2e::WaitFor([&] {
      WIN32_FIND_DATAA fd;
      HANDLE h = ::FindFirstFileA((dst_ + "\\*.LNK").c_str(), &fd);
      if (h == INVALID_HANDLE_VALUE) return false;
      ::FindClose(h);
      return true;
    }));
  } else {
    ASSERT_TRUE(e2e::WaitFor([&] { return Exists(dst_ + "\\a.txt"); }));
    EXPECT_EQ(ReadFile(dst_ + "\\a.txt"), "alpha");
  }
  ASSERT_TRUE(e2e::WaitFor([&] { return Exists(src_ + "\\a.txt") == c.sourceStays; }));
  EXPECT_FALSE(Exists(dst_ + "\\b.txt")) << "only the dragged entry";
}

INSTANTIATE_TEST_SUITE_P(
    Modes, DropModeTest,
    ::testing::Values(
        ModeCase{"copy", {}, "ファイルを %s へコピーします。よろしいですか?", true, true, false},
        ModeCase{"move", {VK_SHIFT}, "ファイルを %s へ移動します。よろしいですか?", true, false,
                 false},
        ModeCase{"link", {VK_SHIFT, VK_CONTROL}, "ｼｮｰﾄｶｯﾄを %s に作成します。よろしいですか?",
                 false, true, true}),
    [](const ::testing::TestParamInfo<ModeCase>& i) { return std::string(i.param.name); });

// A right press with Shift held leaves the cursor where it was (on a.txt) and takes b.txt out
// of any selection: the drag that follows carries b.txt, the entry under the pointer, and a.txt
// stays where it is.
TEST_F(DropTest, AShiftRightDragCarriesTheEntryUnderThePointer) {
  box_.Write("INST1", "Cursor", "a.txt");
  StartTwoPanes();
  const POINT from = ScreenOf(left_, EntryPoint(2));  // b.txt
  const POINT to = ScreenOf(right_, EmptySpace(right_));
  ASSERT_TRUE(e2e::WaitFor([&] { return ::GetForegroundWindow() == frame_; }, 3000) ||
              ::SetForegroundWindow(frame_));
  MouseTo(from);
  Sync(frame_);
  ASSERT_TRUE(DisplayKeys({VK_SHIFT}, true));
  Button(VK_RBUTTON, true);
  Sync(frame_);
  for (int step = 1; step <= 4; ++step) {
    MouseTo({from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
    Sync(frame_);
  }
  MouseTo({to.x + 1, to.y + 1});
  Sync(frame_);
  Button(VK_RBUTTON, false);
  Sync(frame_);
  HWND question = FindDialog("ドロップ確認", 10000);
  LetGo({VK_SHIFT});
  ASSERT_NE(question, nullptr);
  Answer(question, IDOK);
  ASSERT_TRUE(e2e::WaitFor([&] { return Exists(dst_ + "\\b.txt"); }));
  EXPECT_TRUE(Exists(src_ + "\\a.txt")) << "the cursor's entry stays";
  EXPECT_FALSE(Exists(dst_ + "\\a.txt"));
}

// Within its own pane a drag lands only on an entry that is not selected; a drag that stays
// within 8 pixels of the press is a click. None of these asks anything or changes a file.
TEST_F(DropTest, ClicksAndDropsOntoTheirOwnPaneDoNothing) {
  StartTwoPanes();
  const POINT a = ScreenOf(left_, EntryPoint(1));
  // A press, a move of 7 pixels each way and a release: a click.
  MouseTo(a);
  Sync(frame_);
  LeftButton(true);
  Sync(frame_);
  MouseTo({a.x + 7, a.y - 7});
  Sync(frame_);
  LeftButton(false);
  Sync(frame_);
  EXPECT_EQ(FindDialog("ドロップ確認", 1500), nullptr) << "a click";
  struct Case {
    const char* what;
    POINT to;
  };
  const Case cases[] = {
      {"onto the dragged entry itself", {a.x + 12, a.y + 4}},
      {"onto empty space of its own pane", ScreenOf(left_, EmptySpace(left_))},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Drag(frame_, a, c.to, {}, DragStarted())) << c.what;
    EXPECT_EQ(FindDialog("ドロップ確認", 1500), nullptr) << c.what;
    EXPECT_EQ(FindDialog("ソルモ", 10), nullptr) << c.what;
  }
  EXPECT_FALSE(Exists(dst_ + "\\a.txt"));
  EXPECT_EQ(ReadFile(src_ + "\\a.txt"), "alpha");
}

// From one window of the program to another (another process): the drop arrives through OLE.
TEST_F(DropTest, WindowToWindow) {
  Start(src_);
  ASSERT_NO_FATAL_FAILURE(StartSecondWindow(dst_));
  const std::vector<HWND> panes = {secondPane_};
  ::SetForegroundWindow(frame_);
  const std::string expected = "ファイルを " + dst_ + " へコピーします。よろしいですか?";
  HWND question = DragForQuestion(frame_, ScreenOf(pane_, EntryPoint(1)),
                                  ScreenOf(panes[0], EmptySpace(panes[0])), {},
                                  DragStarted(), "drop-window-to-window");
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(BoxText(question), expected);
  Answer(question, IDOK);
  ASSERT_TRUE(e2e::WaitFor([&] { return Exists(dst_ + "\\a.txt"); }));
  EXPECT_EQ(ReadFile(dst_ + "\\a.txt"), "alpha");
}

// A drop onto a program entry asks before it starts the program with the dropped files.
TEST_F(DropTest, DropOntoAProgramStartsItWithTheFiles) {
  const std::string args = dst_ + "\\args.txt";
  const std::string program = dst_ + "\\record.bat";
  WriteFile(program, "@echo %*> \"" + args + "\"\r\n");
  StartTwoPanes();
  const std::string expected = program + " を起動します。よろしいですか?";
  HWND question = DragForQuestion(frame_, ScreenOf(left_, EntryPoint(1)),
                                  ScreenOf(right_, EntryPoint(1)), {}, DragStarted());
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(BoxText(question), expected);
  e2e::SaveScreenshot("drop-question-program");
  Answer(question, IDOK);
  ASSERT_TRUE(e2e::WaitFor([&] { return ReadFile(args).find("\r\n") != std::string::npos; }))
      << "the program was not started";
  EXPECT_NE(ReadFile(args).find(src_ + "\\a.txt"), std::string::npos) << ReadFile(args);
}

// A drop onto a program of another window starts it as the run command would, and like the run
// command leaves nothing selected in the table that started it.
TEST_F(DropTest, ADropOntoAProgramDeselectsTheEntriesOfItsTable) {
  const std::string args = dst_ + "\\args.txt";
  const std::string program = dst_ + "\\record.bat";
  WriteFile(program, "@echo %*> \"" + args + "\"\r\n");
  WriteFile(dst_ + "\\x.txt", "x");
  Start(src_);
  ASSERT_NO_FATAL_FAILURE(StartSecondWindow(dst_));
  HWND second = second_;
  const std::vector<HWND> panes = {secondPane_};
  ::PostMessageA(second, WM_COMMAND, 154, 0);  // select all: record.bat and x.txt
  ASSERT_TRUE(e2e::WaitFor([&] {
    return e2e::StatusText(second).rfind("Selected 2 file(s)", 0) == 0;
  }, 5000)) << e2e::StatusText(second);
  ::SetForegroundWindow(frame_);
  // ".." first, then record.bat.
  HWND question = DragForQuestion(frame_, ScreenOf(pane_, EntryPoint(1)),
                                  ScreenOf(panes[0], EntryPoint(1)), {}, DragStarted());
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(BoxText(question), program + " を起動します。よろしいですか?");
  Answer(question, IDOK);
  ASSERT_TRUE(e2e::WaitFor([&] { return ReadFile(args).find("\r\n") != std::string::npos; }))
      << "the program was not started";
  EXPECT_TRUE(e2e::WaitFor([&] {
    return e2e::StatusText(second).rfind("Selected 0 file(s)", 0) == 0;
  }, 5000)) << e2e::StatusText(second);
}

// A folder moved onto a pane whose folder of the same name holds one of its files already: the
// overwrite is declined, so that file stays at both places as it was, and the rest is moved.
TEST_F(DropTest, MovingATreeOntoOneWithADeclinedOverwriteKeepsThatFile) {
  ::DeleteFileA((src_ + "\\a.txt").c_str());
  ::DeleteFileA((src_ + "\\b.txt").c_str());
  const std::string tree = src_ + "\\tree", there = dst_ + "\\tree";
  for (const std::string& d : {tree, tree + "\\sub", there}) ::CreateDirectoryA(d.c_str(), nullptr);
  WriteFile(tree + "\\x.txt", "new x");
  WriteFile(tree + "\\y.txt", "y");
  WriteFile(tree + "\\sub\\z.txt", "z");
  WriteFile(there + "\\x.txt", "old x");
  StartTwoPanes();
  HWND question = DragForQuestion(frame_, ScreenOf(left_, EntryPoint(1)),
                                  ScreenOf(right_, EmptySpace(right_)), {VK_SHIFT},
                                  DragStarted());
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(BoxText(question), "ファイルを " + dst_ + " へ移動します。よろしいですか?");
  Answer(question, IDOK);
  HWND overwrite = FindDialog("上書き確認");
  ASSERT_NE(overwrite, nullptr);
  char name[300] = {};
  ::GetDlgItemTextA(overwrite, 10003, name, sizeof(name));
  EXPECT_NE(std::string(name).find("x.txt"), std::string::npos) << name;
  // The progress under the question names the pane's directory as the question did.
  HWND progress = FindDialog("処理中", 5000);
  EXPECT_NE(progress, nullptr);
  char destination[300] = {};
  if (progress) ::GetDlgItemTextA(progress, 10004, destination, sizeof(destination));
  EXPECT_EQ(std::string(destination), dst_);
  e2e::SaveScreenshot("drop-question-overwrite");
  Answer(overwrite, 603);  // No
  ASSERT_TRUE(e2e::WaitFor([&] { return ReadFile(there + "\\sub\\z.txt") == "z"; }));
  ASSERT_TRUE(e2e::WaitFor([&] { return !Exists(tree + "\\sub"); }));
  EXPECT_EQ(ReadFile(there + "\\x.txt"), "old x");
  EXPECT_EQ(ReadFile(tree + "\\x.txt"), "new x") << "the declined file stays where it was";
  EXPECT_EQ(ReadFile(there + "\\y.txt"), "y");
  EXPECT_FALSE(Exists(tree + "\\y.txt"));
  EXPECT_EQ(FindDialog("ソルモ", 1500), nullptr) << "declining is no error";
}

// With Shift, a drop onto a program entry offers to associate the dropped files with it; a file
// without an extension is associated by its name, in the program's own list.
TEST_F(DropTest, ShiftDropOntoAProgramAssociatesTheFiles) {
  ::DeleteFileA((src_ + "\\a.txt").c_str());
  ::DeleteFileA((src_ + "\\b.txt").c_str());
  WriteFile(src_ + "\\notes", "n");
  const std::string program = dst_ + "\\record.bat";
  WriteFile(program, "@echo %*> \"" + dst_ + "\\args.txt\"\r\n");
  StartTwoPanes();
  HWND question = DragForQuestion(frame_, ScreenOf(left_, EntryPoint(1)),
                                  ScreenOf(right_, EntryPoint(1)), {VK_SHIFT}, DragStarted());
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(BoxText(question), "選択されたファイルを " + program + " と関連付けます。よろしいですか?");
  e2e::SaveScreenshot("drop-question-associate");
  Answer(question, IDOK);
  ASSERT_TRUE(e2e::WaitFor([&] { return box_.Read("ExecLink", "notes") != "<missing>"; }, 10000));
  EXPECT_NE(box_.Read("ExecLink", "notes").find("record.bat"), std::string::npos)
      << box_.Read("ExecLink", "notes");
  EXPECT_FALSE(Exists(dst_ + "\\args.txt")) << "associating starts nothing";
  EXPECT_EQ(ReadFile(src_ + "\\notes"), "n");
  EXPECT_FALSE(Exists(dst_ + "\\notes"));
}

// Below Windows 4 a table drags with its own loop and posts the drop to the window under the
// pointer. Wine reports an older Windows to a program named in its per-program settings; the
// setting lasts as long as this object.
class OldWindowsVersion {
 public:
  OldWindowsVersion() {
    error_ = ::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                               &key_, nullptr);
    if (error_ != ERROR_SUCCESS) {
      key_ = nullptr;
      return;
    }
    static const char kVersion[] = "nt351";  // 3.51
    error_ = ::RegSetValueExA(key_, "Version", 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(kVersion), sizeof(kVersion));
  }
  ~OldWindowsVersion() {
    if (!key_) return;
    ::RegDeleteValueA(key_, "Version");
    ::RegCloseKey(key_);
  }
  OldWindowsVersion(const OldWindowsVersion&) = delete;
  OldWindowsVersion& operator=(const OldWindowsVersion&) = delete;
  bool Ok() const { return key_ && error_ == ERROR_SUCCESS; }
  LONG Error() const { return error_; }

 private:
  static constexpr const char* kKey = "Software\\Wine\\AppDefaults\\SORM32.EXE";
  HKEY key_ = nullptr;
  LONG error_ = ERROR_INVALID_FUNCTION;
};

class ManualDragTest : public DropTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ManualDragTest, PaneToPane) {
  const ModeCase& c = GetParam();
  OldWindowsVersion old;
  ASSERT_TRUE(old.Ok()) << "registry error " << old.Error();
  StartTwoPanes(false);
  EXPECT_EQ(::GetPropA(left_, "OleDropTargetInterface"), nullptr) << "no OLE drop target";
  char expected[512];
  std::snprintf(expected, sizeof(expected), c.question, dst_.c_str());
  HWND question = DragForQuestion(frame_, ScreenOf(left_, EntryPoint(1)),
                                  ScreenOf(right_, EmptySpace(right_)), c.keys, DragStarted(),
                                  (std::string("drop-manual-drag-") + c.name).c_str());
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(BoxText(question), expected);
  Answer(question, IDOK);
  const std::string made = dst_ + (c.shortcut ? "\\0.LFI" : "\\a.txt");
  ASSERT_TRUE(e2e::WaitFor([&] { return Exists(made); })) << made;
  if (!c.shortcut) {
    EXPECT_EQ(ReadFile(made), "alpha");
  }
  ASSERT_TRUE(e2e::WaitFor([&] { return Exists(src_ + "\\a.txt") == c.sourceStays; }));
  EXPECT_FALSE(Exists(dst_ + "\\b.txt")) << "only the dragged entry";
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ManualDragTest,
    ::testing::Values(
        ModeCase{"copy", {}, "ファイルを %s へコピーします。よろしいですか?", true, true, false},
        ModeCase{"link", {VK_SHIFT, VK_CONTROL}, "リンクを %s に作成します。よろしいですか?",
                 false, true, true}),
    [](const ::testing::TestParamInfo<ModeCase>& i) { return std::string(i.param.name); });

// One command at a time, as the user meets it: a window whose command (here "make directory",
// asking for the name) is still open takes no drop, and the drop is not run inside that command
// nor after it. Once the command has ended, the same drag is taken. (Under Wine the drag finds
// no target in a window its dialog has disabled; the drop target's own refusal while a command
// holds the gate is tested on its own in the unit tests.)
TEST_F(DropTest, ADropWhileACommandRunsIsRefused) {
  box_.Write("INST2", "Placement", "420;430;500;300;-1;-1;-1;-1");
  box_.Write("INST2", "Path", src_.c_str());
  box_.Write("INST2", "vmode", "0");
  Start(dst_);
  box_.Start("-CFGID 2");
  HWND second = nullptr;
  ASSERT_TRUE(e2e::WaitFor([&] { return (second = e2e::WindowAt(420, 430)) != nullptr; }));
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::Caption(second).rfind(src_, 0) == 0; }));
  const std::vector<HWND> sources = PanesOf(second);
  ASSERT_EQ(sources.size(), 1u);
  ASSERT_TRUE(e2e::WaitFor([&] { return ::GetPropA(pane_, "OleDropTargetInterface") != nullptr; }));
  ::PostMessageA(frame_, WM_COMMAND, 176, 0);  // make directory: asks for a name
  HWND asking = FindDialog("ディレクトリの作成");
  ASSERT_NE(asking, nullptr);
  auto selected = [&] { return e2e::StatusText(second).find("Selected 1 ") != std::string::npos; };
  const POINT from = ScreenOf(sources[0], EntryPoint(1)), to = ScreenOf(pane_, EmptySpace());
  ::SetForegroundWindow(second);
  ASSERT_TRUE(Drag(second, from, to, {}, selected));
  EXPECT_EQ(FindDialog("ドロップ確認", 3000), nullptr) << "the drop was taken during a command";
  Answer(asking, IDCANCEL);
  EXPECT_EQ(FindDialog("ドロップ確認", 2000), nullptr) << "the drop ran after the command";
  EXPECT_FALSE(Exists(dst_ + "\\a.txt"));
  EXPECT_EQ(ReadFile(src_ + "\\a.txt"), "alpha");
  // The command over, the same drag is a drop.
  ::SetForegroundWindow(second);
  HWND question = DragForQuestion(second, from, to, {}, selected);
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(BoxText(question), "ファイルを " + dst_ + " へコピーします。よろしいですか?");
  Answer(question, IDCANCEL);
}

// ---- a measurement, not run by the test script (run it with --gtest_also_run_disabled_tests)

int FilesIn(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((dir + "\\*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  return n;
}

double Seconds() {
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// 1,000 small files dropped onto the other pane (a real drag of the whole selection), against
// the copy command on the same files into another folder, in the same run. Each is timed from
// the answer that starts it to the end of its work (every file there, the progress gone).
TEST_F(DropTest, DISABLED_BenchThousandFilesDropAgainstCopyCommand) {
  constexpr int kFiles = 1000;
  ::DeleteFileA((src_ + "\\a.txt").c_str());
  ::DeleteFileA((src_ + "\\b.txt").c_str());
  char name[32];
  for (int i = 0; i < kFiles; ++i) {
    std::snprintf(name, sizeof(name), "\\f%04d.txt", i);
    WriteFile(src_ + name, "small file " + std::to_string(i));
  }
  const std::string copied = box_.Dir() + "copied";
  RemoveTree(copied);
  ::CreateDirectoryA(copied.c_str(), nullptr);
  StartTwoPanes();
  auto ended = [](const std::string& dir) {
    return FilesIn(dir) == kFiles && !::FindWindowA("#32770", "処理中");
  };
  const std::string all = "Selected " + std::to_string(kFiles) + " ";
  auto allSelected = [&] { return e2e::StatusText(frame_).find(all) != std::string::npos; };

  auto selectAll = [&] {
    ::PostMessageA(frame_, WM_COMMAND, 154, 0);  // select all
    return e2e::WaitFor(allSelected);
  };
  auto empty = [&](const std::string& dir) {
    RemoveTree(dir);
    ::CreateDirectoryA(dir.c_str(), nullptr);
    return e2e::WaitFor([&] { return FilesIn(dir) == 0; });
  };
  auto timeDrop = [&] {
    if (!empty(dst_) || !selectAll()) return -1.0;
    HWND question = DragForQuestion(frame_, ScreenOf(left_, EntryPoint(1)),
                                    ScreenOf(right_, EmptySpace(right_)), {}, [] { return true; });
    if (!question) return -1.0;
    const double start = Seconds();
    Answer(question, IDOK);
    if (!e2e::WaitFor([&] { return ended(dst_); }, 300000)) return -1.0;
    return Seconds() - start;
  };
  auto timeCopy = [&] {
    if (!empty(copied) || !selectAll()) return -1.0;
    ::PostMessageA(frame_, WM_COMMAND, 184, 0);  // copy
    HWND input = FindDialog("ファイルのコピー");
    if (!input) return -1.0;
    ::SetDlgItemTextA(input, 31051, copied.c_str());
    const double start = Seconds();
    Answer(input, IDOK);
    if (!e2e::WaitFor([&] { return ended(copied); }, 300000)) return -1.0;
    return Seconds() - start;
  };
  // Two rounds in turned order, so that neither always runs on a colder cache.
  double drop = 0, copy = 0;
  for (int round = 0; round < 2; ++round) {
    const double first = round == 0 ? timeDrop() : timeCopy();
    const double second = round == 0 ? timeCopy() : timeDrop();
    ASSERT_GT(first, 0.0) << "round " << round;
    ASSERT_GT(second, 0.0) << "round " << round;
    drop += round == 0 ? first : second;
    copy += round == 0 ? second : first;
    std::printf("round %d: drop %.2f s, copy command %.2f s\n", round + 1,
                round == 0 ? first : second, round == 0 ? second : first);
  }
  std::printf("drop of %d files: %.2f s, copy command: %.2f s (means), ratio drop/copy %.2f\n",
              kFiles, drop / 2, copy / 2, drop / copy);
  RemoveTree(copied);
}

}  // namespace
