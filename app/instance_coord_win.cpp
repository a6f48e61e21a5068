#include "app/instance_coord_win.h"

#include <cstring>

namespace {
bool IsProgramWindow(HWND hwnd) {
  char cls[32] = {};
  if (!::GetClassNameA(hwnd, cls, sizeof(cls))) return false;
  return std::strcmp(cls, app::kWindowClass) == 0;
}
}  // namespace

extern "C" __declspec(dllexport) BOOL CALLBACK CountProc(HWND hwnd, LPARAM lp) {
  if (IsProgramWindow(hwnd)) ++*reinterpret_cast<int*>(lp);
  return TRUE;
}

namespace app {

int CountWindows() {
  int count = 0;
  ::EnumWindows(&CountProc, reinterpret_cast<LPARAM>(&count));
  return count;
}

}  // namespace app
