#include "os/ini_file.h"

#include <cstring>
#include <limits>

#include "os/mbcs.h"

namespace os::ini {
namespace {

// Appends the folded form of s to out.
void AppendFolded(std::string_view s, std::string* out) {
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (mbcs::IsLeadByte(c) && i + 1 < s.size()) {
      out->push_back(static_cast<char>(c));
      out->push_back(s[i + 1]);
      i += 2;
      continue;
    }
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + ('a' - 'A'));
    out->push_back(static_cast<char>(c));
    ++i;
  }
}

// True when the folded form of s equals folded.
bool FoldedEquals(std::string_view s, std::string_view folded) {
  if (s.size() != folded.size()) return false;  // folding keeps the length
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (mbcs::IsLeadByte(c) && i + 1 < s.size()) {
      if (folded[i] != s[i] || folded[i + 1] != s[i + 1]) return false;
      i += 2;
      continue;
    }
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + ('a' - 'A'));
    if (static_cast<unsigned char>(folded[i]) != c) return false;
    ++i;
  }
  return true;
}

std::string_view CutAtNul(std::string_view s) {
  size_t n = s.find('\0');
  return n == std::string_view::npos ? s : s.substr(0, n);
}

std::string SectionKey(uint32_t section, std::string_view foldedKey) {
  std::string k(4, '\0');
  std::memcpy(k.data(), &section, 4);
  k.append(foldedKey);
  return k;
}

}  // namespace

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && IsBlank(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

std::string Fold(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  AppendFolded(name, &out);
  return out;
}

std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

Document::Document(std::string text, bool withIndex) : text_(std::move(text)) {
  if (text_.size() >= std::numeric_limits<uint32_t>::max()) text_.clear();
  Parse();
  if (withIndex) BuildIndex();
}

std::string_view Document::Name(const Line& l) const { return CutAtNul(RawName(l)); }
std::string_view Document::Value(const Line& l) const { return CutAtNul(RawValue(l)); }

void Document::Parse() {
  const unsigned char* t = reinterpret_cast<const unsigned char*>(text_.data());
  const uint32_t n = static_cast<uint32_t>(text_.size());
  uint32_t pos = 0;
  while (pos < n) {
    Line l{};
    l.start = pos;
    uint32_t end = pos;
    while (end < n && t[end] != '\r' && t[end] != '\n') ++end;
    uint32_t next = end;
    if (next < n) next += (t[next] == '\r' && next + 1 < n && t[next + 1] == '\n') ? 2 : 1;
    pos = next;
    uint32_t s = l.start, e = end;
    while (s < e && IsBlank(t[s])) ++s;
    while (e > s && IsBlank(t[e - 1])) --e;
    if (s == e) continue;  // blank line
    l.content = s;
    l.stop = e;
    l.end = end;
    l.next = next;

    if (t[s] == '[') {
      // The last single-byte "]": walk the characters so that a trail byte 0x5D never counts.
      uint32_t close = 0;
      bool found = false;
      for (uint32_t i = s + 1; i < e;) {
        if (mbcs::IsLeadByte(t[i]) && i + 1 < e) {
          i += 2;
          continue;
        }
        if (t[i] == ']') {
          close = i;
          found = true;
        }
        ++i;
      }
      if (found) {
        uint32_t b = s + 1, f = close;
        while (b < f && IsBlank(t[b])) ++b;
        while (f > b && IsBlank(t[f - 1])) --f;
        l.kind = Kind::kHeader;
        l.nameOff = b;
        l.nameLen = f - b;
        if (!sections_.empty()) sections_.back().end = static_cast<uint32_t>(lines_.size());
        sections_.push_back(Section{static_cast<uint32_t>(lines_.size()), 0});
        lines_.push_back(l);
        continue;
      }
    }

    const void* eq = std::memchr(t + s, '=', e - s);
    if (eq) {
      uint32_t at = static_cast<uint32_t>(static_cast<const unsigned char*>(eq) - t);
      uint32_t ne = at;
      while (ne > s && IsBlank(t[ne - 1])) --ne;
      uint32_t vb = at + 1;
      while (vb < e && IsBlank(t[vb])) ++vb;
      l.kind = Kind::kKey;
      l.nameOff = s;
      l.nameLen = ne - s;
      l.valueOff = vb;
      l.valueLen = e - vb;
    } else {
      l.kind = Kind::kOther;
      l.nameOff = s;
      l.nameLen = e - s;
      l.valueOff = e;
      l.valueLen = 0;
    }
    lines_.push_back(l);
  }
  if (!sections_.empty()) sections_.back().end = static_cast<uint32_t>(lines_.size());
}

void Document::BuildIndex() {
  sectionIndex_.reserve(sections_.size());
  for (uint32_t s = 0; s < sections_.size(); ++s) {
    if (!sectionIndex_.emplace(Fold(SectionName(sections_[s])), s).second) continue;
    // Keys are looked up only in the first section of a name.
    for (uint32_t i = sections_[s].header + 1; i < sections_[s].end; ++i) {
      if (lines_[i].kind != Kind::kKey) continue;
      keyIndex_.emplace(SectionKey(s, Fold(Name(lines_[i]))), i);
    }
  }
  indexed_ = true;
}

int64_t Document::FindSection(std::string_view name) const {
  if (indexed_) {
    auto it = sectionIndex_.find(Fold(name));
    return it == sectionIndex_.end() ? -1 : static_cast<int64_t>(it->second);
  }
  std::string folded = Fold(name);
  for (size_t s = 0; s < sections_.size(); ++s)
    if (FoldedEquals(SectionName(sections_[s]), folded)) return static_cast<int64_t>(s);
  return -1;
}

int64_t Document::FindKey(int64_t s, std::string_view key) const {
  if (s < 0) return -1;
  if (indexed_) {
    auto it = keyIndex_.find(SectionKey(static_cast<uint32_t>(s), Fold(key)));
    return it == keyIndex_.end() ? -1 : static_cast<int64_t>(it->second);
  }
  std::string folded = Fold(key);
  const Section& sec = sections_[static_cast<size_t>(s)];
  for (uint32_t i = sec.header + 1; i < sec.end; ++i)
    if (lines_[i].kind == Kind::kKey && FoldedEquals(Name(lines_[i]), folded))
      return static_cast<int64_t>(i);
  return -1;
}

bool Document::Find(std::string_view section, std::string_view key,
                    std::string_view* value) const {
  int64_t k = FindKey(FindSection(Trim(section)), Trim(key));
  if (k < 0) return false;
  *value = Value(lines_[static_cast<size_t>(k)]);
  return true;
}

bool Document::HasSection(std::string_view section) const {
  return FindSection(Trim(section)) >= 0;
}

void Document::SectionNames(std::vector<std::string_view>* out) const {
  for (const Section& s : sections_) {
    std::string_view name = SectionName(s);
    if (!name.empty()) out->push_back(name);
  }
}

bool Document::KeyNames(std::string_view section, std::vector<std::string_view>* out) const {
  int64_t s = FindSection(Trim(section));
  if (s < 0) return false;
  const Section& sec = sections_[static_cast<size_t>(s)];
  for (uint32_t i = sec.header + 1; i < sec.end; ++i) {
    if (lines_[i].kind != Kind::kKey) continue;
    std::string_view name = Name(lines_[i]);
    if (name.empty() || name[0] == ';') continue;
    out->push_back(name);
  }
  return true;
}

std::string Document::WithNewSection(std::string_view section, std::string_view body) const {
  std::string r;
  r.reserve(text_.size() + section.size() + body.size() + 6);
  r = text_;
  if (!r.empty() && r.back() != '\n' && r.back() != '\r') r += "\r\n";
  r += '[';
  r += section;
  r += "]\r\n";
  r += body;
  return r;
}

bool Document::SetValue(std::string_view section, std::string_view key, std::string_view value,
                        std::string* out) const {
  int64_t s = FindSection(Trim(section));
  if (s < 0) {
    std::string line(key);
    line += '=';
    line += value;
    line += "\r\n";
    *out = WithNewSection(section, line);
    return true;
  }
  int64_t k = FindKey(s, Trim(key));
  if (k >= 0) {
    const Line& l = lines_[static_cast<size_t>(k)];
    if (RawValue(l) == value) return false;
    std::string r;
    r.reserve(text_.size() + value.size() + 2);
    r.append(text_, 0, l.content);
    r.append(RawName(l));
    r += '=';
    r.append(value);
    r.append(text_, l.stop, std::string::npos);
    *out = std::move(r);
    return true;
  }
  // After the last line of the section (its header when it has no other lines).
  const Line& last = lines_[sections_[static_cast<size_t>(s)].end - 1];
  std::string r;
  r.reserve(text_.size() + key.size() + value.size() + 6);
  r.append(text_, 0, last.next);
  if (last.next == last.end) r += "\r\n";  // the last line of the text had no terminator
  r.append(key);
  r += '=';
  r.append(value);
  r += "\r\n";
  r.append(text_, last.next, std::string::npos);
  *out = std::move(r);
  return true;
}

bool Document::DeleteKey(std::string_view section, std::string_view key, std::string* out) const {
  int64_t k = FindKey(FindSection(Trim(section)), Trim(key));
  if (k < 0) return false;
  const Line& l = lines_[static_cast<size_t>(k)];
  std::string r;
  r.reserve(text_.size());
  r.append(text_, 0, l.start);
  r.append(text_, l.next, std::string::npos);
  *out = std::move(r);
  return true;
}

bool Document::DeleteSection(std::string_view section, std::string* out) const {
  int64_t s = FindSection(Trim(section));
  if (s < 0) return false;
  const Section& sec = sections_[static_cast<size_t>(s)];
  uint32_t from = lines_[sec.header].start;
  uint32_t to = sec.end < lines_.size() ? lines_[sec.end].start
                                        : static_cast<uint32_t>(text_.size());
  std::string r;
  r.reserve(text_.size());
  r.append(text_, 0, from);
  r.append(text_, to, std::string::npos);
  *out = std::move(r);
  return true;
}

bool Document::ReplaceSection(std::string_view section, const std::vector<std::string_view>& lines,
                              std::string* out) const {
  std::string body;
  for (std::string_view l : lines) {
    body.append(l);
    body += "\r\n";
  }
  int64_t s = FindSection(Trim(section));
  if (s < 0) {
    if (lines.empty()) return false;
    *out = WithNewSection(section, body);
    return true;
  }
  std::string r;
  const Section& sec = sections_[static_cast<size_t>(s)];
  const Line& header = lines_[sec.header];
  // From the header's end to the end of the section's last line; the blank lines after it stay.
  const uint32_t from = header.next;
  const uint32_t to = sec.end > sec.header + 1 ? lines_[sec.end - 1].next : header.next;
  r.reserve(text_.size() + body.size() + 2);
  r.append(text_, 0, from);
  if (header.next == header.end && !body.empty()) r += "\r\n";  // the header ended the text
  r += body;
  r.append(text_, to, std::string::npos);
  if (r == text_) return false;
  *out = std::move(r);
  return true;
}

}  // namespace os::ini
