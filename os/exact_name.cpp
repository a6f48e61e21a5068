#include "os/exact_name.h"

#include <cstring>

#include "os/last_error.h"
#include "os/mbcs.h"
#include "os/services.h"

namespace os {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Characters that no name may hold on Windows (a control character aside). "\" and "|" can be
// the trail byte of a double-byte character and are looked for character by character.
bool IsReservedCharacter(unsigned char c) { return c != 0 && std::strchr("\\/:*?\"<>|", c); }

}  // namespace

bool HasWildcards(const char* path) {
  return path && std::strpbrk(path, "*?") != nullptr;
}

bool IsDosDeviceName(std::string_view name) {
  // The device is what stands before the first dot, blanks after it dropped, as the path calls
  // take it. (A dot or blank is never a trail byte, so a byte scan finds the right ones.)
  std::size_t n = name.find('.');
  if (n == std::string_view::npos) n = name.size();
  while (n > 0 && name[n - 1] == ' ') --n;
  if (n != 3 && n != 4) return false;
  char base[4];
  for (std::size_t i = 0; i < n; ++i) base[i] = Upper(name[i]);
  const std::string_view b(base, n);
  if (n == 3) return b == "CON" || b == "PRN" || b == "AUX" || b == "NUL";
  return (b.substr(0, 3) == "COM" || b.substr(0, 3) == "LPT") && base[3] >= '1' && base[3] <= '9';
}

bool NameLeadsBack(const char* name) {
  if (!name || !*name) return false;
  if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return true;
  // A control character is never a trail byte (those start at 0x40): every byte counts.
  for (const char* p = name; *p; ++p)
    if (static_cast<unsigned char>(*p) < 0x20) return false;
  for (const char* p = name; *p; p = mbcs::Next(p)) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (!(mbcs::IsLeadByte(c) && p[1]) && IsReservedCharacter(c)) return false;
  }
  // Dots and blanks at the end are dropped (so a name of dots only goes altogether); neither
  // is ever a trail byte.
  const std::size_t size = std::strlen(name);
  if (name[size - 1] == '.' || name[size - 1] == ' ') return false;
  return !IsDosDeviceName(std::string_view(name, size));
}

const char* AddressName(const char* name, const char* alias, bool unmappable) {
  if (!unmappable) return name;
  return alias && *alias && NameLeadsBack(alias) ? alias : nullptr;
}

bool FindExact(const char* path, FindData& out) {
  if (HasWildcards(path)) {
    SetLastError(kErrInvalidName);
    return false;
  }
  return Fs().FindFirst(path, out) != nullptr;
}

}  // namespace os
