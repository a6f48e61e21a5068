#include "config/config_file.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "config/program_context.h"
#include "os/ini_file.h"
#include "os/last_error.h"
#include "os/services.h"
#include "os/types.h"

namespace config {

std::string InstSection(int n) {
  char buf[32];
  std::snprintf(buf, sizeof(buf), "INST%d", n);
  return buf;
}

std::string ReadConfigString(const std::string& section, const char* key, const char* def,
                             uint32_t bufSize) {
  if (bufSize == 0) return std::string();
  std::vector<char> buf(bufSize, '\0');
  uint32_t n = os::Ini().GetString(section.c_str(), key, def, buf.data(), bufSize,
                                   Context().configFilePath.c_str());
  if (n >= bufSize) n = bufSize - 1;
  return std::string(buf.data(), n);
}

long ParseLong(const char* text) {
  // The program's numbers are Windows longs (32 bits) on every build; out-of-range text
  // saturates instead of overflowing.
  constexpr int64_t kMax = INT32_MAX, kMin = INT32_MIN;
  if (!text) return 0;
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
  bool neg = false;
  if (*p == '+' || *p == '-') neg = (*p++ == '-');
  int64_t v = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    v = v * 10 + (*p - '0');
    if (v > kMax + 1) v = kMax + 1;
  }
  if (neg) v = -v;
  if (v > kMax) v = kMax;
  if (v < kMin) v = kMin;
  return static_cast<long>(v);
}

bool IsOn(const char* text) {
  return text && (text[0] == 'O' || text[0] == 'o') && (text[1] == 'N' || text[1] == 'n') &&
         text[2] == '\0';
}

long ReadConfigLong(const std::string& section, const char* key, const char* def,
                    uint32_t bufSize) {
  return ParseLong(ReadConfigString(section, key, def, bufSize).c_str());
}

bool ReadConfigSwitch(const std::string& section, const char* key, const char* def) {
  return IsOn(ReadConfigString(section, key, def).c_str());
}

bool IsProfileLineText(std::string_view text) {
  // None of the three is ever a trail byte of a double-byte character.
  return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

namespace {

// The one call of WritePrivateProfileStringA: a null key deletes the section, a null value the
// key.
bool WriteChecked(const std::string& file, std::string_view section, const std::string_view* key,
                  const std::string_view* value) {
  if (!IsProfileLineText(section) || (key && !IsProfileLineText(*key)) ||
      (value && !IsProfileLineText(*value))) {
    os::SetLastError(os::kErrInvalidParameter);
    return false;
  }
  const std::string s(section);
  const std::string k = key ? std::string(*key) : std::string();
  const std::string v = value ? std::string(*value) : std::string();
  return os::Ini().WriteString(s.c_str(), key ? k.c_str() : nullptr, value ? v.c_str() : nullptr,
                               file.c_str());
}

}  // namespace

bool WriteProfileValue(const std::string& file, std::string_view section, std::string_view key,
                       std::string_view value) {
  return WriteChecked(file, section, &key, &value);
}

bool DeleteProfileKey(const std::string& file, std::string_view section, std::string_view key) {
  return WriteChecked(file, section, &key, nullptr);
}

bool DeleteProfileSection(const std::string& file, std::string_view section) {
  return WriteChecked(file, section, nullptr, nullptr);
}

bool WriteProfileSection(const std::string& file, std::string_view section,
                         const ProfileEntries& entries) {
  if (entries.empty()) return DeleteProfileSection(file, section);
  std::string lines;
  for (const auto& [key, value] : entries) {
    if (key.empty() || key.find('=') != std::string::npos || !IsProfileLineText(key) ||
        !IsProfileLineText(value)) {
      os::SetLastError(os::kErrInvalidParameter);
      return false;
    }
    lines += key;
    lines += '=';
    lines += value;
    lines += '\0';
  }
  if (!IsProfileLineText(section)) {
    os::SetLastError(os::kErrInvalidParameter);
    return false;
  }
  lines += '\0';
  return os::Ini().WriteSection(std::string(section).c_str(), lines.data(), file.c_str());
}

std::string QuoteForProfile(std::string_view value) {
  std::string v(value);
  // Single quotes around a whole value are stripped on reading too.
  bool singleQuoted = v.size() >= 2 && v.front() == '\'' && v.back() == '\'';
  // So are blanks at either end (the bytes the profile functions trim from a line).
  const bool blankEnds = !v.empty() && (os::ini::IsBlank(static_cast<unsigned char>(v.front())) ||
                                        os::ini::IsBlank(static_cast<unsigned char>(v.back())));
  if (v.find('"') != std::string::npos || singleQuoted || blankEnds) v = '"' + v + '"';
  return v;
}

std::string QuoteForProfile(const char* value) {
  return QuoteForProfile(std::string_view(value ? value : ""));
}

bool WriteConfigString(const std::string& section, const char* key, const char* value) {
  if (!key) return DeleteConfigSection(section);
  if (!value) return DeleteProfileKey(Context().configFilePath, section, key);
  return WriteConfigString(section, key, std::string(value));
}

bool WriteConfigString(const std::string& section, const char* key, const std::string& value) {
  if (!key) return DeleteConfigSection(section);
  return WriteProfileValue(Context().configFilePath, section, key,
                           QuoteForProfile(std::string_view(value)));
}

bool WriteConfigLong(const std::string& section, const char* key, long value) {
  char buf[32];
  std::snprintf(buf, sizeof(buf), "%ld", value);
  return WriteConfigString(section, key, buf);
}

bool WriteConfigSwitch(const std::string& section, const char* key, bool on) {
  return WriteConfigString(section, key, on ? "On" : "Off");
}

bool DeleteConfigSection(const std::string& section) {
  return DeleteProfileSection(Context().configFilePath, section);
}

}  // namespace config
