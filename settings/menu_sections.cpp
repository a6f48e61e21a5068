#include "settings/menu_sections.h"

#include <cstring>

#include "config/config_file.h"
#include "config/config_lock.h"
#include "config/program_context.h"
#include "os/mbcs.h"
#include "os/services.h"
#include "table/profile_section.h"

namespace settings {

namespace {

constexpr uint32_t kFirstBuffer = 512;
constexpr uint32_t kLargestBuffer = 1u << 20;

// A profile read with a buffer that grows until the answer is not cut. cutAt: how many bytes
// below the buffer size an answer may be and still be cut (2 for values: a quoted value one
// byte longer than the buffer holds comes back one byte short and unquoted under Wine; 2 for
// key lists, which end in two NULs).
std::string ReadWhole(const char* section, const char* key, uint32_t cutAt) {
  const std::string& file = config::Context().configFilePath;
  for (uint32_t size = kFirstBuffer;; size *= 2) {
    std::vector<char> buf(size, '\0');
    const uint32_t n = os::Ini().GetString(section, key, "", buf.data(), size, file.c_str());
    if (n + cutAt < size || size >= kLargestBuffer) return std::string(buf.data(), n);
  }
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<ProfileInfo> ReadMenuSection(const char* section) {
  std::vector<ProfileInfo> out;
  const std::string keys = ReadWhole(section, nullptr, 2);
  for (const char* k = keys.c_str(); k < keys.c_str() + keys.size() && *k; k += std::strlen(k) + 1) {
    std::string value = ReadWhole(section, k, 2);
    if (value.empty()) continue;
    out.push_back({k, std::move(value)});
  }
  return out;
}

std::vector<ProfileInfo> ReadMenuItems(const char* section) {
  std::vector<ProfileInfo> out;
  const std::string& file = config::Context().configFilePath;
  std::vector<char> keys(kMenuKeyListBytes, '\0');
  uint32_t n = os::Ini().GetString(section, nullptr, "", keys.data(), kMenuKeyListBytes,
                                   file.c_str());
  if (n > kMenuKeyListBytes - 2) n = kMenuKeyListBytes - 2;
  if (n + 2 >= kMenuKeyListBytes) {
    // A cut list ends in a key that may have lost its end and would name another key.
    while (n > 0 && keys[n - 1] != '\0') --n;
  }
  // Three bytes over the limit: a quoted value one or two bytes too long can come back one byte
  // shorter than it is and unquoted (Wine cuts before it strips the closing quote), so only
  // with this margin does every answer of at most kMenuValueMax bytes mean the whole value.
  constexpr uint32_t kValueBuffer = static_cast<uint32_t>(kMenuValueMax) + 3;
  char value[kValueBuffer];
  for (uint32_t at = 0; at < n && keys[at]; at += static_cast<uint32_t>(std::strlen(&keys[at])) + 1) {
    if (static_cast<int>(out.size()) >= kMenuItemsMax) break;
    const char* key = &keys[at];
    const uint32_t got = os::Ini().GetString(section, key, "", value, kValueBuffer, file.c_str());
    if (got == 0 || got > kMenuValueMax) continue;  // empty, or longer than an item can be
    out.push_back({key, std::string(value, got)});
  }
  return out;
}

std::string MenuValueForStorage(const std::string& value) {
  const bool quote = value.find('"') != std::string::npos;
  const bool blankEnds = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
  const bool singleQuoted = value.size() >= 2 && value.front() == '\'' && value.back() == '\'';
  if (quote || blankEnds || singleQuoted) return '"' + value + '"';
  return value;
}

const char* MenuTitleProblem(const std::string& title) {
  if (title.empty()) return "ﾀｲﾄﾙを入力して下さい";
  if (IsBlank(title.front()) || IsBlank(title.back()) || title.front() == ';' ||
      title.front() == '[')
    return "ﾀｲﾄﾙの先頭・末尾に空白や ; [ は使えません";
  for (std::size_t i = 0; i < title.size(); ++i) {
    if (mbcs::IsTrailByteAt(title.c_str(), i)) continue;
    if (title[i] == '=' || title[i] == '\r' || title[i] == '\n') return "ﾀｲﾄﾙに = は使えません";
  }
  return nullptr;
}

bool SameTitle(const std::string& a, const std::string& b) {
  return table::FoldProfileName(a) == table::FoldProfileName(b);
}

std::vector<ProfileInfo> MergeSectionRewrite(const std::vector<ProfileInfo>& base,
                                             const std::vector<ProfileInfo>& edited,
                                             const std::vector<ProfileInfo>& current) {
  auto find = [](const std::vector<ProfileInfo>& list,
                 const std::string& title) -> const ProfileInfo* {
    // The profile functions answer with the first key of a name.
    for (const ProfileInfo& p : list)
      if (SameTitle(p.title, title)) return &p;
    return nullptr;
  };
  std::vector<ProfileInfo> out;
  auto put = [&](const ProfileInfo& p) {
    for (ProfileInfo& o : out) {
      if (SameTitle(o.title, p.title)) {
        o.value = p.value;  // one key: the last value written, at the first place
        return;
      }
    }
    out.push_back(p);
  };
  for (const ProfileInfo& e : edited) {
    const ProfileInfo* loaded = find(base, e.title);
    const bool untouched = loaded && loaded->title == e.title && loaded->value == e.value;
    if (!untouched) {
      put(e);
      continue;
    }
    if (const ProfileInfo* now = find(current, e.title)) put({e.title, now->value});
  }
  for (const ProfileInfo& c : current)
    if (!find(base, c.title) && !find(out, c.title)) put(c);
  return out;
}

SectionWrite RewriteMenuSection(const char* section, const std::vector<ProfileInfo>& base,
                                const std::vector<ProfileInfo>& edited) {
  config::ConfigLock lock = config::AcquireConfigLock();
  if (!lock) return SectionWrite::kLockError;
  const std::vector<ProfileInfo> result =
      MergeSectionRewrite(base, edited, ReadMenuSection(section));
  // One write of the whole section: a failure leaves the section as it was.
  config::ProfileEntries entries;
  for (const ProfileInfo& p : result) entries.emplace_back(p.title, MenuValueForStorage(p.value));
  return config::WriteProfileSection(config::Context().configFilePath, section, entries)
             ? SectionWrite::kWritten
             : SectionWrite::kWriteError;
}

SectionWrite AddMenuEntry(const char* section, const ProfileInfo& entry) {
  config::ConfigLock lock = config::AcquireConfigLock();
  if (!lock) return SectionWrite::kLockError;
  // A title or command with a line break is refused by the writer, never written.
  return config::WriteProfileValue(config::Context().configFilePath, section, entry.title,
                                   MenuValueForStorage(entry.value))
             ? SectionWrite::kWritten
             : SectionWrite::kWriteError;
}

ProfileInfo RunMenuProposal(const std::string& directory, const std::string& displayName,
                            const std::string& fileName) {
  std::string command = directory;
  // A final backslash that is the trail byte of a character (表 is 0x95 0x5C) is no separator.
  if (command.empty() || command.back() != '\\' ||
      mbcs::IsTrailByteAt(command.c_str(), command.size() - 1))
    command += '\\';
  command += fileName;
  if (command.find(' ') != std::string::npos) command = '"' + command + '"';
  return {"&" + displayName, command};
}

}  // namespace settings
