#include "os/ini_profile.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace os::ini {
namespace {

// Copies s to buf as a C string cut to size-1 bytes; size is at least 1.
uint32_t CopyString(std::string_view s, char* buf, uint32_t size) {
  size_t n = s.size() < size - 1 ? s.size() : size - 1;
  if (n) std::memcpy(buf, s.data(), n);
  buf[n] = '\0';
  return static_cast<uint32_t>(n);
}

// Copies names as a NUL-separated list ended by an extra NUL; the return excludes that final
// NUL. The list counts as fitting only with a byte to spare (a 27-byte list needs 29 bytes);
// otherwise it is cut to size-2 bytes and ended by two NULs, and the result is size-2. An
// empty list is a single NUL. size is at least 1.
uint32_t CopyList(const std::vector<std::string_view>& names, char* buf, uint32_t size) {
  if (names.empty() || size < 2) {
    buf[0] = '\0';
    return 0;
  }
  size_t total = 0;
  for (std::string_view n : names) total += n.size() + 1;
  const bool fits = total + 2 <= size;
  const size_t room = fits ? total : size - 2;
  size_t pos = 0;
  for (std::string_view n : names) {
    if (pos >= room) break;
    size_t take = n.size() < room - pos ? n.size() : room - pos;
    std::memcpy(buf + pos, n.data(), take);
    pos += take;
    if (pos < room) buf[pos++] = '\0';
  }
  if (fits) {
    buf[total] = '\0';
    return static_cast<uint32_t>(total);
  }
  buf[size - 2] = '\0';
  buf[size - 1] = '\0';
  return size - 2;
}

// The default as the functions use it: null is "", trailing spaces are dropped.
std::string_view DefaultOf(const char* def) {
  std::string_view d = def ? std::string_view(def) : std::string_view();
  while (!d.empty() && d.back() == ' ') d.remove_suffix(1);
  return d;
}

// The first string GetPrivateProfileString would return with an unlimited buffer and an empty
// default: the value, or the first name of a list. GetInt converts it.
std::string FirstString(const Document* doc, const char* section, const char* key) {
  std::vector<std::string_view> names;
  if (!section) {
    if (doc) doc->SectionNames(&names);
    return names.empty() ? std::string() : std::string(names[0]);
  }
  if (!key) {
    if (doc && doc->KeyNames(section, &names) && !names.empty()) return std::string(names[0]);
    return std::string();  // the default is "" here
  }
  std::string_view v;
  if (doc && doc->Find(section, key, &v)) return std::string(Unquote(v));
  return std::string();
}

}  // namespace

uint32_t CopyDefault(const char* def, char* buf, uint32_t size) {
  return CopyString(DefaultOf(def), buf, size);
}

uint32_t GetString(const Document* doc, const char* section, const char* key, const char* def,
                   char* buf, uint32_t size) {
  std::vector<std::string_view> names;
  if (!section) {
    if (doc) doc->SectionNames(&names);
    return CopyList(names, buf, size);
  }
  if (!key) {
    // A missing section, or one without keys, gives the default.
    if (doc && doc->KeyNames(section, &names) && !names.empty())
      return CopyList(names, buf, size);
    return CopyDefault(def, buf, size);
  }
  std::string_view v;
  if (doc && doc->Find(section, key, &v)) return CopyString(Unquote(v), buf, size);
  return CopyDefault(def, buf, size);
}

uint32_t GetInt(const Document* doc, const char* section, const char* key, int32_t def) {
  std::string v = FirstString(doc, section, key);
  if (v.empty()) return static_cast<uint32_t>(def);
  return ParseProfileInt(v);
}

uint32_t ParseProfileInt(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] != '\0' && static_cast<unsigned char>(s[i]) <= ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  unsigned base = 10;
  if (i + 1 < s.size() && s[i] == '0') {
    if (s[i + 1] == 'x') base = 16;
    else if (s[i + 1] == 'o') base = 8;
    else if (s[i + 1] == 'b') base = 2;
    if (base != 10) i += 2;
  }
  uint32_t v = 0;
  for (; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    unsigned digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'z') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'Z') digit = c - 'A' + 10;
    else break;
    if (digit >= base) break;
    v = v * base + digit;
  }
  return negative ? 0u - v : v;
}

bool Edit(const Document& doc, const char* section, const char* key, const char* value,
          std::string* out) {
  if (!key) return doc.DeleteSection(section, out);
  if (!value) return doc.DeleteKey(section, key, out);
  return doc.SetValue(section, key, value, out);
}

bool EditSection(const Document& doc, const char* section, const char* lines, std::string* out) {
  if (!lines) return doc.DeleteSection(section, out);
  std::vector<std::string_view> kept;
  for (const char* p = lines; *p; p += std::strlen(p) + 1) {
    std::string_view line(p);
    if (line.find('=') != std::string_view::npos) kept.push_back(line);
  }
  return doc.ReplaceSection(section, kept, out);
}

}  // namespace os::ini
