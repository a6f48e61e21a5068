// What the profile functions answer and write, computed on text in memory: the posix profile
// functions load a file into an ini::Document and hand it here, and write back what Edit makes;
// the profile snapshot answers the reads of one file from here.
#pragma once
#include <cstdint>
#include <string>

#include "os/ini_file.h"

namespace os::ini {

// GetPrivateProfileStringA on doc (null: the file does not exist) into buf of size bytes (buf
// not null, size at least 1). A null section lists the section names, a null key the key names
// of section (as NUL-separated lists ended by a second NUL); otherwise the value with one pair
// of surrounding quotes removed, or the default. Returns the length copied.
uint32_t GetString(const Document* doc, const char* section, const char* key, const char* def,
                   char* buf, uint32_t size);
// The default alone, as GetString copies it (null is "", trailing spaces dropped).
uint32_t CopyDefault(const char* def, char* buf, uint32_t size);

// GetPrivateProfileIntA on doc: def when there is no value, else the value converted.
uint32_t GetInt(const Document* doc, const char* section, const char* key, int32_t def);
// GetPrivateProfileIntA's conversion: blanks, an optional sign, an optional "0x", "0o" or "0b"
// base prefix, then digits up to the first character that is none; wraps modulo 2^32.
uint32_t ParseProfileInt(std::string_view s);

// WritePrivateProfileStringA's edit of doc (section not null): a null key deletes the section,
// a null value deletes the key, else the key is set. False when the text would stay as it is;
// otherwise out receives the new text.
bool Edit(const Document& doc, const char* section, const char* key, const char* value,
          std::string* out);
// WritePrivateProfileSectionA's edit of doc (section not null): the section's lines replaced by
// the "key=value" strings of lines (each ended by a NUL, the list by another; a string without
// "=" is left out); a null list deletes the section.
bool EditSection(const Document& doc, const char* section, const char* lines, std::string* out);

}  // namespace os::ini
