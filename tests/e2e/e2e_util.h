// Driving SORM32.EXE from a test: a scratch program folder with its own sorm.cfg, process
// starts, waiting on conditions with a deadline, finding the program's windows, screenshots.
#pragma once
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace e2e {

// Polls cond until it holds or timeoutMs passes; pumps this thread's messages meanwhile.
bool WaitFor(const std::function<bool()>& cond, DWORD timeoutMs = 20000);

// Visible top-level windows of class "Sorumo32", in z-order from the top.
std::vector<HWND> ProgramWindows();

struct WindowRect {
  int left, top, width, height;
};
WindowRect NormalRect(HWND hwnd);
std::string Caption(HWND hwnd);

// The program's window whose normal rectangle starts at (left, top); null when none.
HWND WindowAt(int left, int top);
// Number of pane windows (children of class "Sorumo32") of a frame.
int PaneCount(HWND frame);
// The toolbar child of a frame, or null.
HWND ToolBarOf(HWND frame);

// The visible dialog (class "#32770") with this caption, waited for; null when none came.
HWND FindDialog(const char* caption, DWORD timeoutMs = 20000);
// The text of a frame's status bar (its single message text, or its first field).
std::string StatusText(HWND frame);

// Creates (or replaces) a file holding text.
void Touch(const std::string& path, const std::string& text = std::string());
// The whole content of a file; empty when it cannot be read.
std::string ReadAll(const std::string& path);
// Removes a directory tree (attributes cleared first), with wide calls so that names the code
// page cannot hold go too.
void RemoveTreeWide(const std::wstring& dir);
void RemoveTree(const std::string& dir);

// Moves the mouse pointer to a screen point with real input.
void MouseTo(POINT p);

// Saves the whole screen as <SORM_SHOTS>\<name>.bmp (when SORM_SHOTS is set).
void SaveScreenshot(const std::string& name);

// A key pressed and let go with real input (to the foreground window).
void PressKey(WORD vk);

// The system's help viewer: its main window (class "MS_WINHELP", shown) and its process, of
// another process than this one's and than exceptPid's (a program that registers a window of
// that class itself); null and 0 when there is none.
HWND HelpViewerWindow(DWORD exceptPid);
DWORD HelpViewerProcess(DWORD exceptPid);
// The viewer of another process closed, and ended when it does not end by itself.
void CloseHelpViewer(DWORD exceptPid);
// The texts of all a window's child windows, one a line (a viewer's topic text among them).
std::string ChildTexts(HWND window);

// A folder holding a copy of SORM32.EXE (from the SORM_EXE environment variable) with its own
// configuration file. Closing: every window of the program is closed and its process waited for.
class Sandbox {
 public:
  Sandbox();
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  bool Ready() const { return !dir_.empty(); }
  const std::string& Dir() const { return dir_; }  // with a trailing backslash
  std::string Exe() const { return dir_ + "SORM32.EXE"; }
  std::string Cfg() const { return dir_ + "sorm.cfg"; }

  void Write(const char* section, const char* key, const char* value) const;
  std::string Read(const char* section, const char* key) const;  // "<missing>" when absent
  // Saved window 1 (the only one: INSTID/ID -1) in icon view on path, at a fixed place.
  void SaveOneWindowOn(const std::string& path) const;
  // An explorer.cfg beside the program with exactly these "key;modifiers;action" bindings.
  void WriteKeyBindings(std::initializer_list<const char*> bindings) const;
  // True when no process holds the configuration lock (smlock beside the program). Every save
  // writes all its keys under one hold of it: once a key of a save is seen and the lock is
  // free, that save has ended.
  bool LockFree() const;
  // Waits until written() holds and then the lock is free: the end of the save that wrote it.
  bool WaitSaved(const std::function<bool()>& written, DWORD timeoutMs = 20000) const;

  // Starts the program with the given arguments; returns the process handle (owned here).
  HANDLE Start(const std::string& args);
  bool WaitExit(HANDLE process, DWORD timeoutMs = 60000);
  // Closes every window of the program (WM_CLOSE) and waits for the processes to end.
  void CloseAll();

 private:
  std::string dir_;
  std::vector<HANDLE> processes_;
};

}  // namespace e2e
