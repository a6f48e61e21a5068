// System libraries loaded on first use instead of at process start (importing shell32 and ole32
// made a window's start-up much slower under Wine). Each library stays loaded once it was
// needed. The calls the backend itself makes are here; the window framework's (fw/lazy_api.h,
// fw/ole_runtime.h) sit on Proc. A function that cannot be had fails the way the call fails.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

namespace late {

// An export of a system library ("shell32.dll", "ole32.dll", ...), typed by the caller; null
// when it cannot be had.
FARPROC Proc(const char* library, const char* name);

int SHFileOperationA(LPSHFILEOPSTRUCTA op);
HRESULT CoInit();  // CoInitialize(NULL)
void CoUninit();   // CoUninitialize
HRESULT CreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, void** out);

}  // namespace late
