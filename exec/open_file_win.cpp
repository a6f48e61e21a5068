#include "exec/open_file_win.h"

#include "config/program_context.h"
#include "exec/association_lookup.h"
#include "exec/association_store.h"
#include "exec/open_entries.h"
#include "exec/run_line.h"
#include "exec/run_plan.h"
#include "fw/lazy_api.h"
#include "os/path_text.h"
#include "os/services.h"
#include "table/selection.h"

namespace exec {
namespace {

constexpr int kOldShellMajorVersion = 4;
constexpr uint32_t kFirstSuccess = 32;  // WinExec: below is a failure

bool IsWin32Program(const std::string& program) {
  SHFILEINFOA info = {};
  const DWORD_PTR type = lazy::SHGetFileInfoA(program.c_str(), 0, &info, sizeof(info),
                                              SHGFI_EXETYPE);
  return IsWin32ExeType(static_cast<uint32_t>(type));
}

void ShellExecuteIn(const std::string& verb, const std::string& file,
                    const std::string& directory) {
  lazy::ShellExecuteA(nullptr, verb.empty() ? nullptr : verb.c_str(), file.c_str(), nullptr,
                      directory.empty() ? nullptr : directory.c_str(), SW_SHOW);
}

}  // namespace

namespace {
// The composed line started in directory, the table's path made current again.
uint32_t RunComposed(table::Sorm& t, const std::string& command, const std::string& directory,
                     const std::vector<std::string>* dropped) {
  std::string line;
  if (!ComposeRunWithFiles(command.c_str(), &IsWin32Program,
                           dropped ? std::vector<SelectedFile>() : SelectedFilesOf(t),
                           t.DirectoryString(), dropped, line))
    return 0;
  // WinExec starts the program in the process's current directory.
  os::Fs().SetCurrentDir(directory.c_str());
  const uint32_t result = os::Sys().WinExec(line.c_str(), SW_SHOW);
  os::Fs().SetCurrentDir(t.path().c_str());
  return result;
}
}  // namespace

uint32_t RunWithFiles(table::Sorm& t, const std::string& command, const std::string& directory,
                      table::PaneSurface* surface) {
  const uint32_t result = RunComposed(t, command, directory, nullptr);
  table::DeselectAll(t, surface);
  return result;
}

uint32_t RunWithDroppedFiles(table::Sorm& t, const std::string& command,
                             const std::vector<std::string>& dropped) {
  return RunComposed(t, command, t.path(), &dropped);
}

void OpenFile(HWND owner, table::Sorm& t, table::BINFO* entry, const std::string& fullPath,
              table::PaneSurface* surface) {
  (void)owner;
  table::SM_DAT& d = *entry->Data();
  const bool marked = (d.state & table::kOpenMark) != 0;
  if (marked) table::Select(t, entry, surface);
  const char* name = os::FileNamePart(fullPath.c_str());
  const std::string directory = t.path();
  OpenPlan plan;
  {
    LoadedAssociations loaded(config::Context().configFilePath);
    const AssociationMatch match = LookupAssociation(loaded.lists, directory, name);
    const bool oldShell = config::Context().windowsMajorVersion < kOldShellMajorVersion;
    plan = PlanOpenFile(match, directory, name, std::string(), oldShell);
  }
  switch (plan.action) {
    case OpenAction::kShellExecute:
      ShellExecuteIn(plan.verb, plan.file, plan.directory);
      break;
    case OpenAction::kInvokeVerb:
      // The shell's verb by name: ShellExecuteA with that verb does what the context menu's
      // item of that verb does.
      ShellExecuteIn(plan.verb, plan.file, plan.directory);
      break;
    case OpenAction::kRunWithFiles:
      RunWithFiles(t, plan.command, plan.directory, surface);
      break;
  }
  if (marked && d.IsSelected()) table::Deselect(t, entry, surface);
  os::Fs().SetCurrentDir(t.path().c_str());
}

RunOutcome RunCommandLine(table::Sorm& t, const std::string& line,
                          table::PaneSurface* surface) {
  const TypedLine typed = SplitTypedLine(line.c_str());
  if (typed.program.empty()) return RunOutcome::kFailed;
  const std::string directory = t.path();
  TypedRunPlan plan;
  {
    LoadedAssociations loaded(config::Context().configFilePath);
    const AssociationMatch match =
        LookupAssociation(loaded.lists, directory, typed.program.c_str());
    plan = PlanTypedRun(typed, match, directory, std::string());
  }
  if (plan.tooLong) return RunOutcome::kTooLong;
  if (RunWithFiles(t, plan.line, plan.directory, surface) >= kFirstSuccess)
    return RunOutcome::kStarted;
  if (plan.fallbackFile.empty()) return RunOutcome::kFailed;
  const HINSTANCE r = lazy::ShellExecuteA(
      nullptr, nullptr, plan.fallbackFile.c_str(),
      plan.fallbackParameters.empty() ? nullptr : plan.fallbackParameters.c_str(),
      plan.directory.c_str(), SW_SHOW);
  return reinterpret_cast<INT_PTR>(r) > 32 ? RunOutcome::kStarted : RunOutcome::kFailed;
}

RunOutcome RunAnswer(table::Sorm& t, const std::string& answer, table::PaneSurface* surface) {
  const RunRequest request = ParseRunAnswer(answer.c_str());
  if (!request.direct) return RunCommandLine(t, request.line, surface);
  if (request.line.empty()) return RunOutcome::kFailed;
  if (request.line.size() > kMaxCommandLine) return RunOutcome::kTooLong;
  return RunWithFiles(t, request.line, t.path(), surface) >= kFirstSuccess ? RunOutcome::kStarted
                                                                           : RunOutcome::kFailed;
}

}  // namespace exec
