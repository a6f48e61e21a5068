#include "exec/open_file_win.h"

#include "config/program_context.h"
#include "exec/association_lookup.h"
#include "exec/open_entries.h"
#include "exec/program_search.h"
#include "exec/run_line.h"
#include "exec/run_plan.h"
#include "exec/shell_context_menu_win.h"
#include "exec/table_associations.h"
#include "exec/working_directory.h"
#include "fw/lazy_api.h"
#include "os/path_text.h"
#include "os/services.h"
#include "table/selection.h"

namespace exec {
namespace {

constexpr int kOldShellMajorVersion = 4;
constexpr uint32_t kFirstSuccess = 32;  // WinExec: below is a failure
constexpr uint32_t kWinExecNotFound = 2;  // ERROR_FILE_NOT_FOUND

bool IsWin32Program(const std::string& program) {
  return IsWin32ExeType(os::Sys().ExecutableType(program.c_str()));
}

// The table's lists, under its lock (the icon loader reads them from its own thread).
AssociationMatch LookupInTable(table::Sorm& t, const std::string& directory, const char* name) {
  const AssociationsLock hold(t.lock());
  return LookupAssociation(TableAssociations(t), directory, name);
}

// Wine's context-menu object finds the "open" item of a document and reports it carried out,
// but starts no program (its item only opens folders); Windows' starts the file type's program.
bool ShellItemsStartPrograms() {
  static const bool underWine =
      ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  return !underWine;
}

void ShellExecuteIn(const std::string& verb, const std::string& file,
                    const std::string& directory) {
  lazy::ShellExecuteA(nullptr, verb.empty() ? nullptr : verb.c_str(), file.c_str(), nullptr,
                      directory.empty() ? nullptr : directory.c_str(), SW_SHOW);
}

}  // namespace

namespace {

// A start through RunWithFiles: the WinExec result, or a refusal already shown.
struct Started {
  uint32_t result = 0;
  bool refused = false;
};

// The table's path made current again when it goes.
struct TablePathBack {
  const table::Sorm& t;
  ~TablePathBack() { os::Fs().SetCurrentDir(t.path().c_str()); }
};

// The composed line started in directory, the table's path made current again.
Started RunComposed(table::Sorm& t, const RunLine& run, const std::string& directory,
                    const std::vector<std::string>* dropped) {
  // WinExec starts the program in the process's current directory: it is that directory
  // already when the program's type is asked, and the type is asked of the file the start
  // will run (a name relative to a link's working directory lies there, a bare name where the
  // search below finds it).
  const TablePathBack back{t};
  os::Fs().SetCurrentDir(directory.c_str());
  const std::vector<std::string> folders = SystemProgramDirectories();
  const ProgramTypeCheck isWin32 = [&directory, &folders](const std::string& program) {
    return IsWin32Program(ProgramPathIn(program, directory, folders));
  };
  ComposedLine composed;
  const ComposeResult r =
      ComposeRunWithFiles(run, isWin32, dropped ? std::vector<SelectedFile>() : SelectedFilesOf(t),
                          t.DirectoryString(), dropped, composed);
  if (r == ComposeResult::kTooLong) return Started{};
  if (r == ComposeResult::kComposed && dropped) {
    if (const std::string* missing = FirstMissingPath(*dropped)) {
      composed.refusal = NameRefusal::kMissing;
      composed.refusedName = *missing;
    }
  }
  if (composed.refusal != NameRefusal::kNone) {
    t.ErrorBox(RefusalMessage(composed.refusal, composed.refusedName).c_str());
    return Started{0, true};
  }
  std::string& line = composed.line;
  // A program named without a path is started by the full path found for it: process creation
  // would look in the current directory first and start a program planted there.
  if (!ResolveLineProgram(line, folders, kMaxCommandLine)) return Started{kWinExecNotFound, false};
  return Started{os::Sys().WinExec(line.c_str(), SW_SHOW), false};
}

Started StartWithFiles(table::Sorm& t, const RunLine& run, const std::string& directory,
                       table::PaneSurface* surface) {
  const Started started = RunComposed(t, run, directory, nullptr);
  table::DeselectAll(t, surface);
  return started;
}

}  // namespace

uint32_t RunWithFiles(table::Sorm& t, const RunLine& run, const std::string& directory,
                      table::PaneSurface* surface) {
  return StartWithFiles(t, run, directory, surface).result;
}

uint32_t RunWithDroppedFiles(table::Sorm& t, const std::string& command,
                             const std::vector<std::string>& dropped,
                             table::PaneSurface* surface) {
  const Started started = RunComposed(t, RunLine{command, std::string()}, t.path(), &dropped);
  table::DeselectAll(t, surface);
  return started.result;
}

void OpenFile(HWND owner, table::Sorm& t, table::BINFO* entry, const std::string& fullPath,
              table::PaneSurface* surface) {
  table::SM_DAT& d = *entry->Data();
  const bool marked = (d.state & table::kOpenMark) != 0;
  if (marked) table::Select(t, entry, surface);
  const char* name = os::FileNamePart(fullPath.c_str());
  const std::string directory = t.path();
  OpenPlan plan;
  {
    const AssociationMatch match = LookupInTable(t, directory, name);
    const bool oldShell = config::Context().windowsMajorVersion < kOldShellMajorVersion;
    plan = PlanOpenFile(match, directory, name,
                        OwnWorkingDirectory(match.file.source, directory, name), oldShell);
  }
  switch (plan.action) {
    case OpenAction::kShellExecute:
      ShellExecuteIn(plan.verb, plan.file, plan.directory);
      break;
    case OpenAction::kInvokeVerb:
      // The shell's item of the verb; ShellExecuteA with the same verb where that item starts
      // nothing (Wine) or the shell offers none. The item starts the document's program in the
      // process's current directory: the table's is made current first.
      os::Fs().SetCurrentDir(plan.directory.c_str());
      if (!ShellItemsStartPrograms() || !InvokeShellVerb(t, owner, surface, plan.verb.c_str()))
        ShellExecuteIn(plan.verb.empty() ? "open" : plan.verb, plan.file, plan.directory);
      break;
    case OpenAction::kRunWithFiles:
      RunWithFiles(t, RunLine{plan.command, std::string()}, plan.directory, surface);
      break;
  }
  if (marked && d.IsSelected()) table::Deselect(t, entry, surface);
  os::Fs().SetCurrentDir(t.path().c_str());
}

namespace {

RunOutcome RunLineOf(table::Sorm& t, const std::string& line, LineSource source,
                     table::PaneSurface* surface) {
  const std::string directory = t.path();
  const TypedLine typed = SplitTypedLineIn(line.c_str(), directory);
  if (typed.program.empty()) return RunOutcome::kFailed;
  TypedRunPlan plan;
  {
    const AssociationMatch match = LookupInTable(t, directory, typed.program.c_str());
    plan = PlanTypedRun(typed, match, directory,
                        OwnWorkingDirectory(match.file.source, directory, typed.program.c_str()),
                        source);
  }
  if (plan.tooLong) return RunOutcome::kTooLong;
  const Started started = StartWithFiles(t, plan.run, plan.directory, surface);
  if (started.refused) return RunOutcome::kRefused;
  if (started.result >= kFirstSuccess) return RunOutcome::kStarted;
  if (plan.fallbackFile.empty()) return RunOutcome::kFailed;
  const HINSTANCE r = lazy::ShellExecuteA(
      nullptr, nullptr, plan.fallbackFile.c_str(),
      plan.fallbackParameters.empty() ? nullptr : plan.fallbackParameters.c_str(),
      plan.directory.c_str(), SW_SHOW);
  return reinterpret_cast<INT_PTR>(r) > 32 ? RunOutcome::kStarted : RunOutcome::kFailed;
}

RunOutcome RunRequested(table::Sorm& t, const RunRequest& request, table::PaneSurface* surface) {
  if (!request.direct) return RunLineOf(t, request.line, request.source, surface);
  if (request.line.empty()) return RunOutcome::kFailed;
  if (request.line.size() > kMaxCommandLine) return RunOutcome::kTooLong;
  const std::string directory = t.path();
  const Started started =
      StartWithFiles(t, LineOfSource(request.source, request.line), directory, surface);
  if (started.refused) return RunOutcome::kRefused;
  if (started.result >= kFirstSuccess) return RunOutcome::kStarted;
  if (!request.shellFallback) return RunOutcome::kFailed;
  const HINSTANCE r = lazy::ShellExecuteA(nullptr, nullptr, request.line.c_str(), nullptr,
                                          directory.c_str(), SW_SHOW);
  return reinterpret_cast<INT_PTR>(r) > 32 ? RunOutcome::kStarted : RunOutcome::kFailed;
}

}  // namespace

RunOutcome RunCommandLine(table::Sorm& t, const std::string& line,
                          table::PaneSurface* surface) {
  return RunLineOf(t, line, LineSource::kCommand, surface);
}

RunOutcome RunAnswer(table::Sorm& t, const std::string& answer, table::PaneSurface* surface) {
  return RunRequested(t, ParseRunAnswer(answer.c_str()), surface);
}

RunOutcome RunMenuCommand(table::Sorm& t, const std::string& command,
                          table::PaneSurface* surface) {
  return RunRequested(t, ParseRunMenuCommand(command.c_str()), surface);
}

}  // namespace exec
