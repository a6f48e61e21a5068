#include "fileops/file_commands_win.h"

#include <windows.h>

#include "frame/command_gate.h"
#include "exec/ask_input_win.h"
#include "fileops/command_support_win.h"
#include "fileops/engine.h"
#include "fileops/engine_dialogs_win.h"
#include "fileops/engine_path.h"
#include "fileops/full_path.h"
#include "fileops/link_create.h"
#include "fileops/progress_dialog_win.h"
#include "fileops/question_dialogs_win.h"
#include "frame/winfo_win.h"
#include "os/services.h"
#include "table/drive_directory.h"
#include "table/selection.h"

namespace fileops {
namespace {

// CopySelected and MoveSelected.
int TransferSelected(const OperationUi& ui, WINFO& pane, const std::string& typed, bool move) {
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
  // Everything below works on full paths made here from the table's own directory.
  const std::string typedResolved =
      table::ResolveDrivePath(t->drives(), t->path(), typed.c_str());
  const bool renameFirst = MoveRenamesFirst(typedResolved.c_str());
  const std::string resolved = FullPathIn(t->path(), typedResolved);
  const DestinationCheck resolvedCheck =
      resolved.empty() ? DestinationCheck::kTooLong : CheckResolvedDestination(resolved);
  if (resolvedCheck != DestinationCheck::kOk) {
    ShowMessage(pane, DestinationMessage(resolvedCheck, move));
    return -3;
  }
  if (DestinationNeedsDirectory(typedResolved) && !os::Fs().CreateDir(resolved.c_str()) &&
      DirectoryCreationStops(::GetLastError())) {
    ShowMessage(pane, kMsgCannotMakeDirectory);
    return -3;
  }
  if (ui.progress) ui.progress->SetText(kProgressDestination, resolved.c_str());
  const std::string directory = WithTrailingBackslash(resolved);
  const std::string tableDirectory = t->DirectoryString();

  int result = 0;
  for (table::BINFO* entry : SelectedEntries(*t)) {
    const table::SM_DAT& d = *entry->Data();
    if (IsDotEntry(d.name.c_str())) continue;
    // An entry is copied or moved under the name that reaches it (its alias for a look-alike).
    const char* name = CommandName(pane, d);
    if (!name) {
      result = -1;
      continue;
    }
    std::string destination;
    if (!EntryDestination(directory, name, destination)) {
      ShowMessage(pane, move ? kMsgMoveNameTooLong : kMsgCopyNameTooLong);
      result = -1;
      // A copy counts the entry as dealt with; an entry that was not moved stays selected.
      if (!move) FinishEntry(pane, entry);
      continue;
    }
    const std::string source = EntrySource(tableDirectory, name);
    int r;
    if (move) {
      r = d.IsDirectory() ? MoveTree(ui, source.c_str(), destination.c_str(), buffer.Data(),
                                     buffer.Size())
                          : MoveOneFile(ui, source.c_str(), destination.c_str(), buffer.Data(),
                                        buffer.Size(), renameFirst);
    } else {
      r = d.IsDirectory() ? CopyTree(ui, source.c_str(), destination.c_str(), buffer.Data(),
                                     buffer.Size())
                          : CopyOneFile(ui, source.c_str(), destination.c_str(), buffer.Data(),
                                        buffer.Size());
    }
    if (r >= 0) {
      FinishEntry(pane, entry);
      continue;
    }
    std::string text;
    ShowMessage(pane, EngineFailureMessage(move ? EngineCommand::kMove : EngineCommand::kCopy, r,
                                           ui, text));
    result = -1;
    break;
  }
  return result;
}

void CopyOrMoveCommand(WINFO& pane, WINFO* other, bool move, frame::CommandGate& gate) {
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
    EngineDialogs dialogs(pane, gate, false);
    ProgressDialogWin& progress = dialogs.Progress();
    progress.SetText(kProgressFirstLabel, "ファイル");
    progress.SetText(kProgressSecondLabel, move ? "移動先" : "コピー先 ");
    progress.SetText(kProgressDestination, answer.c_str());
    result = TransferSelected(dialogs.Ui(), pane, answer, move);
    if (result != -2 && result != -3) {
      ReloadKeepingPosition(pane);
      if (other && otherTable) UpdatePane(*other);
    }
  }
}

}  // namespace

int CopySelected(const OperationUi& ui, WINFO& pane, const std::string& destination) {
  return TransferSelected(ui, pane, destination, false);
}

int MoveSelected(const OperationUi& ui, WINFO& pane, const std::string& destination) {
  return TransferSelected(ui, pane, destination, true);
}

void CopyCommand(WINFO& pane, WINFO* other, frame::CommandGate& gate) {
  CopyOrMoveCommand(pane, other, false, gate);
}

void MoveCommand(WINFO& pane, WINFO* other, frame::CommandGate& gate) {
  CopyOrMoveCommand(pane, other, true, gate);
}

int DeleteSelected(const OperationUi& ui, WINFO& pane) {
  table::Sorm* t = pane.Table();
  if (!t) return 0;
  const std::string prefix = t->DirectoryString();
  for (table::BINFO* entry : SelectedEntries(*t)) {
    const table::SM_DAT& d = *entry->Data();
    if (IsDotEntry(d.name.c_str())) continue;
    const char* name = CommandName(pane, d);
    if (!name) continue;
    // The read-only question's answers change the attributes of exactly this path.
    std::string path;
    const bool fits = JoinPath(prefix, name, path);
    if (fits && (d.attributes & 0x01)) {
      const int answer = AskDeleteReadOnly(ui, path.c_str(), d.name.c_str());
      if (answer == kReadOnlyCancel) return 0;
      if (answer == kReadOnlyNo) continue;
    }
    int r = -1;
    if (fits) r = DeleteListedEntry(ui, path, d.attributes);
    if (r == kEngineOk) {
      FinishEntry(pane, entry);
    } else if (r == kEngineCancelled) {
      ShowMessage(pane, kMsgCancelled);
      return 0;
    } else if (LastCopyError() == kErrnoFileLink) {
      ShowMessage(pane, FileLinkMessage(RefusedLinkPath().c_str()).c_str());
    } else {
      ShowMessage(pane, CannotDeleteMessage(d.name.c_str()).c_str());
    }
  }
  return 0;
}

void DeleteCommand(WINFO& pane, frame::CommandGate& gate) {
  table::Sorm* t = pane.Table();
  if (!t || !table::TargetEntry(*t)) return;
  // Shift as it was when the key or click that asked for the delete was taken from the queue,
  // not as it is now: a Delete typed ahead stays a delete into the recycle bin though Shift is
  // held by the time it is handled.
  const bool shiftDown = ::GetKeyState(VK_SHIFT) < 0;
  SetRecycleDeletes(!shiftDown);
  if (!ConfirmDelete(pane.Handle())) return;
  CommandPump pump;
  SelectCursorIfNoneSelected(pane);
  {
    EngineDialogs dialogs(pane, gate, true);
    dialogs.Progress().SetText(kProgressFirstLabel, "削除");
    DeleteSelected(dialogs.Ui(), pane);
    ReloadKeepingPosition(pane);
  }
}

void CopyAsCommand(WINFO& pane, frame::CommandGate& gate) {
  table::Sorm* t = pane.Table();
  table::BINFO* target = t ? table::TargetEntry(*t) : nullptr;
  if (!target) return;
  // A name that does not lead back would name nothing, or the file it resembles: the alias that
  // reaches the entry is offered.
  const table::SM_DAT& offered = *target->Data();
  const char* address = offered.unmappable ? offered.AddressName() : nullptr;
  std::string answer = address ? address : offered.DisplayName();
  if (!exec::AskInput(pane.Handle(), exec::InputQuestion::kDuplicate, answer)) return;
  if (answer.empty()) return;  // no name: nothing to copy to
  CommandPump pump;
  {
    EngineDialogs dialogs(pane, gate, false);
    ProgressDialogWin& progress = dialogs.Progress();
    progress.SetText(kProgressFirstLabel, "ファイル");
    progress.SetText(kProgressSecondLabel, "コピー先 ");
    progress.SetText(kProgressDestination, answer.c_str());
    const table::SM_DAT& d = *target->Data();
    const char* name = CommandName(pane, d);
    if (!name) {
      // Nothing to copy from.
    } else if (d.linkFlags & table::kIsLink) {
      // A new link file here that leads to the selected link itself, titled with the new name.
      std::string linkTarget;
      if (!JoinPath(t->DirectoryString(), name, linkTarget) ||
          CreateLinkFile(linkTarget.c_str(), t->DirectoryString().c_str(), answer.c_str()) != 0)
        ShowMessage(pane, kMsgCannotMakeLink);
    } else {
      CopyBuffer buffer;
      if (!buffer) {
        ShowMessage(pane, kMsgNoMemory);
        return;
      }
      SelectCursorIfNoneSelected(pane);
      const std::string source = EntrySource(t->DirectoryString(), name);
      const std::string destination = FullPathIn(t->path(), answer);
      int r = kEngineFailed;
      SetLastCopyError(kErrnoNoEnt);
      if (!destination.empty()) {
        r = d.IsDirectory() ? CopyTree(dialogs.Ui(), source.c_str(), destination.c_str(),
                                       buffer.Data(), buffer.Size())
                            : CopyOneFile(dialogs.Ui(), source.c_str(), destination.c_str(),
                                          buffer.Data(), buffer.Size());
      }
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
  const std::string directory = FullPathIn(t->path(), answer);
  if (directory.empty() || !os::Fs().CreateDir(directory.c_str())) {
    ShowMessage(pane, kMsgCannotMakeDirectory);
    return;
  }
  UpdatePane(pane);
}

}  // namespace fileops
