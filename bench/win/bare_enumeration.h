// The reference loop of the Windows benchmarks: FindFirstFileA / FindNextFileA over a
// directory, counting its entries.
#pragma once
#include <windows.h>

#include <string>

inline long BareEnumeration(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((dir + "\\*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  long n = 0;
  do {
    ++n;
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  return n;
}
