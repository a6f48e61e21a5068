#include "fw/ole_runtime.h"

namespace ole {
namespace {

template <typename Fn>
Fn Get(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(Proc(name)));
}

}  // namespace

FARPROC Proc(const char* name) { return late::Proc("ole32.dll", name); }

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

}  // namespace ole
