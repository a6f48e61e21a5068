#include "tests/unit/wide_names.h"

#ifdef _WIN32
#include <windows.h>

#include "tests/unit/engine_test_support.h"
#else
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "os/posix/path_map.h"
#endif

namespace testutil {
namespace {

#ifdef _WIN32

// "\\?\" and the full path: the wide calls then drop no dot or blank at a name's end and take
// no name for a device.
std::wstring WidePath(const std::string& dir, const std::u16string& name) {
  std::wstring path(dir.size() + 1, L'\0');
  const int n = ::MultiByteToWideChar(932, 0, dir.c_str(), -1, path.data(),
                                      static_cast<int>(path.size()));
  path.resize(n > 0 ? n - 1 : 0);
  path.append(name.begin(), name.end());
  if (path.size() > 2 && path[1] == L':') path.insert(0, L"\\\\?\\");
  return path;
}

// Whether dir lists an entry of exactly this name.
bool Lists(const std::string& dir, const std::string& name) {
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((dir + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool found = false;
  do found = found || name == fd.cFileName;
  while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  return found;
}

#else

std::string Utf8(const std::u16string& name) {
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    uint32_t c = name[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < name.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (name[++i] - 0xDC00);
    }
    if (c == '\\') {
      out += '/';  // a path below the directory
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string HostPath(const std::string& dir, const std::u16string& name) {
  const std::string host = os::posix::ToHostPath(dir.c_str());
  return host.empty() ? host : host + "/" + Utf8(name);
}

#endif

}  // namespace

#ifdef _WIN32

bool WriteWideNamedFile(const std::string& dir, const std::u16string& name,
                        const std::string& bytes) {
  HANDLE h = ::CreateFileW(WidePath(dir, name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD done = 0;
  const BOOL ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
  ::CloseHandle(h);
  return ok && done == bytes.size();
}

bool ReadWideNamedFile(const std::string& dir, const std::u16string& name, std::string& out) {
  out.clear();
  HANDLE h = ::CreateFileW(WidePath(dir, name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  char buf[4096];
  DWORD n = 0;
  bool ok = true;
  while ((ok = ::ReadFile(h, buf, sizeof(buf), &n, nullptr) != FALSE) && n > 0) out.append(buf, n);
  ::CloseHandle(h);
  return ok;
}

bool WideNamedFileExists(const std::string& dir, const std::u16string& name) {
  return ::GetFileAttributesW(WidePath(dir, name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeWideNamedDirectory(const std::string& dir, const std::u16string& name) {
  return ::CreateDirectoryW(WidePath(dir, name).c_str(), nullptr) != FALSE;
}

bool RemoveWideNamed(const std::string& dir, const std::u16string& name) {
  const std::wstring path = WidePath(dir, name);
  const DWORD a = ::GetFileAttributesW(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return (a & FILE_ATTRIBUTE_DIRECTORY) ? ::RemoveDirectoryW(path.c_str()) != FALSE
                                        : ::DeleteFileW(path.c_str()) != FALSE;
}

bool MakeHostNamedFile(const std::string& dir, const std::string& name) {
  const std::string host = enginetest::UnixName(dir);
  if (host.empty()) return false;
  return enginetest::RunHostCommand("/usr/bin/touch \"" + host + "/" + name + "\"",
                                    [&] { return Lists(dir, name); });
}

bool RemoveHostNamedFile(const std::string& dir, const std::string& name) {
  const std::string host = enginetest::UnixName(dir);
  if (host.empty()) return false;
  return enginetest::RunHostCommand("/bin/rm -f \"" + host + "/" + name + "\"",
                                    [&] { return !Lists(dir, name); });
}

#else

bool WriteWideNamedFile(const std::string& dir, const std::u16string& name,
                        const std::string& bytes) {
  const std::string path = HostPath(dir, name);
  std::FILE* f = path.empty() ? nullptr : std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

bool ReadWideNamedFile(const std::string& dir, const std::u16string& name, std::string& out) {
  out.clear();
  const std::string path = HostPath(dir, name);
  std::FILE* f = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0) out.append(buf, n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

bool WideNamedFileExists(const std::string& dir, const std::u16string& name) {
  struct stat st;
  const std::string path = HostPath(dir, name);
  return !path.empty() && lstat(path.c_str(), &st) == 0;
}

bool MakeWideNamedDirectory(const std::string& dir, const std::u16string& name) {
  const std::string path = HostPath(dir, name);
  return !path.empty() && mkdir(path.c_str(), 0777) == 0;
}

bool RemoveWideNamed(const std::string& dir, const std::u16string& name) {
  const std::string path = HostPath(dir, name);
  struct stat st;
  if (path.empty() || lstat(path.c_str(), &st) != 0) return false;
  return (S_ISDIR(st.st_mode) ? rmdir(path.c_str()) : unlink(path.c_str())) == 0;
}

bool MakeHostNamedFile(const std::string& dir, const std::string& name) {
  return WriteWideNamedFile(dir, std::u16string(name.begin(), name.end()), std::string());
}

bool RemoveHostNamedFile(const std::string& dir, const std::string& name) {
  return RemoveWideNamed(dir, std::u16string(name.begin(), name.end()));
}

#endif

}  // namespace testutil
