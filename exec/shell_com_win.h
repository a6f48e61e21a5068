// Ownership of what the shell hands out: COM interfaces (released), item lists and strings
// (freed with the shell's allocator), COM itself for one call, and popup menus (destroyed).
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>

#include "fw/lazy_api.h"
#include "fw/ole_runtime.h"

namespace exec {

// COM for one call, initialised for it when nobody did before (CoInitialize answers S_FALSE
// when it was, and is balanced all the same).
class ComForCall {
 public:
  ComForCall() : hr_(ole::CoInit()) {}
  ~ComForCall() {
    if (SUCCEEDED(hr_)) ole::CoUninit();
  }
  ComForCall(const ComForCall&) = delete;
  ComForCall& operator=(const ComForCall&) = delete;

 private:
  HRESULT hr_;
};

// Memory the shell hands out (item lists, wide strings), freed with the shell's allocator.
struct ShellFree {
  void operator()(void* p) const {
    IMalloc* m = nullptr;
    if (p && SUCCEEDED(lazy::SHGetMalloc(&m)) && m) {
      m->Free(p);
      m->Release();
    }
  }
};
using ItemList = std::unique_ptr<ITEMIDLIST, ShellFree>;

struct ComRelease {
  void operator()(IUnknown* p) const {
    if (p) p->Release();
  }
};
template <class T>
using ComPtr = std::unique_ptr<T, ComRelease>;
using ShellFolder = ComPtr<IShellFolder>;

struct MenuDestroy {
  void operator()(HMENU m) const {
    if (m) ::DestroyMenu(m);
  }
};
using OwnedMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroy>;

// ANSI (code page of the system) text of a wide string, and back; empty when it does not convert.
std::string WideToAnsi(const wchar_t* w);
std::wstring AnsiToWide(const std::string& s);

}  // namespace exec
