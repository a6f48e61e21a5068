#include "os/win32/ole_runtime.h"

namespace ole {
namespace {

HMODULE Library() {
  static HMODULE lib = ::LoadLibraryA("ole32.dll");
  return lib;
}

template <typename Fn>
Fn Get(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(Proc(name)));
}

}  // namespace

FARPROC Proc(const char* name) {
  HMODULE lib = Library();
  return lib ? ::GetProcAddress(lib, name) : nullptr;
}

HRESULT Initialize() {
  using Fn = HRESULT(WINAPI*)(LPVOID);
  static Fn fn = Get<Fn>("OleInitialize");
  return fn ? fn(nullptr) : E_NOTIMPL;
}

void Uninitialize() {
  using Fn = void(WINAPI*)();
  static Fn fn = Get<Fn>("OleUninitialize");
  if (fn) fn();
}

HRESULT CoInit() {
  using Fn = HRESULT(WINAPI*)(LPVOID);
  static Fn fn = Get<Fn>("CoInitialize");
  return fn ? fn(nullptr) : E_NOTIMPL;
}

void CoUninit() {
  using Fn = void(WINAPI*)();
  static Fn fn = Get<Fn>("CoUninitialize");
  if (fn) fn();
}

HRESULT CreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, void** out) {
  using Fn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  static Fn fn = Get<Fn>("CoCreateInstance");
  if (!fn) {
    *out = nullptr;
    return E_NOTIMPL;
  }
  return fn(clsid, outer, context, iid, out);
}

}  // namespace ole
