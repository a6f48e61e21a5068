// INI files read and written with the Win32 profile functions.
// The signatures follow the A functions so that return values and buffer rules are theirs.
#pragma once
#include <cstdint>

namespace os {

class Profile {
 public:
  virtual ~Profile() = default;

  // GetPrivateProfileStringA. A null section lists the section names, a null key the keys of
  // the section (NUL-separated, ended by an extra NUL). Returns the bytes copied without the
  // terminator; a value too long is cut to size-1 (lists: size-2).
  virtual uint32_t GetString(const char* section, const char* key, const char* def, char* buf,
                             uint32_t size, const char* file) = 0;
  // GetPrivateProfileIntA: leading sign and decimal digits; missing key or empty value gives def.
  virtual uint32_t GetInt(const char* section, const char* key, int32_t def, const char* file) = 0;
  // WritePrivateProfileStringA: a null key deletes the section, a null value deletes the key.
  virtual bool WriteString(const char* section, const char* key, const char* value,
                           const char* file) = 0;
  // WritePrivateProfileSectionA: the section's lines replaced by the "key=value" strings of
  // lines (each ended by a NUL, the list by one more), in one write of the file, so the section
  // changes whole or, when the write fails, not at all. A null list deletes the section.
  virtual bool WriteSection(const char* section, const char* lines, const char* file) = 0;
  // GetProfileStringA / WriteProfileStringA: the same on WIN.INI in the Windows directory.
  virtual uint32_t GetWinIniString(const char* section, const char* key, const char* def,
                                   char* buf, uint32_t size) = 0;
  virtual bool WriteWinIniString(const char* section, const char* key, const char* value) = 0;
};

}  // namespace os
