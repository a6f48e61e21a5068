#include "exec/association_registry.h"

#include <cstring>
#include <string>

#include "os/mbcs.h"
#include "os/services.h"
#include "os/types.h"

namespace exec {
namespace {

std::unique_ptr<os::RegKey> ClassesRoot() {
  uint32_t error = 0;
  return os::Reg().OpenKey(os::RegRoot::kClassesRoot, "", &error);
}

// The default value of sub below key, read into kRegistryValueBuffer bytes.
bool ReadDefault(os::RegKey& key, const std::string& sub, std::string& out) {
  char buf[kRegistryValueBuffer];
  int32_t size = sizeof(buf);
  if (key.QueryValue(sub.c_str(), buf, &size) != os::kErrSuccess) return false;
  buf[sizeof(buf) - 1] = '\0';
  out = buf;
  return true;
}

// Name of the first subkey of key; false when there is none or it cannot be read.
bool FirstSubkey(os::RegKey& key, std::string& name) {
  char buf[kRegistryValueBuffer];
  if (key.EnumKey(0, buf, sizeof(buf)) != os::kErrSuccess) return false;
  buf[sizeof(buf) - 1] = '\0';
  name = buf;
  return true;
}

// Step 5 of a lookup: the first verb below type\shell and its command.
bool FirstVerbCommand(const std::string& type, std::string& verb, std::string& command) {
  uint32_t error = 0;
  auto shell = os::Reg().OpenKey(os::RegRoot::kClassesRoot, (type + "\\shell").c_str(), &error);
  if (!shell || !FirstSubkey(*shell, verb)) return false;
  return ReadDefault(*shell, verb + "\\command", command);
}

}  // namespace

bool ReadExtensionFromRegistry(const char* extension, ExecLinkInfo& out) {
  auto root = ClassesRoot();
  if (!root || !IsStorableExtension(extension)) return false;
  const std::string ext = extension;
  std::string type, description, verb, command;
  if (!ReadDefault(*root, ext, type)) return false;
  if (!type.empty() && !ReadDefault(*root, type, description)) return false;
  const std::string base = type.empty() ? ext : type;
  std::string commandKey = "open\\command";
  std::string named;
  if (ReadDefault(*root, base + "\\shell", named) && !named.empty()) {
    verb = named;
    commandKey = verb + "\\command";
  }
  if (!ReadDefault(*root, base + "\\shell\\" + commandKey, command)) {
    if (type.empty()) return false;
    if (!FirstVerbCommand(type, verb, command)) return false;
  }
  out.key = ext;
  out.command = CutAtCaret(command.c_str());
  out.description = description;
  out.verb = verb;
  return true;
}

std::vector<std::unique_ptr<ExecLinkInfo>> RegisteredFileTypes() {
  std::vector<std::unique_ptr<ExecLinkInfo>> types;
  auto root = ClassesRoot();
  if (!root) return types;
  char name[kRegistryValueBuffer];
  for (uint32_t i = 0;; ++i) {
    uint32_t e = root->EnumKey(i, name, sizeof(name));
    if (e == os::kErrMoreData) continue;  // a name too long for any key: skip it
    if (e != os::kErrSuccess) break;
    name[sizeof(name) - 1] = '\0';
    if (name[0] == '.' || name[0] == '\0') continue;
    const std::string type = name;
    std::string verb, command, description;
    uint32_t error = 0;
    auto shell = os::Reg().OpenKey(os::RegRoot::kClassesRoot, (type + "\\shell").c_str(), &error);
    if (!shell || !FirstSubkey(*shell, verb)) continue;
    if (!ReadDefault(*shell, verb + "\\command", command)) continue;
    if (!ReadDefault(*root, type, description)) continue;
    auto record = std::make_unique<ExecLinkInfo>(type, CutAtCaret(command.c_str()));
    record->description = description;
    types.push_back(std::move(record));
  }
  return types;
}

bool IsStorableExtension(const char* extension) {
  if (!extension || extension[0] != '.' || extension[1] == '\0') return false;
  if (std::strlen(extension) > kRegistryValueBuffer - 1) return false;
  return mbcs::FindChar(extension, '\\') == nullptr;
}

int WriteExtensionCommand(const char* extension, const char* command) {
  if (!IsStorableExtension(extension) || !command || !*command) return -1;
  if (std::strlen(command) > kRegistryValueBuffer - 1) return -1;  // could never be read back
  const std::string ext = extension;
  uint32_t error = 0;
  // The command first: the extension leaves its file type only once its own command is in
  // place, so a failed write never leaves it with neither.
  auto open = os::Reg().CreateKey(os::RegRoot::kClassesRoot, (ext + "\\shell\\open").c_str(),
                                  &error);
  if (!open || open->SetValue("command", command) != os::kErrSuccess) return -1;
  auto key = os::Reg().CreateKey(os::RegRoot::kClassesRoot, ext.c_str(), &error);
  if (!key || key->SetValue(nullptr, "") != os::kErrSuccess) return -1;
  return 0;
}

int WriteExtensionFileType(const char* extension, const char* typeName) {
  if (!IsStorableExtension(extension) || !typeName || !*typeName) return -1;
  uint32_t error = 0;
  auto key = os::Reg().CreateKey(os::RegRoot::kClassesRoot, extension, &error);
  if (!key || key->SetValue(nullptr, typeName) != os::kErrSuccess) return -1;
  return 0;
}

int DeleteExtensionKey(const char* extension) {
  if (!IsStorableExtension(extension)) return -1;
  const std::string ext = extension;
  // Leaves first: a key with subkeys cannot be deleted on every system.
  for (const char* sub : {"\\shell\\open\\command", "\\shell\\open", "\\shell", ""})
    os::Reg().DeleteKey(os::RegRoot::kClassesRoot, (ext + sub).c_str());
  ExecLinkInfo left;
  return ReadExtensionFromRegistry(extension, left) ? -1 : 0;
}

}  // namespace exec
