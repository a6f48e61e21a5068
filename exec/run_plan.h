// What opening a file and running a typed line do, decided without touching the system: which
// line is started, how, in which directory, and what is tried when the start fails. The window
// side carries a plan out (WinExec, ShellExecuteA, the shell's verb).
#pragma once
#include <string>

#include "exec/association_lookup.h"
#include "exec/run_line.h"

namespace exec {

// Whose line is run. The run dialog's answer is text the user typed: it reaches the program as
// written ("%" and "^" included). A run-menu item or a key binding is a command the user set up
// as an association's is: its "%" placeholders and "^" hints are blanked and the selected files
// take their place at the end.
enum class LineSource { kTyped, kCommand };

// The line to start for text of source: typed text is written text, a command is a command.
RunLine LineOfSource(LineSource source, const std::string& text);

// A line of the run dialog or of a run-menu item. One beginning with "#" is run as it stands
// (direct): the "#" and the blanks after it are dropped and no association is consulted.
struct RunRequest {
  bool direct = false;
  std::string line;
  LineSource source = LineSource::kTyped;
  // A direct line that cannot be started is handed to the shell as a file (a document or an
  // address opens with its program). A run-menu item's is; the run dialog's is not.
  bool shellFallback = false;
};
RunRequest ParseRunAnswer(const char* answer);
RunRequest ParseRunMenuCommand(const char* command);

// A typed line after its leading blanks, with its program and parameters (SplitCommandLine).
struct TypedLine {
  std::string line;
  std::string program;
  std::string parameters;  // each parameter after one blank
};
TypedLine SplitTypedLine(const char* typed);

// As SplitTypedLine, except that an unquoted line whose leading words, blanks included, name
// an existing file or folder takes them as its program: the longest such run wins, so a typed
// "my report.doc -x" opens "my report.doc" when it exists in directory (the table's) rather
// than starting "my" with arguments. The line then names the program in double quotes. A
// relative name is looked for in directory only, never in the process's current directory.
TypedLine SplitTypedLineIn(const char* typed, const std::string& directory);

// The directory a program starts in: a link file's or a shortcut's own working directory when
// the file opened is one and names it, else the table's directory. Never the process's current
// directory, which the other pane may have changed.
std::string StartDirectory(LaunchClass c, const std::string& tableDirectory,
                           const std::string& ownWorkingDirectory);

// A file path in a composed line: in double quotes when it holds a blank (bare, the program
// would read it as two names).
std::string QuotedIfBlank(const std::string& path);

// Running a typed line (RunCommandLine).
struct TypedRunPlan {
  RunLine run;           // handed to RunWithFiles; empty when tooLong
  bool tooLong = false;  // longer than kMaxCommandLine: nothing is started
  std::string directory;
  // Tried with ShellExecuteA when RunWithFiles reports a failure (below 32).
  std::string fallbackFile;
  std::string fallbackParameters;
  // Link files and shortcuts start in their own directory; the table's is made current after.
  bool restoreTableDirectory = false;
};
// The association's command is the command of the line; what follows it (the link's target,
// the shortcut's arguments, the typed line) is written text for kTyped and part of the command
// for kCommand.
TypedRunPlan PlanTypedRun(const TypedLine& typed, const AssociationMatch& match,
                          const std::string& tableDirectory,
                          const std::string& ownWorkingDirectory, LineSource source);

// Opening one file entry (OpenFile).
enum class OpenAction {
  kShellExecute,       // ShellExecuteA(verb, file, no parameters, directory), verb "" = default
  kInvokeVerb,         // the shell's context-menu verb on file
  kRunWithFiles,       // RunWithFiles(command) with the entry selected
};
struct OpenPlan {
  OpenAction action = OpenAction::kShellExecute;
  std::string verb;
  std::string file;      // full path (or the program, for a link file to a program)
  std::string command;   // for kRunWithFiles
  std::string directory;
};
// fileName is the entry's name in tableDirectory; oldShell: Windows major version below 4.
OpenPlan PlanOpenFile(const AssociationMatch& match, const std::string& tableDirectory,
                      const std::string& fileName, const std::string& ownWorkingDirectory,
                      bool oldShell);

}  // namespace exec
