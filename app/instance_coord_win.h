// Finding the program's other windows: top-level windows of class "Sorumo32".
#pragma once
#include <windows.h>

namespace app {

inline constexpr const char* kWindowClass = "Sorumo32";

// Number of top-level windows of the program's class on the desktop (this one included).
int CountWindows();

}  // namespace app

// Enumeration callback, exported under its plain name: counts windows of the program's class
// into the int that lp points at.
extern "C" __declspec(dllexport) BOOL CALLBACK CountProc(HWND hwnd, LPARAM lp);
