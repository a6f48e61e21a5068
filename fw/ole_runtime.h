// OLE of the windows, with ole32.dll loaded on first use instead of at process start
// (os/win32/late_library.h). Under Wine, loading OLE costs more than all the rest of a window's
// start-up, and nothing needs it before the window is up. Every OLE entry point the windows call
// goes through here; the library stays loaded for the life of the process once it was needed.
#pragma once
#include <windows.h>
#include <objbase.h>

#include "os/win32/late_library.h"

namespace ole {

HRESULT Initialize();          // OleInitialize(NULL)
void Uninitialize();           // OleUninitialize
using late::CoInit;            // CoInitialize(NULL)
using late::CoUninit;          // CoUninitialize
using late::CreateInstance;    // CoCreateInstance

// Any other ole32 export, typed by the caller; null when it cannot be had.
FARPROC Proc(const char* name);

}  // namespace ole
