#include "config/instance_paths.h"

#include <cstdio>

#include "config/program_context.h"
#include "config/command_line.h"
#include "os/last_error.h"
#include "os/mbcs.h"
#include "os/path_text.h"
#include "os/services.h"

namespace config {

std::string DirectoryOf(const std::string& path) {
  const char* last = mbcs::FindLastChar(path.c_str(), '\\');
  if (!last) return std::string();
  return path.substr(0, static_cast<size_t>(last - path.c_str()) + 1);
}

std::string LoginSubkeyName() {
  char name[15] = {};
  uint32_t size = sizeof(name);
  if (!os::Sys().GetUserName(name, &size)) return "default";
  name[sizeof(name) - 1] = '\0';
  return name;
}

std::string ConfigPathFromRegistry() {
  uint32_t err = 0;
  auto key = os::Reg().OpenKey(os::RegRoot::kCurrentUser, kConfigPathKey, &err);
  if (!key) return std::string();
  // Room for the longest path in the quotes a path with a blank is stored in.
  char buf[os::kMaxPath + 2] = {};
  int32_t size = sizeof(buf);
  std::string subkey = LoginSubkeyName();
  if (key->QueryValue(subkey.c_str(), buf, &size) != os::kErrSuccess) return std::string();
  buf[sizeof(buf) - 1] = '\0';
  if (!buf[0]) return std::string();
  std::string program, params;
  config::SplitCommandLine(buf, program, params);
  // A path longer than a path is no setting, rather than a cut one.
  return os::FitsBuffer(program, os::kMaxPath) ? program : std::string();
}

namespace {
void SlashesToBackslashes(std::string& s) {
  for (size_t i = 0; i < s.size(); i += static_cast<size_t>(mbcs::Next(&s[i]) - &s[i]))
    if (s[i] == '/') s[i] = '\\';
}

std::string Bounded(std::string s) {
  if (s.size() >= os::kMaxPath) {
    char buf[os::kMaxPath];
    mbcs::CopyBounded(buf, sizeof(buf), s.c_str());
    s = buf;
  }
  return s;
}
}  // namespace

void ResolveConfigPath(ProgramContext& g) {
  std::string fromRegistry = ConfigPathFromRegistry();
  g.configPathFromRegistry = !fromRegistry.empty();
  g.configFilePath = g.configPathFromRegistry ? fromRegistry
                                              : DirectoryOf(g.programPath) + "sorm.cfg";
  SlashesToBackslashes(g.configFilePath);
  g.configFilePath = Bounded(g.configFilePath);
}

void BuildLockAndHelpPaths(ProgramContext& g) {
  std::string dir = DirectoryOf(g.programPath);
  g.lockFilePath = Bounded(dir + "smlock");
  g.helpFilePath = Bounded(dir + "sorm32.hlp");
}

int WriteConfigPathSetting(const std::string& text) {
  if (text.empty()) {
    // NT-family systems refuse to delete a key that still has subkeys, so the user's own
    // subkey goes first; the ConfigPath key follows when no other user's setting is left.
    uint32_t err = 0;
    auto key = os::Reg().OpenKey(os::RegRoot::kCurrentUser, kConfigPathKey, &err);
    if (!key) return err == os::kErrFileNotFound ? 0 : -1;
    uint32_t r = key->DeleteKey(LoginSubkeyName().c_str());
    key.reset();
    if (r != os::kErrSuccess && r != os::kErrFileNotFound) return -1;
    char first[os::kMaxPath];
    auto again = os::Reg().OpenKey(os::RegRoot::kCurrentUser, kConfigPathKey, &err);
    if (again && again->EnumKey(0, first, sizeof(first)) == os::kErrNoMoreItems) {
      again.reset();
      os::Reg().DeleteKey(os::RegRoot::kCurrentUser, kConfigPathKey);
    }
    return 0;
  }
  uint32_t err = 0;
  auto key = os::Reg().CreateKey(os::RegRoot::kCurrentUser, kConfigPathKey, &err);
  if (!key) return -1;
  return key->SetValue(LoginSubkeyName().c_str(), text.c_str()) == os::kErrSuccess ? 0 : -1;
}

std::string InstanceCommandLine(const std::string& exePath, int n) {
  char num[16];
  std::snprintf(num, sizeof(num), "%d", n);
  bool quote = exePath.find(' ') != std::string::npos && exePath.front() != '"';
  return (quote ? "\"" + exePath + "\"" : exePath) + " -CFGID " + num;
}

}  // namespace config
