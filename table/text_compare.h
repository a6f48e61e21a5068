// Comparing names the way lstrcmpiA does, fast where that is safe.
#pragma once
#include <cstdint>
#include <string_view>

namespace table {

// lstrcmpiA(a, b) == 0. Two texts made only of printable ASCII characters are equal for
// lstrcmpiA exactly when they are equal ignoring ASCII case, so they are compared here without
// a call into the locale; any other text goes to os::Sys().CompareNoCase.
bool SameTextNoCase(const char* a, const char* b);

// True when every byte is a printable ASCII character (0x20 to 0x7E).
bool IsPlainAscii(const char* s);

// Names folded in their single-byte letters only: a trail byte of a double-byte character is
// never folded, so two names that fold alike are equal for lstrcmpiA.
uint32_t FoldedNameHash(std::string_view name);
bool FoldedNamesEqual(std::string_view a, std::string_view b);

}  // namespace table
