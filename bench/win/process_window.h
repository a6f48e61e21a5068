// The benchmarks' way of finding the window a started process shows.
#pragma once
#include <windows.h>

namespace bench {

struct WindowSearch {
  DWORD pid;
  HWND found;
};

inline BOOL CALLBACK MatchVisibleWindow(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<WindowSearch*>(lp);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(h, &owner);
  if (owner != s->pid || !::IsWindowVisible(h)) return TRUE;
  s->found = h;
  return FALSE;
}

// A visible top-level window of process pid, or null when it shows none (yet).
inline HWND VisibleWindowOf(DWORD pid) {
  WindowSearch s{pid, nullptr};
  ::EnumWindows(MatchVisibleWindow, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

}  // namespace bench
