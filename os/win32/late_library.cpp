#include "os/win32/late_library.h"

#include <cstring>

namespace late {
namespace {

// Each library is loaded once, by whichever thread needs it first.
HMODULE Library(const char* name) {
  if (std::strcmp(name, "shell32.dll") == 0) {
    static HMODULE shell = ::LoadLibraryA("shell32.dll");
    return shell;
  }
  if (std::strcmp(name, "ole32.dll") == 0) {
    static HMODULE ole = ::LoadLibraryA("ole32.dll");
    return ole;
  }
  if (std::strcmp(name, "comdlg32.dll") == 0) {
    static HMODULE dialogs = ::LoadLibraryA("comdlg32.dll");
    return dialogs;
  }
  if (std::strcmp(name, "mpr.dll") == 0) {
    static HMODULE network = ::LoadLibraryA("mpr.dll");
    return network;
  }
  return nullptr;
}

template <typename Fn>
Fn Get(const char* library, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(Proc(library, name)));
}

}  // namespace

FARPROC Proc(const char* library, const char* name) {
  HMODULE lib = Library(library);
  return lib ? ::GetProcAddress(lib, name) : nullptr;
}

int SHFileOperationA(LPSHFILEOPSTRUCTA op) {
  using Fn = int(WINAPI*)(LPSHFILEOPSTRUCTA);
  static Fn fn = Get<Fn>("shell32.dll", "SHFileOperationA");
  return fn ? fn(op) : ERROR_PROC_NOT_FOUND;
}

HRESULT CoInit() {
  using Fn = HRESULT(WINAPI*)(LPVOID);
  static Fn fn = Get<Fn>("ole32.dll", "CoInitialize");
  return fn ? fn(nullptr) : E_NOTIMPL;
}

void CoUninit() {
  using Fn = void(WINAPI*)();
  static Fn fn = Get<Fn>("ole32.dll", "CoUninitialize");
  if (fn) fn();
}

HRESULT CreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, void** out) {
  using Fn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  static Fn fn = Get<Fn>("ole32.dll", "CoCreateInstance");
  if (!fn) {
    *out = nullptr;
    return E_NOTIMPL;
  }
  return fn(clsid, outer, context, iid, out);
}

}  // namespace late
