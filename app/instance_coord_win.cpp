#include "app/instance_coord_win.h"

#include <cstring>

namespace {
// Counters of the process that enumerates; they number the windows in z-order.
int g_broadcastCounter = 1;
int g_quitCounter = 1;
int g_windowCount = 0;
}  // namespace

extern "C" {

BOOL CALLBACK PostProc(HWND hwnd, LPARAM code) {
  if (code == 0) {
    g_broadcastCounter = 1;
    return TRUE;
  }
  if (app::IsProgramWindow(hwnd)) {
    ::PostMessageA(hwnd, WM_USER, static_cast<WPARAM>(g_broadcastCounter), code);
    ++g_broadcastCounter;
  }
  return TRUE;
}

BOOL CALLBACK QuitProc(HWND hwnd, LPARAM flag) {
  if (flag == 0) {
    g_quitCounter = 1;
    return FALSE;
  }
  if (app::IsProgramWindow(hwnd)) {
    ::PostMessageA(hwnd, WM_CLOSE, 1, 0);
    ++g_quitCounter;
  }
  return TRUE;
}

BOOL CALLBACK CountProc(HWND hwnd, LPARAM) {
  if (app::IsProgramWindow(hwnd)) ++g_windowCount;
  return TRUE;
}

}  // extern "C"

namespace app {

bool IsProgramWindow(HWND hwnd) {
  char cls[128] = {};
  if (!::GetClassNameA(hwnd, cls, sizeof(cls))) return false;
  return std::strcmp(cls, kWindowClass) == 0;
}

int CountWindows() {
  g_windowCount = 0;
  ::EnumWindows(&CountProc, 0);
  return g_windowCount;
}

void BroadcastToAllWindows(LPARAM code) {
  ::EnumWindows(&PostProc, 0);
  ::EnumWindows(&PostProc, code);
}

void CloseAllWindows() {
  ::EnumWindows(&QuitProc, 0);
  ::EnumWindows(&QuitProc, 1);
}

}  // namespace app
