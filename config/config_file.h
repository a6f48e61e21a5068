// Reading and writing the configuration file (sorm.cfg) with the profile functions.
// Every read has a default; numbers are decimal; switches are "On"/"Off".
#pragma once
#include <cstdint>
#include <string>

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
// A value holding a double quote (or wrapped in single quotes) is written inside one more pair
// of double quotes, because reading strips one surrounding pair; a null value deletes the key.
std::string QuoteForProfile(const char* value);
bool WriteConfigString(const std::string& section, const char* key, const char* value);
bool WriteConfigLong(const std::string& section, const char* key, long value);
bool WriteConfigSwitch(const std::string& section, const char* key, bool on);
bool DeleteConfigSection(const std::string& section);

// atol: optional blanks, sign and decimal digits; anything else gives 0. Never overflows
// (saturates at the long range).
long ParseLong(const char* text);
bool IsOn(const char* text);

}  // namespace config
