#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstring>

#include "os/path_text.h"
#include "os/shell_link.h"
#include "os/win32/late_library.h"

namespace os {
namespace {

// Owns one COM interface pointer and releases it on every path.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  void** out() { return reinterpret_cast<void**>(&p_); }

 private:
  T* p_ = nullptr;
};

// Initialises COM for the calling thread for one call when nobody has done so, and undoes
// exactly what it did. A thread that already runs in another apartment model keeps it.
class ComScope {
 public:
  ComScope() : hr_(late::CoInit()) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) late::CoUninit();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

// MultiByteToWideChar (CP_ACP) into a MAX_PATH buffer; false when the path does not fit.
bool ToWide(const char* path, WCHAR (&wide)[MAX_PATH]) {
  return ::MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) > 0;
}

void SetFailure(HRESULT hr) {
  ::SetLastError(HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr)
                                                          : ERROR_INVALID_PARAMETER);
}

// A new shell link object with its file interface.
HRESULT MakeLink(ComPtr<IShellLinkA>& link, ComPtr<IPersistFile>& file) {
  HRESULT hr = late::CreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IShellLinkA, link.out());
  if (FAILED(hr)) return hr;
  return link->QueryInterface(IID_IPersistFile, file.out());
}

class Win32ShellLinks final : public ShellLinks {
 public:
  bool Read(const char* path, ShellLinkData& out) override {
    out = ShellLinkData();
    WCHAR wide[MAX_PATH];
    if (!ToWide(path, wide)) return false;
    ComScope com;
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    HRESULT hr = MakeLink(link, file);
    if (FAILED(hr)) return SetFailure(hr), false;
    hr = file->Load(wide, STGM_READ);
    if (FAILED(hr)) return SetFailure(hr), false;

    char buf[kShellLinkTextBuffer];
    // A text is taken only whole: one that fills the buffer may have been cut there.
    auto take = [&](std::string& field, bool& got) {
      if (TakeWholeText(buf, sizeof(buf), kShellLinkTextMax, field)) {
        got = true;
      } else {
        field.clear();
        out.tooLong = true;
      }
    };
    WIN32_FIND_DATAA fd{};
    buf[0] = '\0';
    if (SUCCEEDED(link->GetPath(buf, sizeof(buf), &fd, 0))) {
      take(out.path, out.gotPath);
      if (out.gotPath) {
        out.pathData.attributes = fd.dwFileAttributes;
        out.pathData.size = (static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
        std::memcpy(out.pathData.name, fd.cFileName, sizeof(out.pathData.name));
        out.pathData.name[sizeof(out.pathData.name) - 1] = '\0';
      }
    }
    buf[0] = '\0';
    if (SUCCEEDED(link->GetArguments(buf, sizeof(buf)))) take(out.arguments, out.gotArguments);
    int show = 0;
    if (SUCCEEDED(link->GetShowCmd(&show))) {
      out.showCommand = show;
      out.gotShowCommand = true;
    }
    buf[0] = '\0';
    if (SUCCEEDED(link->GetWorkingDirectory(buf, sizeof(buf))))
      take(out.workingDirectory, out.gotWorkingDirectory);
    buf[0] = '\0';
    int index = 0;
    if (SUCCEEDED(link->GetIconLocation(buf, sizeof(buf), &index))) {
      // An icon that does not fit is no icon; it does not make the shortcut unusable.
      if (TakeWholeText(buf, sizeof(buf), kShellLinkTextMax, out.iconLocation)) {
        out.iconIndex = index;
        out.gotIconLocation = true;
      }
    }
    return true;
  }

  bool Write(const char* path, const ShellLinkFields& wanted) override {
    WCHAR wide[MAX_PATH];
    if (!ToWide(path, wide)) return false;
    ComScope com;
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    HRESULT hr = MakeLink(link, file);
    if (FAILED(hr)) return SetFailure(hr), false;
    if (FAILED(hr = link->SetPath(wanted.target.c_str()))) return SetFailure(hr), false;
    if (FAILED(hr = link->SetIconLocation(wanted.iconLocation.c_str(), 0)))
      return SetFailure(hr), false;
    if (FAILED(hr = link->SetDescription(wanted.description.c_str())))
      return SetFailure(hr), false;
    link->SetWorkingDirectory(wanted.workingDirectory.c_str());
    if (!wanted.arguments.empty() && FAILED(hr = link->SetArguments(wanted.arguments.c_str())))
      return SetFailure(hr), false;
    if (FAILED(hr = file->Save(wide, TRUE))) return SetFailure(hr), false;
    return true;
  }
};

}  // namespace

ShellLinks& BackendShellLinks() {
  static Win32ShellLinks links;
  return links;
}

}  // namespace os
