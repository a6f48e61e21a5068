#include "fileops/file_commands_win.h"

#include <windows.h>

#include "exec/ask_input_win.h"
#include "fileops/command_support_win.h"
#include "fileops/engine.h"
#include "fileops/engine_path.h"
#include "fileops/link_create.h"
#include "fileops/progress_dialog_win.h"
#include "fileops/question_dialogs_win.h"
#include "frame/winfo_win.h"
#include "table/drive_directory.h"
#include "table/selection.h"

namespace fileops {
namespace {

void SetProgressText(int control, const char* text) {
  if (ProgressDialog* p = ActiveProgressDialog()) p->SetText(control, text);
}

// CopySelected and MoveSelected.
int TransferSelected(WINFO& pane, const std::string& typed, bool move) {
  table::Sorm* t = pane.Table();
  if (!t) return -3;
  CopyBuffer buffer;
  if (!buffer) {
    ShowMessage(pane, kMsgNoMemory);
    return -2;
  }
  const DestinationCheck typedCheck = CheckTypedDestination(typed.c_str());
  if (typedCheck != DestinationCheck::kOk) {
    ShowMessage(pane, DestinationMessage(typedCheck, move));
    return -3;
  }
  // A destination without a drive is relative to the table's directory: enter it before the
  // destination directory is made, not only before the entries are copied.
  EnterTableDirectory(*t);
  const std::string resolved = table::ResolveDrivePath(t->drives(), t->path(), typed.c_str());
  const DestinationCheck resolvedCheck = CheckResolvedDestination(resolved);
  if (resolvedCheck != DestinationCheck::kOk) {
    ShowMessage(pane, DestinationMessage(resolvedCheck, move));
    return -3;
  }
  if (DestinationNeedsDirectory(resolved) && !::CreateDirectoryA(resolved.c_str(), nullptr) &&
      DirectoryCreationStops(::GetLastError())) {
    ShowMessage(pane, kMsgCannotMakeDirectory);
    return -3;
  }
  SetProgressText(kProgressDestination, resolved.c_str());
  const std::string directory = WithTrailingBackslash(resolved);
  const std::string tableDirectory = t->DirectoryString();
  EnterTableDirectory(*t);

  int result = 0;
  for (table::BINFO* entry : SelectedEntries(*t)) {
    const table::SM_DAT& d = *entry->Data();
    if (IsDotEntry(d.name.c_str())) continue;
    std::string destination;
    if (!EntryDestination(directory, d.name.c_str(), destination)) {
      ShowMessage(pane, move ? kMsgMoveNameTooLong : kMsgCopyNameTooLong);
      result = -1;
      // A copy counts the entry as dealt with; an entry that was not moved stays selected.
      if (!move) FinishEntry(pane, entry);
      continue;
    }
    int r;
    if (move) {
      const std::string source = EntrySource(tableDirectory, d.name.c_str());
      r = d.IsDirectory() ? MoveTree(source.c_str(), destination.c_str(), buffer.Data(), buffer.Size())
                          : MoveOneFile(source.c_str(), destination.c_str(), buffer.Data(),
                                        buffer.Size());
    } else {
      r = d.IsDirectory() ? CopyTree(d.name.c_str(), destination.c_str(), buffer.Data(),
                                     buffer.Size())
                          : CopyOneFile(d.name.c_str(), destination.c_str(), buffer.Data(),
                                        buffer.Size());
    }
    if (r >= 0) {
      FinishEntry(pane, entry);
      continue;
    }
    ShowMessage(pane, EngineResultMessage(move ? EngineCommand::kMove : EngineCommand::kCopy, r,
                                          LastCopyError()));
    result = -1;
    break;
  }
  EnterTableDirectory(*t);
  return result;
}

void CopyOrMoveCommand(WINFO& pane, WINFO* other, bool move) {
  table::Sorm* t = pane.Table();
  if (!t || !table::TargetEntry(*t)) return;
  table::Sorm* otherTable = other ? other->Table() : nullptr;
  std::string answer = otherTable ? otherTable->path() : std::string();
  if (!exec::AskInput(pane.Handle(), move ? exec::InputQuestion::kMove : exec::InputQuestion::kCopy,
                      answer))
    return;
  CommandPump pump;
  SelectCursorIfNoneSelected(pane);
  int result;
  {
    ProgressDialogWin progress(pane.Handle());
    progress.Open();
    progress.SetText(kProgressFirstLabel, "ファイル");
    progress.SetText(kProgressSecondLabel, move ? "移動先" : "コピー先 ");
    progress.SetText(kProgressDestination, answer.c_str());
    OverwriteDialogWin overwrite(pane.Handle());
    result = move ? MoveSelected(pane, answer) : CopySelected(pane, answer);
    if (result != -2 && result != -3) {
      ReloadKeepingPosition(pane);
      if (other && otherTable) UpdatePane(*other);
    }
  }
}

}  // namespace

int CopySelected(WINFO& pane, const std::string& destination) {
  return TransferSelected(pane, destination, false);
}

int MoveSelected(WINFO& pane, const std::string& destination) {
  return TransferSelected(pane, destination, true);
}

void CopyCommand(WINFO& pane, WINFO* other) { CopyOrMoveCommand(pane, other, false); }

void MoveCommand(WINFO& pane, WINFO* other) { CopyOrMoveCommand(pane, other, true); }

int DeleteSelected(WINFO& pane) {
  table::Sorm* t = pane.Table();
  if (!t) return 0;
  // The read-only question's answers change attributes by the entry's name.
  EnterTableDirectory(*t);
  const std::string prefix = t->DirectoryString();
  for (table::BINFO* entry : SelectedEntries(*t)) {
    const table::SM_DAT& d = *entry->Data();
    if (IsDotEntry(d.name.c_str())) continue;
    if (d.attributes & 0x01) {
      const int answer = AskDeleteReadOnly(d.name.c_str());
      if (answer == kReadOnlyCancel) return 0;
      if (answer == kReadOnlyNo) continue;
    }
    std::string path;
    int r = -1;
    if (JoinPath(prefix, d.name.c_str(), path)) r = DeleteListedEntry(path, d.attributes);
    if (r == kEngineOk) {
      FinishEntry(pane, entry);
    } else if (r == kEngineCancelled) {
      ShowMessage(pane, kMsgCancelled);
      return 0;
    } else {
      ShowMessage(pane, CannotDeleteMessage(d.name.c_str()).c_str());
    }
  }
  return 0;
}

void DeleteCommand(WINFO& pane) {
  table::Sorm* t = pane.Table();
  if (!t || !table::TargetEntry(*t)) return;
  const bool shiftDown = (::GetAsyncKeyState(VK_SHIFT) & 0xFF00) != 0;
  SetRecycleDeletes(!shiftDown);
  if (!ConfirmDelete(pane.Handle())) return;
  CommandPump pump;
  SelectCursorIfNoneSelected(pane);
  {
    ProgressDialogWin progress(pane.Handle());
    progress.Open();
    progress.SetText(kProgressFirstLabel, "削除");
    ReadOnlyDialogWin readOnly(pane.Handle());
    DeleteSelected(pane);
    ReloadKeepingPosition(pane);
  }
}

void CopyAsCommand(WINFO& pane) {
  table::Sorm* t = pane.Table();
  table::BINFO* target = t ? table::TargetEntry(*t) : nullptr;
  if (!target) return;
  std::string answer = target->Data()->DisplayName();
  if (!exec::AskInput(pane.Handle(), exec::InputQuestion::kDuplicate, answer)) return;
  if (answer.empty()) return;  // no name: nothing to copy to
  CommandPump pump;
  {
    ProgressDialogWin progress(pane.Handle());
    progress.Open();
    progress.SetText(kProgressFirstLabel, "ファイル");
    progress.SetText(kProgressSecondLabel, "コピー先 ");
    progress.SetText(kProgressDestination, answer.c_str());
    OverwriteDialogWin overwrite(pane.Handle());
    EnterTableDirectory(*t);
    const table::SM_DAT& d = *target->Data();
    if (d.linkFlags & table::kIsLink) {
      // A new link file here that leads to the selected link itself, titled with the new name.
      std::string linkTarget;
      if (!JoinPath(t->DirectoryString(), d.name.c_str(), linkTarget) ||
          CreateLinkFile(linkTarget.c_str(), t->DirectoryString().c_str(), answer.c_str()) != 0)
        ShowMessage(pane, kMsgCannotMakeLink);
    } else {
      CopyBuffer buffer;
      if (!buffer) {
        ShowMessage(pane, kMsgNoMemory);
        return;
      }
      SelectCursorIfNoneSelected(pane);
      const int r = d.IsDirectory()
                        ? CopyTree(d.name.c_str(), answer.c_str(), buffer.Data(), buffer.Size())
                        : CopyOneFile(d.name.c_str(), answer.c_str(), buffer.Data(), buffer.Size());
      ShowMessage(pane, EngineResultMessage(EngineCommand::kCopy, r, LastCopyError()));
    }
  }
  ReloadKeepingPosition(pane);
}

void MakeDirectoryCommand(WINFO& pane) {
  table::Sorm* t = pane.Table();
  if (!t) return;
  std::string answer;
  if (!exec::AskInput(pane.Handle(), exec::InputQuestion::kMakeDir, answer)) return;
  EnterTableDirectory(*t);
  if (answer.empty() || !::CreateDirectoryA(answer.c_str(), nullptr)) {
    ShowMessage(pane, kMsgCannotMakeDirectory);
    return;
  }
  UpdatePane(pane);
}

}  // namespace fileops
