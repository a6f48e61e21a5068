// Driving the program's dialogs from an end-to-end test: typing with real keys, finding a dialog
// by its caption and a control, clicking its buttons, reading its texts, and a fixture with a
// folder of three files and windows on it.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/e2e_util.h"

namespace e2e {

// Types ASCII text with real key presses into the focused control of the foreground window.
inline void Type(const std::string& text) {
  std::vector<INPUT> events;
  for (char ch : text) {
    const SHORT vk = ::VkKeyScanA(ch);
    const bool shift = (vk >> 8) & 1;
    auto key = [&](WORD v, bool up) {
      INPUT in{};
      in.type = INPUT_KEYBOARD;
      in.ki.wVk = v;
      in.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(v, 0));
      in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      events.push_back(in);
    };
    if (shift) key(VK_SHIFT, false);
    key(static_cast<WORD>(vk & 0xFF), false);
    key(static_cast<WORD>(vk & 0xFF), true);
    if (shift) key(VK_SHIFT, true);
  }
  ::SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
}

inline std::string ItemText(HWND dlg, int id) {
  char buf[2048] = {};
  ::GetDlgItemTextA(dlg, id, buf, sizeof(buf));
  return buf;
}

// A visible dialog with this caption that has the control id; null when none came.
inline HWND FindDialogWith(const char* caption, int control, DWORD timeoutMs = 20000) {
  HWND found = nullptr;
  e2e::WaitFor([&] {
    for (HWND d = ::FindWindowExA(nullptr, nullptr, "#32770", caption); d;
         d = ::FindWindowExA(nullptr, d, "#32770", caption)) {
      if (::IsWindowVisible(d) && ::GetDlgItem(d, control)) {
        found = d;
        return true;
      }
    }
    return false;
  }, timeoutMs);
  return found;
}

// Clicks a dialog's button as its owner hears it.
inline void Click(HWND dlg, int id) {
  ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dlg, id)));
}

inline bool Gone(HWND dlg) {
  return e2e::WaitFor([&] { return !::IsWindow(dlg) || !::IsWindowVisible(dlg); }, 10000);
}

inline std::vector<std::string> ListTitles(HWND list) {
  std::vector<std::string> out;
  const LRESULT n = ::SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    // Across processes Wine hands the text over in UTF-16 whatever was asked.
    wchar_t wide[1024] = {};
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
    char buf[2048] = {};
    ::WideCharToMultiByte(932, 0, wide, -1, buf, sizeof(buf), nullptr, nullptr);
    out.push_back(buf);
  }
  return out;
}

// The keys of a section in file order.
inline std::vector<std::string> Keys(const Sandbox& box, const char* section) {
  std::vector<char> buf(65536);
  const DWORD n = ::GetPrivateProfileStringA(section, nullptr, "", buf.data(),
                                             static_cast<DWORD>(buf.size()), box.Cfg().c_str());
  std::vector<std::string> out;
  for (DWORD i = 0; i < n && buf[i];) {
    out.emplace_back(&buf[i]);
    i += static_cast<DWORD>(out.back().size()) + 1;
  }
  return out;
}

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(box_.Ready() && e2e::ProgramWindows().empty());
    data_ = box_.Dir() + "data dir";
    ::CreateDirectoryA(data_.c_str(), nullptr);
    for (const char* f : {"\\a.txt", "\\b.doc", "\\c.exe"}) e2e::Touch(data_ + f);
    box_.Write("INSTID", "ID", "-1");
    box_.Write("INST1", "vmode", "0");
    box_.Write("INST2", "vmode", "0");
  }
  void TearDown() override {
    box_.CloseAll();
    for (const char* f : {"\\a.txt", "\\b.doc", "\\c.exe", "\\args.txt"})
      ::DeleteFileA((data_ + f).c_str());
    ::DeleteFileA((box_.Dir() + "record.bat").c_str());
    ::RemoveDirectoryA(data_.c_str());
  }
  // Window n on the data folder at (left, top).
  HWND Start(int n, int left, int top) {
    const std::string sec = "INST" + std::to_string(n);
    box_.Write(sec.c_str(), "Placement",
               (std::to_string(left) + ";" + std::to_string(top) + ";560;380;-1;-1;-1;-1").c_str());
    box_.Write(sec.c_str(), "Path", data_.c_str());
    box_.Start("-CFGID " + std::to_string(n));
    HWND w = nullptr;
    e2e::WaitFor([&] { return (w = e2e::WindowAt(left, top)) != nullptr; });
    if (w) e2e::WaitFor([&] { return e2e::Caption(w).rfind(data_, 0) == 0; }, 5000);
    return w;
  }
  // Two windows; the first opens a list editor (command) and the editor is returned.
  HWND TwoWindowsAndEditor(int command, const char* caption) {
    a_ = Start(1, 40, 30);
    b_ = Start(2, 320, 200);
    if (!a_ || !b_) return nullptr;
    ::PostMessageA(a_, WM_COMMAND, command, 0);
    return FindDialogWith(caption, 908);
  }
  bool CaptionStartsWith(HWND w, const std::string& prefix) {
    return e2e::WaitFor([&] { return e2e::Caption(w).rfind(prefix, 0) == 0; }, 5000);
  }
  // The record program: writes its arguments to args.txt in the data folder.
  std::string Recorder() {
    const std::string record = box_.Dir() + "record.bat";
    e2e::Touch(record, "@echo %*> \"" + data_ + "\\args.txt\"\r\n");
    return record;
  }

  e2e::Sandbox box_;
  std::string data_;
  HWND a_ = nullptr, b_ = nullptr;
};

}  // namespace e2e
