#include "exec/run_plan.h"

#include "config/command_line.h"
#include "os/path_text.h"

namespace exec {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

const char* SkipBlanks(const char* p) {
  while (IsBlank(*p)) ++p;
  return p;
}

int Value(LaunchClass c) { return static_cast<int>(c); }

// The parts with one blank between each two ("%s %s ...").
std::string Joined(std::initializer_list<const std::string*> parts) {
  std::string line;
  bool first = true;
  for (const std::string* p : parts) {
    if (!first) line += ' ';
    line += *p;
    first = false;
  }
  return line;
}

}  // namespace

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
  return r;
}

TypedLine SplitTypedLine(const char* typed) {
  TypedLine t;
  t.line = SkipBlanks(typed ? typed : "");
  config::SplitCommandLine(t.line.c_str(), t.program, t.parameters);
  return t;
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
                          const std::string& ownWorkingDirectory) {
  TypedRunPlan plan;
  const std::string& c = match.command;
  const std::string t = QuotedIfBlank(match.file.path);
  const std::string& s = match.file.arguments;
  const std::string& a = typed.parameters;
  plan.directory = StartDirectory(match.launchClass, tableDirectory, ownWorkingDirectory);
  plan.restoreTableDirectory = Value(match.launchClass) >= 5;
  switch (match.launchClass) {
    case LaunchClass::kLinkByExtension:
    case LaunchClass::kLinkByName:
    case LaunchClass::kLinkByFullName:
      plan.line = Joined({&c, &t, &a});
      plan.fallbackFile = c;
      plan.fallbackParameters = t;
      break;
    case LaunchClass::kShortcutByExtension:
    case LaunchClass::kShortcutByName:
    case LaunchClass::kShortcutByFullName:
      plan.line = Joined({&c, &t, &s, &a});
      plan.fallbackFile = c;
      plan.fallbackParameters = t;
      break;
    case LaunchClass::kLinkExecutable:
    case LaunchClass::kShortcutExecutable:
      plan.line = Joined({&c, &a});
      plan.fallbackFile = c;
      plan.fallbackParameters = a;
      break;
    case LaunchClass::kByExtension:
    case LaunchClass::kByName:
    case LaunchClass::kByFullName:
      plan.line = Joined({&c, &typed.line});
      plan.fallbackFile = typed.line;
      break;
    case LaunchClass::kNone:
    case LaunchClass::kExecutable:
      plan.line = typed.line;
      plan.fallbackFile = typed.program;
      plan.fallbackParameters = typed.parameters;
      break;
  }
  if (plan.line.size() > kMaxCommandLine) {
    plan.line.clear();
    plan.tooLong = true;
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
