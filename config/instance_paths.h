// Where the configuration, lock and help files are, and the per-user configuration path setting.
#pragma once
#include <string>

#include "config/program_context.h"

namespace config {

// Registry key (under HKEY_CURRENT_USER) whose subkey per login name holds a configuration path.
inline constexpr const char* kConfigPathKey = "Software\\Qenvard\\Sorm\\ConfigPath";

// Everything of path up to and including its last backslash (double-byte aware); "" when it
// has none.
std::string DirectoryOf(const std::string& path);

// The login name as the subkey name: GetUserNameA into 15 bytes, "default" when that fails.
std::string LoginSubkeyName();

// The configuration file path the registry gives for this user, or "" when there is none (no
// key, failed query, empty value). Only the first word counts; a quoted part may hold blanks.
std::string ConfigPathFromRegistry();

// Fill configFilePath / configPathFromRegistry, and lockFilePath and helpFilePath, of a context
// from its programPath. Every "/" of the configuration path becomes "\".
void ResolveConfigPath(ProgramContext& context);
void BuildLockAndHelpPaths(ProgramContext& context);

// Stores a configuration path for the current login name (takes effect at the next start), or
// removes it when text is empty (the ConfigPath key itself goes with the last user's setting).
// 0 on success, -1 on failure.
int WriteConfigPathSetting(const std::string& text);

// The command line that starts instance n: the program path (quoted when it holds blanks)
// followed by " -CFGID n".
std::string InstanceCommandLine(const std::string& exePath, int n);

}  // namespace config
