// Reading and writing the configuration file (sorm.cfg) with the profile functions.
// Every read has a default; numbers are decimal; switches are "On"/"Off".
//
// Every section name, key and value the program writes into a profile file (the configuration
// file, and its link files) goes through WriteProfileValue, DeleteProfileKey and
// DeleteProfileSection, which refuse text holding a line break or a NUL: the file is
// line-based, and a value such as a file name "a\n[ExecLink]\n.txt=x.exe" would otherwise end
// its line and add a section of its own.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace config {

// Section name "INST<n>" for an instance number (n may be -1 or n+100).
std::string InstSection(int n);

// GetPrivateProfileStringA on the configuration file with a buffer of bufSize bytes, so a
// value longer than bufSize-1 bytes comes back cut exactly as the program has always read it.
std::string ReadConfigString(const std::string& section, const char* key, const char* def,
                             uint32_t bufSize = 260);
// Reads the string and converts it with atol-like rules (sign, leading digits, else 0).
long ReadConfigLong(const std::string& section, const char* key, const char* def,
                    uint32_t bufSize = 260);
// "On" (any case) is true, anything else false.
bool ReadConfigSwitch(const std::string& section, const char* key, const char* def);
// Whether text can stand in a profile file's line as a section name, key or value: false when
// it holds a carriage return, a line feed or a NUL.
bool IsProfileLineText(std::string_view text);

// WritePrivateProfileStringA on file, refused when the section name, the key or the value fails
// IsProfileLineText: then nothing is written and the result is false with
// os::kErrInvalidParameter. The value is written as given (see QuoteForProfile).
bool WriteProfileValue(const std::string& file, std::string_view section, std::string_view key,
                       std::string_view value);
// The key, or the whole section, taken out of file (a null value or key); refused the same way.
bool DeleteProfileKey(const std::string& file, std::string_view section, std::string_view key);
bool DeleteProfileSection(const std::string& file, std::string_view section);

// The section's lines replaced by entries (key, value written as given) in one write of the
// file (WritePrivateProfileSectionA), so that the file holds either the old section or the new
// one, never a part of it; no entries delete the section. Refused (false, nothing written) when
// a name or value fails IsProfileLineText, or a key is empty or holds "=" (it could not be read
// back as that key).
using ProfileEntries = std::vector<std::pair<std::string, std::string>>;
bool WriteProfileSection(const std::string& file, std::string_view section,
                         const ProfileEntries& entries);

// A value holding a double quote (or wrapped in single quotes, or with blanks at either end) is
// written inside one more pair of double quotes, because reading strips one surrounding pair
// and the blanks around a value; a null value gives "".
std::string QuoteForProfile(std::string_view value);
std::string QuoteForProfile(const char* value);
// The configuration file's values: quoted as above; a null value deletes the key. A value
// holding a line break or a NUL is refused (false, nothing written); pass a std::string as it
// is, so that a NUL inside it is seen.
bool WriteConfigString(const std::string& section, const char* key, const char* value);
bool WriteConfigString(const std::string& section, const char* key, const std::string& value);
bool WriteConfigLong(const std::string& section, const char* key, long value);
bool WriteConfigSwitch(const std::string& section, const char* key, bool on);
bool DeleteConfigSection(const std::string& section);

// atol: optional blanks, sign and decimal digits; anything else gives 0. Never overflows
// (saturates at the long range).
long ParseLong(const char* text);
bool IsOn(const char* text);

}  // namespace config
