// The copy engine over real Win32 against CopyFileA on the same data: a tree walk with
// FindFirstFileA, CreateDirectoryA and CopyFileA per file, and CopyFileA on the large file.
//   copy_win_bench.exe [directory for the data]   (default: the temporary directory)
// A first argument that names a file (the benchmark script passes SORM32.EXE) is not taken
// for the data directory.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/copy_bench_common.h"

namespace {

bool IsDots(const char* n) { return n[0] == '.' && (!n[1] || (n[1] == '.' && !n[2])); }

bool CopyTreeWin(const std::string& from, const std::string& to) {
  ::CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((from + "\\*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  do {
    if (IsDots(fd.cFileName)) continue;
    const std::string s = from + "\\" + fd.cFileName, d = to + "\\" + fd.cFileName;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      ok = CopyTreeWin(s, d) && ok;
    else
      ok = ::CopyFileA(s.c_str(), d.c_str(), FALSE) && ok;
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  return ok;
}

void RemoveWin(const std::string& path) {
  DWORD a = ::GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return;
  if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
    ::DeleteFileA(path.c_str());
    return;
  }
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((path + "\\*.*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (!IsDots(fd.cFileName)) RemoveWin(path + "\\" + fd.cFileName);
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
  }
  ::RemoveDirectoryA(path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  std::string base;
  const DWORD given = argc > 1 ? ::GetFileAttributesA(argv[1]) : INVALID_FILE_ATTRIBUTES;
  if (argc > 1 && (given == INVALID_FILE_ATTRIBUTES || (given & FILE_ATTRIBUTE_DIRECTORY))) {
    base = argv[1];
  } else {
    char temp[MAX_PATH] = {};
    DWORD n = ::GetTempPathA(sizeof(temp), temp);
    base = std::string(temp, n < sizeof(temp) ? n : 0) + "sorm_copy_bench";
  }
  if (base.empty() || base.back() != '\\') base += '\\';
  copybench::Host host;
  host.referenceName = "CopyFileA";
  host.copyTree = CopyTreeWin;
  host.copyFile = [](const std::string& from, const std::string& to) {
    return ::CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
  };
  host.remove = RemoveWin;
  host.settle = [] {};
  int r = copybench::RunAll(host, base);
  std::fflush(stdout);
  return r;
}
