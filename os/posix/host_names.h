// File names on the host are UTF-8, as Wine keeps them; the program's names are code page 932.
// A host name whose characters all have an exact CP932 form lists as that form; any other
// character lists as the system's look-alike: a best-fit letter for an accented Latin letter
// ("e" for U+00E9), "?" for the rest, and the name is then flagged as not leading back to its
// entry (only its 8.3 alias does).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace os::posix {

// The host form of a CP932 name or path text. Bytes that are not CP932 text are kept as they
// are, so every name the program can write still reaches some host name.
std::string HostFromWinName(std::string_view cp932);

// The CP932 form of a host name into out, as the ANSI directory search lists it. False when
// the listed name does not lead back to this host name (a character without an exact form, or
// bytes that are not UTF-8).
bool WinFromHostName(std::string_view host, std::string& out);

// The UTF-16 code units of a host name (bytes that are not UTF-8 give U+FFFD each) into out,
// which has room for maxUnits; returns the number of units written (cut at maxUnits).
std::size_t Utf16FromHostName(std::string_view host, uint16_t* out, std::size_t maxUnits);

// The best-fit look-alike of a character without a CP932 form (0 when there is none).
char BestFitCharacter(uint32_t codePoint);

}  // namespace os::posix
