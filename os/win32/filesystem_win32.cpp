#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <cwchar>
#include <mutex>
#include <string>

#include "os/exact_name.h"
#include "os/win32/late_library.h"
#include "os/win32/win32_backend.h"

namespace os::win32 {
namespace {

FileTime FromFt(const FILETIME& ft) {
  return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}
FILETIME ToFt(FileTime t) {
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(t);
  ft.dwHighDateTime = static_cast<DWORD>(t >> 32);
  return ft;
}

constexpr UINT kCodePage = 932;

// An open handle, closed when it goes.
class OpenHandle {
 public:
  explicit OpenHandle(HANDLE h) : h_(h) {}
  OpenHandle(const OpenHandle&) = delete;
  OpenHandle& operator=(const OpenHandle&) = delete;
  ~OpenHandle() {
    if (Valid()) ::CloseHandle(h_);
  }
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }

 private:
  HANDLE h_;
};

// The path the system resolved a file or directory to when it opened it (links followed),
// without a trailing backslash; empty when the system cannot say.
std::wstring FinalPath(const std::wstring& path) {
  using Fn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
  // Asked for by name: systems before Vista do not have it.
  static const Fn get = reinterpret_cast<Fn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleW")));
  if (!get) return std::wstring();
  OpenHandle h(::CreateFileW(path.c_str(), 0,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!h.Valid()) return std::wstring();
  std::wstring out(MAX_PATH, L'\0');
  for (int tries = 0; tries < 2; ++tries) {
    const DWORD n = get(h.Get(), out.data(), static_cast<DWORD>(out.size()), 0);
    if (n == 0) return std::wstring();
    if (n < out.size()) {
      out.resize(n);
      while (!out.empty() && out.back() == L'\\') out.pop_back();
      return out;
    }
    out.assign(n, L'\0');  // n is the size needed
  }
  return std::wstring();
}

// FinalPath of a directory, remembered for a second: a tree delete or move asks for the same
// directory once per file. (A directory replaced meanwhile changes what its files resolve to,
// and they then count as links: refused, never the wrong file.)
std::wstring ResolvedDirectory(const std::wstring& directory) {
  static std::mutex lock;
  static std::wstring asked, resolved;
  static DWORD when = 0;
  constexpr DWORD kRememberMs = 1000;
  {
    const std::lock_guard<std::mutex> hold(lock);
    if (!asked.empty() && asked == directory && ::GetTickCount() - when < kRememberMs)
      return resolved;
  }
  std::wstring now = FinalPath(directory);
  const std::lock_guard<std::mutex> hold(lock);
  asked = now.empty() ? std::wstring() : directory;
  resolved = now;
  when = ::GetTickCount();
  return now;
}

// Wine lists a Unix link to a file as a plain file and resolves it whenever it opens the
// path, so a delete or rename reaches what the link leads to. The file's resolved path differs
// from its directory's resolved path joined with its own name exactly when its last component
// is such a link (a directory reached through a link changes both alike).
bool LeadsElsewhere(const char* path) {
  if (HasWildcards(path)) return false;
  WCHAR wide[MAX_PATH];
  if (::MultiByteToWideChar(kCodePage, 0, path, -1, wide, MAX_PATH) <= 0) return false;
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW(wide, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  ::FindClose(search);
  const std::wstring file(wide);
  const std::size_t cut = file.find_last_of(L'\\');
  if (cut == std::wstring::npos) return false;
  // "C:\x" lies in the root "C:\", which names the drive only with its backslash.
  const bool inRoot = cut == 2 && file[1] == L':';
  const std::wstring resolvedFile = FinalPath(file);
  const std::wstring resolvedDirectory = ResolvedDirectory(file.substr(0, inRoot ? 3 : cut));
  if (resolvedFile.empty() || resolvedDirectory.empty()) return false;
  // The resolved path comes back through the path rules that drop a last component's trailing
  // dots and blanks ("a." answers "...\a"): the name is compared after the same rewriting.
  std::wstring name(found.cFileName);
  while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
  if (name.empty()) return false;  // dots only: no resolved name to compare with
  const std::wstring expected = resolvedDirectory + L"\\" + name;
  return ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, resolvedFile.c_str(), -1,
                          expected.c_str(), -1) != CSTR_EQUAL;
}

// A search record's long name as FindFirstFileA would give it (the code page's conversion,
// best fit included, cut to 259 bytes), flagged unmappable when it does not lead back to the
// entry: a character without an exact form, or a name too long for the record.
void ConvertName(const WCHAR* wide, FindData& out) {
  std::size_t i = 0;
  for (; wide[i] && wide[i] < 0x80 && i + 1 < sizeof(out.name); ++i)
    out.name[i] = static_cast<char>(wide[i]);
  if (!wide[i]) {
    out.name[i] = '\0';
    return;
  }
  BOOL usedDefault = FALSE;
  int n = ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, -1, out.name,
                                sizeof(out.name), nullptr, &usedDefault);
  if (n > 0 && !usedDefault) {
    // The conversion table may still hold a one-way mapping: the name must convert back.
    WCHAR back[MAX_PATH];
    int m = ::MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, out.name, -1, back, MAX_PATH);
    if (m > 0 && std::wcscmp(back, wide) == 0) return;
  }
  out.unmappable = true;
  char full[2 * MAX_PATH + 2];
  n = ::WideCharToMultiByte(kCodePage, 0, wide, -1, full, sizeof(full), nullptr, nullptr);
  if (n <= 0) {
    out.name[0] = '\0';
    return;
  }
  // Cut at a character boundary so that the record holds whole characters only.
  std::size_t keep = 0;
  for (std::size_t at = 0; full[at];) {
    const std::size_t len =
        ::IsDBCSLeadByteEx(kCodePage, static_cast<BYTE>(full[at])) && full[at + 1] ? 2 : 1;
    if (at + len >= sizeof(out.name)) break;
    at += len;
    keep = at;
  }
  std::memcpy(out.name, full, keep);
  out.name[keep] = '\0';
}

void Convert(const WIN32_FIND_DATAW& w, FindData& out) {
  out = FindData{};
  out.attributes = w.dwFileAttributes;
  out.creationTime = FromFt(w.ftCreationTime);
  out.lastAccessTime = FromFt(w.ftLastAccessTime);
  out.lastWriteTime = FromFt(w.ftLastWriteTime);
  out.size = (static_cast<uint64_t>(w.nFileSizeHigh) << 32) | w.nFileSizeLow;
  ConvertName(w.cFileName, out);
  // A name the path calls would rewrite ("a." is "a") leads elsewhere as much as a look-alike.
  if (!NameLeadsBack(out.name)) out.unmappable = true;
  // An alias is plain 8.3 text; one that does not convert has no use.
  BOOL usedDefault = FALSE;
  if (::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, w.cAlternateFileName, -1,
                            out.alternateName, sizeof(out.alternateName), nullptr,
                            &usedDefault) <= 0 ||
      usedDefault)
    out.alternateName[0] = '\0';
}

class Win32Finder final : public Finder {
 public:
  explicit Win32Finder(HANDLE h) : h_(h) {}
  ~Win32Finder() override { ::FindClose(h_); }
  Win32Finder(const Win32Finder&) = delete;
  Win32Finder& operator=(const Win32Finder&) = delete;
  bool Next(FindData& out) override {
    WIN32_FIND_DATAW w;
    if (!::FindNextFileW(h_, &w)) return false;
    Convert(w, out);
    return true;
  }

 private:
  HANDLE h_;
};

class Win32File final : public File {
 public:
  explicit Win32File(HANDLE h) : h_(h) {}
  ~Win32File() override { ::CloseHandle(h_); }
  Win32File(const Win32File&) = delete;
  Win32File& operator=(const Win32File&) = delete;

  bool Read(void* buf, uint32_t size, uint32_t* done) override {
    DWORD n = 0;
    BOOL ok = ::ReadFile(h_, buf, size, &n, nullptr);
    if (done) *done = n;
    return ok != FALSE;
  }
  bool Write(const void* buf, uint32_t size, uint32_t* done) override {
    DWORD n = 0;
    BOOL ok = ::WriteFile(h_, buf, size, &n, nullptr);
    if (done) *done = n;
    return ok != FALSE;
  }
  bool Size(uint64_t* size) override {
    DWORD high = 0;
    DWORD low = ::GetFileSize(h_, &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) return false;
    *size = (static_cast<uint64_t>(high) << 32) | low;
    return true;
  }
  bool Seek(uint64_t pos) override {
    LONG high = static_cast<LONG>(pos >> 32);
    DWORD r = ::SetFilePointer(h_, static_cast<LONG>(pos & 0xFFFFFFFFu), &high, FILE_BEGIN);
    return !(r == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR);
  }
  bool SetEnd() override { return ::SetEndOfFile(h_) != FALSE; }
  bool GetTimes(FileTime* creation, FileTime* access, FileTime* write) override {
    FILETIME c, a, w;
    if (!::GetFileTime(h_, &c, &a, &w)) return false;
    if (creation) *creation = FromFt(c);
    if (access) *access = FromFt(a);
    if (write) *write = FromFt(w);
    return true;
  }
  bool SetTimes(const FileTime* creation, const FileTime* access,
                const FileTime* write) override {
    FILETIME c, a, w;
    if (creation) c = ToFt(*creation);
    if (access) a = ToFt(*access);
    if (write) w = ToFt(*write);
    return ::SetFileTime(h_, creation ? &c : nullptr, access ? &a : nullptr,
                         write ? &w : nullptr) != FALSE;
  }

 private:
  HANDLE h_;
};

class Win32FileSystemImpl final : public FileSystem {
 public:
  // The wide search, so that each name's conversion can be checked; the pattern converts as
  // FindFirstFileA converts it, into at most MAX_PATH characters.
  std::unique_ptr<Finder> FindFirst(const char* pattern, FindData& out) override {
    WCHAR widePattern[MAX_PATH];
    if (::MultiByteToWideChar(kCodePage, 0, pattern, -1, widePattern, MAX_PATH) <= 0) {
      ::SetLastError(::GetLastError() == ERROR_INSUFFICIENT_BUFFER ? ERROR_FILENAME_EXCED_RANGE
                                                                     : ERROR_INVALID_NAME);
      return nullptr;
    }
    WIN32_FIND_DATAW w;
    HANDLE h = ::FindFirstFileW(widePattern, &w);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    Convert(w, out);
    return std::make_unique<Win32Finder>(h);
  }
  std::unique_ptr<File> Open(const char* path, uint32_t access, uint32_t share,
                             uint32_t disposition) override {
    HANDLE h = ::CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32File>(h);
  }
  std::unique_ptr<File> OpenForTimes(const char* path) override {
    HANDLE h = ::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32File>(h);
  }
  bool GetIdentity(const char* path, FileIdentity& out) override {
    HANDLE h = ::CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    const BOOL ok = ::GetFileInformationByHandle(h, &info);
    const DWORD error = ::GetLastError();
    ::CloseHandle(h);
    if (!ok) {
      ::SetLastError(error);
      return false;
    }
    out.volume = info.dwVolumeSerialNumber;
    out.index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    if (out.index == 0) {
      // A file system that numbers no files cannot tell them apart this way.
      ::SetLastError(ERROR_NOT_SUPPORTED);
      return false;
    }
    return true;
  }
  uint32_t GetAttributes(const char* path) override { return ::GetFileAttributesA(path); }
  bool SetAttributes(const char* path, uint32_t a) override {
    return ::SetFileAttributesA(path, a) != FALSE;
  }
  bool CreateDir(const char* path) override { return ::CreateDirectoryA(path, nullptr) != FALSE; }
  bool RemoveDir(const char* path) override { return ::RemoveDirectoryA(path) != FALSE; }
  bool DeleteFile(const char* path) override { return ::DeleteFileA(path) != FALSE; }
  bool MoveFile(const char* from, const char* to) override {
    return ::MoveFileA(from, to) != FALSE;
  }
  bool ReplaceFile(const char* from, const char* to) override {
    return ::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != FALSE;
  }
  bool ShellDelete(const char* path, bool toRecycleBin) override {
    // The shell takes "*" and "?" as patterns: a name holding one is refused, never expanded.
    if (HasWildcards(path)) {
      ::SetLastError(ERROR_INVALID_NAME);
      return false;
    }
    // The shell wants a full path in a list ended by a second NUL.
    char list[MAX_PATH + 1] = {};
    DWORD n = ::GetFullPathNameA(path, MAX_PATH, list, nullptr);
    if (n == 0 || n >= MAX_PATH) {
      if (n != 0) ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
      return false;
    }
    if (ShellDeleteList(list, toRecycleBin)) return true;
    // Some shells refuse a read-only or system file; it goes like any other, as documented.
    const DWORD a = ::GetFileAttributesA(list);
    constexpr DWORD kBlocking = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM;
    if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY) || !(a & kBlocking)) {
      return false;
    }
    const DWORD error = ::GetLastError();
    if (::SetFileAttributesA(list, a & ~kBlocking) && ShellDeleteList(list, toRecycleBin))
      return true;
    ::SetFileAttributesA(list, a);
    ::SetLastError(error);
    return false;
  }
  static bool ShellDeleteList(const char* list, bool toRecycleBin) {
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = list;
    op.pTo = "\0";
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    if (toRecycleBin) op.fFlags |= FOF_ALLOWUNDO;
    int r = late::SHFileOperationA(&op);
    if (r == 0 && !op.fAnyOperationsAborted) return true;
    ::SetLastError(r != 0 ? static_cast<DWORD>(r) : ERROR_CANCELLED);
    return false;
  }
  bool IsFileLink(const char* path) override {
    const DWORD a = ::GetFileAttributesA(path);
    if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (a & FILE_ATTRIBUTE_REPARSE_POINT) return true;
    return LeadsElsewhere(path);
  }
  uint32_t GetCurrentDir(char* buf, uint32_t size) override {
    return ::GetCurrentDirectoryA(size, buf);
  }
  bool SetCurrentDir(const char* path) override {
    return ::SetCurrentDirectoryA(path) != FALSE;
  }
  uint32_t GetFullPath(const char* path, char* buf, uint32_t size) override {
    return ::GetFullPathNameA(path, size, buf, nullptr);
  }
  bool GetDiskFree(const char* path, uint64_t* freeToCaller, uint64_t* total) override {
    ULARGE_INTEGER f, t;
    if (!::GetDiskFreeSpaceExA(path, &f, &t, nullptr)) return false;
    if (freeToCaller) *freeToCaller = f.QuadPart;
    if (total) *total = t.QuadPart;
    return true;
  }
  uint32_t GetDriveType(const char* root) override { return ::GetDriveTypeA(root); }
  uint32_t GetLogicalDrives() override { return ::GetLogicalDrives(); }
  uint32_t GetTempDir(char* buf, uint32_t size) override { return ::GetTempPathA(size, buf); }
};

}  // namespace

FileSystem& Win32FileSystem() {
  static Win32FileSystemImpl fs;
  return fs;
}

}  // namespace os::win32
