#include "fw/lazy_api.h"

#include "os/win32/late_library.h"

namespace lazy {
namespace {

template <typename Fn>
Fn Get(const char* library, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(Proc(library, name)));
}

}  // namespace

FARPROC Proc(const char* library, const char* name) { return late::Proc(library, name); }

DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags) {
  using Fn = DWORD_PTR(WINAPI*)(LPCSTR, DWORD, SHFILEINFOA*, UINT, UINT);
  static Fn fn = Get<Fn>("shell32.dll", "SHGetFileInfoA");
  return fn ? fn(path, attributes, info, size, flags) : 0;
}

LPITEMIDLIST SHBrowseForFolderA(LPBROWSEINFOA bi) {
  using Fn = LPITEMIDLIST(WINAPI*)(LPBROWSEINFOA);
  static Fn fn = Get<Fn>("shell32.dll", "SHBrowseForFolderA");
  return fn ? fn(bi) : nullptr;
}

HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                        LPCSTR directory, INT show) {
  using Fn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  static Fn fn = Get<Fn>("shell32.dll", "ShellExecuteA");
  return fn ? fn(owner, verb, file, parameters, directory, show) : nullptr;
}

HRESULT SHGetDesktopFolder(IShellFolder** folder) {
  using Fn = HRESULT(WINAPI*)(IShellFolder**);
  static Fn fn = Get<Fn>("shell32.dll", "SHGetDesktopFolder");
  if (!fn) *folder = nullptr;
  return fn ? fn(folder) : E_NOTIMPL;
}

HRESULT SHGetMalloc(IMalloc** malloc) {
  using Fn = HRESULT(WINAPI*)(IMalloc**);
  static Fn fn = Get<Fn>("shell32.dll", "SHGetMalloc");
  if (!fn) *malloc = nullptr;
  return fn ? fn(malloc) : E_NOTIMPL;
}

void DragAcceptFiles(HWND window, BOOL accept) {
  using Fn = void(WINAPI*)(HWND, BOOL);
  static Fn fn = Get<Fn>("shell32.dll", "DragAcceptFiles");
  if (fn) fn(window, accept);
}

BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn) {
  using Fn = BOOL(WINAPI*)(LPOPENFILENAMEA);
  static Fn fn = Get<Fn>("comdlg32.dll", "GetOpenFileNameA");
  return fn ? fn(ofn) : FALSE;
}

DWORD WNetConnectionDialog(HWND owner, DWORD type) {
  using Fn = DWORD(WINAPI*)(HWND, DWORD);
  static Fn fn = Get<Fn>("mpr.dll", "WNetConnectionDialog");
  return fn ? fn(owner, type) : ERROR_NOT_SUPPORTED;
}

DWORD WNetDisconnectDialog(HWND owner, DWORD type) {
  using Fn = DWORD(WINAPI*)(HWND, DWORD);
  static Fn fn = Get<Fn>("mpr.dll", "WNetDisconnectDialog");
  return fn ? fn(owner, type) : ERROR_NOT_SUPPORTED;
}

DWORD WNetGetConnectionA(LPCSTR local, LPSTR remote, LPDWORD size) {
  using Fn = DWORD(WINAPI*)(LPCSTR, LPSTR, LPDWORD);
  static Fn fn = Get<Fn>("mpr.dll", "WNetGetConnectionA");
  return fn ? fn(local, remote, size) : ERROR_NOT_SUPPORTED;
}

}  // namespace lazy
