#include "table/profile_section.h"

#include "os/mbcs.h"

namespace table {
namespace {

bool IsBlank(unsigned char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A; }

std::string_view Trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && IsBlank(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

std::string_view CutAtNul(std::string_view s) {
  std::size_t n = s.find('\0');
  return n == std::string_view::npos ? s : s.substr(0, n);
}

std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

// The name of a header line ("[" already seen at line[0]), or nullopt when it has no "]".
std::optional<std::string_view> HeaderName(std::string_view line) {
  std::size_t close = std::string_view::npos;
  for (std::size_t i = 1; i < line.size();) {
    unsigned char c = static_cast<unsigned char>(line[i]);
    if (mbcs::IsLeadByte(c) && i + 1 < line.size()) {
      i += 2;
      continue;
    }
    if (c == ']') close = i;
    ++i;
  }
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

}  // namespace

std::string FoldProfileName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (mbcs::IsLeadByte(c) && i + 1 < name.size()) {
      out.push_back(name[i]);
      out.push_back(name[i + 1]);
      i += 2;
      continue;
    }
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + ('a' - 'A'));
    out.push_back(static_cast<char>(c));
    ++i;
  }
  return out;
}

ProfileSection::ProfileSection(std::string_view text, std::string_view section) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const std::string wanted = FoldProfileName(CutAtNul(Trim(section)));
  bool inside = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    std::string_view line = Trim(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size()) {
      const bool crlf = text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n';
      pos += crlf ? 2 : 1;
    }
    if (line.empty()) continue;
    if (line.front() == '[') {
      if (std::optional<std::string_view> name = HeaderName(line)) {
        if (inside) return;  // only the first section of the name counts
        inside = FoldProfileName(CutAtNul(*name)) == wanted;
        found_ = found_ || inside;
        continue;
      }
    }
    if (!inside) continue;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string_view key = CutAtNul(Trim(line.substr(0, eq)));
    std::string_view value = Unquote(CutAtNul(Trim(line.substr(eq + 1))));
    values_.emplace(FoldProfileName(key), value);  // the first of a name stays
  }
}

std::optional<std::string_view> ProfileSection::Value(std::string_view key) const {
  auto it = values_.find(FoldProfileName(Trim(key)));
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

}  // namespace table
