#include "exec/run_plan.h"

#include <vector>

#include "config/command_line.h"
#include "os/path_text.h"
#include "os/services.h"

namespace exec {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

const char* SkipBlanks(const char* p) {
  while (IsBlank(*p)) ++p;
  return p;
}

int Value(LaunchClass c) { return static_cast<int>(c); }

// Each part after one blank (" %s %s ...").
std::string EachAfterBlank(std::initializer_list<const std::string*> parts) {
  std::string text;
  for (const std::string* p : parts) {
    text += ' ';
    text += *p;
  }
  return text;
}

// A name the file system finds without the current directory: "C:\x" or "\\server\x".
bool IsFullPath(const std::string& p) {
  return (p.size() >= 3 && p[1] == ':' && p[2] == '\\') ||
         (p.size() >= 2 && p[0] == '\\' && p[1] == '\\');
}

// A drive-relative ("C:x") or rooted ("\x") name depends on the current directory.
bool DependsOnCurrentDirectory(const std::string& p) {
  return (p.size() >= 2 && p[1] == ':') || (!p.empty() && (p[0] == '\\' || p[0] == '/'));
}

bool ExistsIn(const std::string& directory, const std::string& name) {
  std::string path;
  if (IsFullPath(name))
    path = name;
  else if (DependsOnCurrentDirectory(name) || directory.empty())
    return false;
  else
    path = os::DirectoryString(directory) + name;
  return os::Fs().GetAttributes(path.c_str()) != os::kInvalidAttributes;
}

}  // namespace

RunLine LineOfSource(LineSource source, const std::string& text) {
  if (source == LineSource::kCommand) return RunLine{text, std::string()};
  return RunLine{std::string(), text};
}

RunRequest ParseRunAnswer(const char* answer) {
  RunRequest r;
  if (answer && answer[0] == '#') {
    r.direct = true;
    r.line = SkipBlanks(answer + 1);
  } else {
    r.line = answer ? answer : "";
  }
  return r;
}

RunRequest ParseRunMenuCommand(const char* command) {
  RunRequest r = ParseRunAnswer(command);
  r.shellFallback = r.direct;
  r.source = LineSource::kCommand;
  return r;
}

TypedLine SplitTypedLine(const char* typed) {
  TypedLine t;
  t.line = SkipBlanks(typed ? typed : "");
  config::SplitCommandLine(t.line.c_str(), t.program, t.parameters);
  return t;
}

TypedLine SplitTypedLineIn(const char* typed, const std::string& directory) {
  const std::string line = SkipBlanks(typed ? typed : "");
  if (line.empty() || line[0] == '"') return SplitTypedLine(line.c_str());
  // Each run of leading words ends before a blank (never a trail byte); the longest first.
  std::vector<std::size_t> ends;
  for (std::size_t i = 1; i < line.size(); ++i)
    if (IsBlank(line[i]) && !IsBlank(line[i - 1])) ends.push_back(i);
  if (!IsBlank(line.back())) ends.push_back(line.size());
  for (auto it = ends.rbegin(); it != ends.rend(); ++it) {
    const std::string name = line.substr(0, *it);
    if (name.find_first_of(" \t") == std::string::npos) break;  // one word: as it splits
    if (!ExistsIn(directory, name)) continue;
    return SplitTypedLine(("\"" + name + "\"" + line.substr(*it)).c_str());
  }
  return SplitTypedLine(line.c_str());
}

std::string StartDirectory(LaunchClass c, const std::string& tableDirectory,
                           const std::string& ownWorkingDirectory) {
  if (SourceOf(c) != LaunchSource::kPlainFile && !ownWorkingDirectory.empty())
    return ownWorkingDirectory;
  return tableDirectory;
}

std::string QuotedIfBlank(const std::string& path) {
  if (path.find_first_of(" \t") == std::string::npos) return path;
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"') return path;
  return "\"" + path + "\"";
}

TypedRunPlan PlanTypedRun(const TypedLine& typed, const AssociationMatch& match,
                          const std::string& tableDirectory,
                          const std::string& ownWorkingDirectory, LineSource source) {
  TypedRunPlan plan;
  const std::string& c = match.command;
  const std::string t = QuotedIfBlank(match.file.path);
  const std::string& s = match.file.arguments;
  const std::string& a = typed.parameters;
  plan.directory = StartDirectory(match.launchClass, tableDirectory, ownWorkingDirectory);
  plan.restoreTableDirectory = Value(match.launchClass) >= 5;
  // The association's command, then what follows it, each part after one blank.
  std::string command;
  std::string written;
  switch (match.launchClass) {
    case LaunchClass::kLinkByExtension:
    case LaunchClass::kLinkByName:
    case LaunchClass::kLinkByFullName:
      command = c;
      written = EachAfterBlank({&t, &a});
      plan.fallbackFile = c;
      plan.fallbackParameters = t;
      break;
    case LaunchClass::kShortcutByExtension:
    case LaunchClass::kShortcutByName:
    case LaunchClass::kShortcutByFullName:
      command = c;
      written = EachAfterBlank({&t, &s, &a});
      plan.fallbackFile = c;
      plan.fallbackParameters = t;
      break;
    case LaunchClass::kLinkExecutable:
    case LaunchClass::kShortcutExecutable:
      command = c;
      written = EachAfterBlank({&a});
      plan.fallbackFile = c;
      plan.fallbackParameters = a;
      break;
    case LaunchClass::kByExtension:
    case LaunchClass::kByName:
    case LaunchClass::kByFullName:
      command = c;
      written = EachAfterBlank({&typed.line});
      plan.fallbackFile = typed.line;
      break;
    case LaunchClass::kNone:
    case LaunchClass::kExecutable:
      written = typed.line;
      plan.fallbackFile = typed.program;
      plan.fallbackParameters = typed.parameters;
      break;
  }
  if (command.size() + written.size() > kMaxCommandLine) {
    plan.tooLong = true;
  } else if (source == LineSource::kCommand) {
    plan.run = RunLine{command + written, std::string()};
  } else {
    plan.run = RunLine{std::move(command), std::move(written)};
  }
  return plan;
}

OpenPlan PlanOpenFile(const AssociationMatch& match, const std::string& tableDirectory,
                      const std::string& fileName, const std::string& ownWorkingDirectory,
                      bool oldShell) {
  OpenPlan plan;
  const std::string fullPath = os::DirectoryString(tableDirectory) + fileName;
  plan.file = fullPath;
  // A shortcut opened through its target's association starts in the table's directory; only
  // a shortcut to a program starts in its own.
  const int v = Value(match.launchClass);
  const bool ownDirectory = (v >= 5 && v <= 9) || v == 13;
  plan.directory = ownDirectory ? StartDirectory(match.launchClass, tableDirectory,
                                                 ownWorkingDirectory)
                                : tableDirectory;
  const std::string recordVerb = match.record ? match.record->verb : std::string();
  switch (match.launchClass) {
    case LaunchClass::kNone:
    case LaunchClass::kExecutable:
      break;
    case LaunchClass::kByExtension:
    case LaunchClass::kShortcutByExtension:
      if (oldShell) {
        plan.verb = recordVerb;
      } else {
        plan.action = OpenAction::kInvokeVerb;
        plan.verb = recordVerb.empty() ? "open" : recordVerb;
      }
      break;
    case LaunchClass::kByName:
    case LaunchClass::kByFullName:
    case LaunchClass::kShortcutByName:
    case LaunchClass::kShortcutByFullName:
    case LaunchClass::kLinkByExtension:
    case LaunchClass::kLinkByName:
    case LaunchClass::kLinkByFullName:
      plan.action = OpenAction::kRunWithFiles;
      plan.command = match.command;
      break;
    case LaunchClass::kLinkExecutable: {
      std::string parameters;
      config::SplitCommandLine(match.command.c_str(), plan.file, parameters);
      break;
    }
    case LaunchClass::kShortcutExecutable:
      break;
  }
  return plan;
}

}  // namespace exec
