#include "exec/shell_com_win.h"

#include <vector>

namespace exec {

std::string WideToAnsi(const wchar_t* w) {
  int n = ::WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::vector<char> buf(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, w, -1, buf.data(), n, nullptr, nullptr);
  return std::string(buf.data());
}

std::wstring AnsiToWide(const std::string& s) {
  int n = ::MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
  if (n <= 0) return std::wstring();
  std::vector<wchar_t> buf(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, buf.data(), n);
  return std::wstring(buf.data());
}

}  // namespace exec
