// The configuration shipped beside the program ("sormdef.cfg": the toolbar's everyday buttons
// and a few mask and run items) becomes the user's configuration file on a first start, when
// that file does not exist yet. An existing configuration file is never replaced or changed.
#pragma once
#include <string>

namespace config {

inline constexpr const char* kDefaultConfigName = "sormdef.cfg";
// The shipped file is read up to this size; a larger one is not installed.
inline constexpr unsigned kDefaultConfigMaxBytes = 64 * 1024;

enum class DefaultConfigResult {
  kInstalled,       // the configuration file was made from the shipped one
  kAlreadyThere,    // a configuration file exists: left as it is
  kNoDefaults,      // no shipped file (or an unreadable or oversized one)
  kFailed,          // the file could not be written; nothing was left behind
};

// Makes configPath from defaultsPath when configPath does not exist. The copy is written under
// a temporary name and then renamed with MoveFile, which fails rather than replace a file that
// appeared meanwhile (another window starting at the same moment).
DefaultConfigResult InstallDefaultConfig(const std::string& defaultsPath,
                                         const std::string& configPath);

}  // namespace config
