#include "exec/association_store.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "config/config_file.h"
#include "exec/association_registry.h"
#include "os/mbcs.h"
#include "os/services.h"

namespace exec {
namespace {

// Reads with GetPrivateProfileStringA (file) or GetProfileStringA (file null).
using ProfileRead = std::function<uint32_t(const char* key, char* buf, uint32_t size)>;

ProfileRead FromFile(const char* section, const std::string& file) {
  return [section, &file](const char* key, char* buf, uint32_t size) {
    return os::Ini().GetString(section, key, "", buf, size, file.c_str());
  };
}

ProfileRead FromWinIni(const char* section) {
  return [section](const char* key, char* buf, uint32_t size) {
    return os::Ini().GetWinIniString(section, key, "", buf, size);
  };
}

// The keys of a section, in file order.
std::vector<std::string> SectionKeys(const ProfileRead& read) {
  std::vector<char> buf(kSectionKeysBuffer, '\0');
  uint32_t n = read(nullptr, buf.data(), kSectionKeysBuffer);
  if (n > kSectionKeysBuffer - 2) n = kSectionKeysBuffer - 2;
  std::vector<std::string> keys;
  for (uint32_t at = 0; at < n;) {
    const char* key = buf.data() + at;
    const void* end = std::memchr(key, '\0', n - at);
    std::size_t len = end ? static_cast<std::size_t>(static_cast<const char*>(end) - key) : n - at;
    if (len == 0) break;
    keys.emplace_back(key, len);
    at += static_cast<uint32_t>(len) + 1;
  }
  return keys;
}

// The value of key cut at its first "^"; empty when missing.
std::string CommandValue(const ProfileRead& read, const char* key) {
  char buf[kAssociationValueBuffer];
  uint32_t n = read(key, buf, sizeof(buf));
  buf[n < sizeof(buf) ? n : sizeof(buf) - 1] = '\0';
  return CutAtCaret(buf);
}

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

AssociationKind KindOfExecLinkKey(const char* key) {
  return mbcs::FindChar(key, '.') ? AssociationKind::kByFullName : AssociationKind::kByName;
}

bool IsStorableProfileKey(const char* key) {
  if (!key || !*key || key[0] == '[' || key[0] == ';' || IsBlank(key[0])) return false;
  std::size_t len = std::strlen(key);
  if (len > kMaxStoredCommand || IsBlank(key[len - 1])) return false;
  // "=" and line breaks are single-byte characters that no trail byte can be.
  for (const char* p = key; *p; ++p)
    if (*p == '=' || IsLineBreak(*p)) return false;
  return true;
}

std::string ExecLinkValueForStorage(const char* command) {
  std::string line = command ? command : "";
  line.erase(std::find_if(line.begin(), line.end(), IsLineBreak), line.end());
  char bounded[kMaxStoredCommand + 1];
  std::size_t n = mbcs::CopyBounded(bounded, sizeof(bounded), line.c_str());
  return config::QuoteForProfile(std::string(bounded, n).c_str());
}

void LoadAssociations(Associations& lists, const std::string& configFile) {
  FreeAssociations(lists);
  const ProfileRead execLink = FromFile(kExecLinkSection, configFile);
  for (const std::string& key : SectionKeys(execLink)) {
    std::string command = CommandValue(execLink, key.c_str());
    if (command.empty()) continue;
    lists.List(KindOfExecLinkKey(key.c_str())).Append(key, std::move(command));
  }
  const ProfileRead extensions = FromWinIni(kExtensionsSection);
  for (const std::string& key : SectionKeys(extensions)) {
    std::string command = CommandValue(extensions, key.c_str());
    if (command.empty()) continue;
    lists.extensions.Append("." + key, std::move(command));
  }
}

void FreeAssociations(Associations& lists) {
  lists.extensions.Clear();
  lists.names.Clear();
  lists.fullNames.Clear();
}

int SetAssociation(const std::string& configFile, const char* key, const char* command,
                   AssociationKind kind) {
  const bool remove = !command || !*command;
  if (kind != AssociationKind::kByExtension) {
    if (!IsStorableProfileKey(key)) return -1;
    const bool ok =
        remove ? config::DeleteProfileKey(configFile, kExecLinkSection, key)
               : config::WriteProfileValue(configFile, kExecLinkSection, key,
                                           ExecLinkValueForStorage(command));
    return ok ? 0 : -1;
  }
  if (!IsStorableExtension(key)) return -1;
  if (!remove) {
    std::string line = command;
    if (!mbcs::FindChar(line.c_str(), '%')) line += " %1";
    return WriteExtensionCommand(key, line.c_str());
  }
  int result = DeleteExtensionKey(key);
  // The legacy entry is named without the dot; one that cannot be a profile key is not there.
  if (IsStorableProfileKey(key + 1)) os::Ini().WriteWinIniString(kExtensionsSection, key + 1, nullptr);
  return result;
}

}  // namespace exec
