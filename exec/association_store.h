// Loading and storing associations.
//
// By name and by full name: section "ExecLink" of the configuration file, key = the name,
// value = the command; a key holding a "." is a full name. By extension: the registry (see
// association_registry.h) and, read only, the [Extensions] section of WIN.INI (key = the
// extension without its dot). Commands read back are cut at their first "^".
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "exec/exec_link_info.h"

namespace exec {

constexpr const char* kExecLinkSection = "ExecLink";
constexpr const char* kExtensionsSection = "Extensions";
// The key list of a section is read into 16000 bytes, each value into 512.
constexpr uint32_t kSectionKeysBuffer = 16000;
constexpr uint32_t kAssociationValueBuffer = 512;
// A command written to [ExecLink] holds at most this many bytes (plus the quotes around it).
constexpr std::size_t kMaxStoredCommand = 260;

// The kind an [ExecLink] key is read back as: kByFullName when it holds a ".", else kByName.
AssociationKind KindOfExecLinkKey(const char* key);

// True when key can be written to a profile section and read back as the same key: not empty,
// at most 260 bytes, no "=" and no line break, not beginning with "[" or ";", and no blank at
// either end (the profile functions trim it).
bool IsStorableProfileKey(const char* key);

// The command as written to [ExecLink]: cut at its first line break (which would begin a new
// line of the file), cut to kMaxStoredCommand bytes without splitting a double-byte character,
// and wrapped in one more pair of double quotes when it holds one (reading strips one pair).
std::string ExecLinkValueForStorage(const char* command);

// Empties the three lists, then fills names and full names from [ExecLink] of configFile and
// extensions from WIN.INI [Extensions], each in file order. Empty values are skipped.
void LoadAssociations(Associations& lists, const std::string& configFile);
// Destroys every record of the three lists.
void FreeAssociations(Associations& lists);

// Stores one association; an empty or null command removes it.
//   kByName, kByFullName: the [ExecLink] line key = command, or its deletion.
//   kByExtension with a command: " %1" is appended when it holds no "%"; the extension key then
//   carries the command itself (see WriteExtensionCommand).
//   kByExtension without one: the extension's key and its WIN.INI [Extensions] entry go.
// 0, or -1 when the key cannot be stored (see IsStorableProfileKey, IsStorableExtension), a
// write fails, or a removed extension still has a command.
int SetAssociation(const std::string& configFile, const char* key, const char* command,
                   AssociationKind kind);

// The lists read from a configuration file for one use, freed when it goes: another window may
// have changed them since they were last read.
struct LoadedAssociations {
  explicit LoadedAssociations(const std::string& configFile) { LoadAssociations(lists, configFile); }
  ~LoadedAssociations() { FreeAssociations(lists); }
  LoadedAssociations(const LoadedAssociations&) = delete;
  LoadedAssociations& operator=(const LoadedAssociations&) = delete;
  Associations lists;
};

}  // namespace exec
