// ole32.dll loaded on first use instead of at process start. Under Wine, loading OLE costs
// more than all the rest of a window's start-up, and nothing needs it before the window is up.
// Every OLE entry point the program calls goes through here; the library stays loaded for the
// life of the process once it was needed.
#pragma once
#include <windows.h>
#include <objbase.h>

namespace ole {

HRESULT Initialize();          // OleInitialize(NULL)
void Uninitialize();           // OleUninitialize
HRESULT CoInit();              // CoInitialize(NULL)
void CoUninit();               // CoUninitialize
HRESULT CreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, void** out);

// Any other ole32 export, typed by the caller; null when it cannot be had.
FARPROC Proc(const char* name);

}  // namespace ole
