#include "fileops/shell_data_object_win.h"

#include <shlobj.h>

#include "fw/lazy_api.h"
#include "fw/ole_runtime.h"

namespace fileops {
namespace {

std::wstring Wide(const std::string& text) {
  const int n = ::MultiByteToWideChar(932, 0, text.c_str(), -1, nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring w(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(932, 0, text.c_str(), -1, w.data(), n);
  w.resize(static_cast<size_t>(n - 1));
  return w;
}

void FreeIdList(LPITEMIDLIST list) {
  using Fn = void(WINAPI*)(LPVOID);
  static Fn fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(ole::Proc("CoTaskMemFree")));
  if (list && fn) fn(list);
}

// An interface released when it goes.
template <typename T>
struct Held {
  T* p = nullptr;
  ~Held() {
    if (p) p->Release();
  }
};

}  // namespace

IDataObject* ShellDataObjectFor(const std::string& directory,
                                const std::vector<std::string>& names) {
  if (names.empty()) return nullptr;
  Held<IShellFolder> desktop;
  if (FAILED(lazy::SHGetDesktopFolder(&desktop.p)) || !desktop.p) return nullptr;
  std::wstring wdir = Wide(directory);
  LPITEMIDLIST dirList = nullptr;
  if (wdir.empty() ||
      FAILED(desktop.p->ParseDisplayName(nullptr, nullptr, wdir.data(), nullptr, &dirList,
                                         nullptr)))
    return nullptr;
  Held<IShellFolder> folder;
  const HRESULT bound = desktop.p->BindToObject(dirList, nullptr, IID_IShellFolder,
                                                reinterpret_cast<void**>(&folder.p));
  FreeIdList(dirList);
  if (FAILED(bound) || !folder.p) return nullptr;
  std::vector<LPITEMIDLIST> items;
  bool ok = true;
  for (const std::string& name : names) {
    std::wstring wname = Wide(name);
    LPITEMIDLIST item = nullptr;
    if (wname.empty() ||
        FAILED(folder.p->ParseDisplayName(nullptr, nullptr, wname.data(), nullptr, &item,
                                          nullptr))) {
      ok = false;
      break;
    }
    items.push_back(item);
  }
  IDataObject* data = nullptr;
  if (ok &&
      FAILED(folder.p->GetUIObjectOf(nullptr, static_cast<UINT>(items.size()),
                                     const_cast<LPCITEMIDLIST*>(
                                         reinterpret_cast<LPITEMIDLIST*>(items.data())),
                                     IID_IDataObject, nullptr, reinterpret_cast<void**>(&data))))
    data = nullptr;
  for (LPITEMIDLIST item : items) FreeIdList(item);
  return data;
}

}  // namespace fileops
