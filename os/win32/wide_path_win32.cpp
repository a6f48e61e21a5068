#include "os/win32/wide_path.h"

#include <windows.h>

#include <cwchar>

#include "os/exact_name.h"
#include "os/mbcs.h"

namespace os {
namespace {

constexpr UINT kCodePage = 932;

// The exact conversion of a wide text: false when a character has no form in the code page
// or converts one way only.
bool ExactAnsi(const wchar_t* wide, std::string& out) {
  char buf[2 * MAX_PATH + 2];
  BOOL usedDefault = FALSE;
  const int n = ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, -1, buf,
                                      sizeof(buf), nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return false;
  wchar_t back[2 * MAX_PATH + 2];
  const int m = ::MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, buf, -1, back,
                                      sizeof(back) / sizeof(back[0]));
  if (m <= 0 || std::wcscmp(back, wide) != 0) return false;
  out.assign(buf, n - 1);
  return true;
}

// Whether every name of a full path reaches what it names (os::NameLeadsBack): "Z:\d.\f"
// would reach "Z:\d\f". The drive and the empty parts of a network path's start aside.
bool ComponentsLeadBack(const std::string& path) {
  const char* p = path.c_str();
  if (path.size() >= 2 && path[1] == ':') p += 2;
  std::string part;
  for (;; p = mbcs::Next(p)) {
    if (*p == '\\' || *p == '\0') {
      if (!part.empty() && !os::NameLeadsBack(part.c_str())) return false;
      part.clear();
      if (!*p) return true;
      continue;
    }
    part.append(p, static_cast<std::size_t>(mbcs::Next(p) - p));
  }
}

}  // namespace

bool WidePathToAnsi(const std::wstring& w, std::string& out) {
  if (ExactAnsi(w.c_str(), out) && ComponentsLeadBack(out)) return true;
  // The short form is asked for under "\\?\", which the path calls take as it stands: asked
  // for "a." itself, they would answer for its neighbour "a".
  const bool unc = w.size() > 2 && w[0] == L'\\' && w[1] == L'\\';
  const std::wstring prefix = unc ? L"\\\\?\\UNC\\" : L"\\\\?\\";
  const std::wstring asked = prefix + (unc ? w.substr(2) : w);
  wchar_t alias[MAX_PATH + 16];
  const DWORD n = ::GetShortPathNameW(asked.c_str(), alias, MAX_PATH + 16);
  if (n == 0 || n >= MAX_PATH + 16 || std::wcsncmp(alias, prefix.c_str(), prefix.size()) != 0)
    return false;
  const std::wstring shortPath = (unc ? L"\\\\" : L"") + std::wstring(alias + prefix.size());
  return shortPath.size() <= MAX_PATH && ExactAnsi(shortPath.c_str(), out) &&
         ComponentsLeadBack(out);
}

}  // namespace os
