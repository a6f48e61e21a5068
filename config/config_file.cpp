#include "config/config_file.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "config/program_context.h"
#include "os/services.h"

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

std::string QuoteForProfile(const char* value) {
  std::string v = value ? value : "";
  // Single quotes around a whole value are stripped on reading too.
  bool singleQuoted = v.size() >= 2 && v.front() == '\'' && v.back() == '\'';
  if (v.find('"') != std::string::npos || singleQuoted) v = '"' + v + '"';
  return v;
}

bool WriteConfigString(const std::string& section, const char* key, const char* value) {
  if (!value)
    return os::Ini().WriteString(section.c_str(), key, nullptr, Context().configFilePath.c_str());
  return os::Ini().WriteString(section.c_str(), key, QuoteForProfile(value).c_str(),
                               Context().configFilePath.c_str());
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
  return os::Ini().WriteString(section.c_str(), nullptr, nullptr,
                               Context().configFilePath.c_str());
}

}  // namespace config
