// The platform's file types under HKEY_CLASSES_ROOT, as associations.
//
// An extension key (".txt") names a file type T in its default value; T's default value is its
// description, T\shell may name the default verb V, and the command is the default value of
// T\shell\V\command (T\shell\open\command when no verb is named). An extension whose default
// value is empty carries the command itself, in place of T.
#pragma once
#include <cstddef>
#include <memory>
#include <vector>

#include "exec/exec_link_info.h"

namespace exec {

// Each registry value is read into 256 bytes: a longer value counts as unreadable.
constexpr std::size_t kRegistryValueBuffer = 256;

// Fills key, command (cut at "^"), description and verb of out for extension (with its dot).
// False when the registry knows no command for it; out is then left as it was.
bool ReadExtensionFromRegistry(const char* extension, ExecLinkInfo& out);

// The file types a user can choose from, in enumeration order: every key of HKEY_CLASSES_ROOT
// not beginning with "." that has a "shell" key whose first verb has a readable command and
// whose own description is readable. key = type name, command cut at "^", description.
std::vector<std::unique_ptr<ExecLinkInfo>> RegisteredFileTypes();

// True when extension can name a key of its own below HKEY_CLASSES_ROOT: a "." and at least one
// more character, at most 255 bytes, no "\" (which would address some other key).
bool IsStorableExtension(const char* extension);

// Makes the extension carry command itself: its default value becomes empty (it no longer
// names a file type) and extension\shell\open\command gets command. 0, or -1 when the
// extension or command cannot be stored or a registry call fails.
int WriteExtensionCommand(const char* extension, const char* command);
// Points the extension at the registered file type typeName. 0 or -1.
int WriteExtensionFileType(const char* extension, const char* typeName);
// Deletes the extension's key with the command keys written above. 0 when the extension names
// no command any more afterwards, else -1.
int DeleteExtensionKey(const char* extension);

}  // namespace exec
