#include "fileops/drop_files_win.h"

#include <cstring>
#include <optional>

#include "config/command_line.h"
#include "config/program_context.h"
#include "exec/association_lookup.h"
#include "exec/association_store.h"
#include "exec/association_dialog_win.h"
#include "exec/table_associations.h"
#include "exec/open_file_win.h"
#include "fileops/command_support_win.h"
#include "fileops/drop_block.h"
#include "fileops/drop_handle_win.h"
#include "fileops/drop_run.h"
#include "fileops/drop_targets_win.h"
#include "fileops/engine_dialogs_win.h"
#include "frame/pane_host.h"
#include "frame/winfo_win.h"
#include "os/drop_memory.h"
#include "os/drop_record.h"

namespace fileops {
namespace {

bool KeyDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

// After a drop the pane's mouse state starts afresh: no button down, no pending click.
void ResetMouse(frame::PaneHost& host) {
  host.Mouse().LeftUp();
  host.Mouse().CancelPendingClick();
}


}  // namespace

bool AskDropQuestion(frame::PaneHost& host, WINFO& pane, const std::string& text) {
  HWND foreground = ::GetForegroundWindow();
  char cls[64] = "";
  if (foreground) ::GetClassNameA(foreground, cls, sizeof(cls));
  if (!foreground || std::strcmp(cls, config::kWindowClass) != 0) {
    // The drop came from another program: this window comes forward for its question.
    if (HWND frame = host.FrameHandle()) ::SetForegroundWindow(frame);
    ::BringWindowToTop(pane.Handle());
    return ::MessageBoxA(pane.Handle(), text.c_str(), kDropCaption, MB_OKCANCEL) == IDOK;
  }
  const int answer =
      ::MessageBoxExA(foreground, text.c_str(), kDropCaption, MB_OKCANCEL, 0);
  ::SetForegroundWindow(foreground);
  return answer == IDOK;
}

HGLOBAL BuildDropFiles(const table::Sorm& t, int32_t x, int32_t y, bool nonClient,
                       bool fullPathsAlways) {
  std::vector<const table::SM_DAT*> entries;
  for (table::BINFO* e : SelectedEntries(t)) entries.push_back(e->Data());
  const std::string list = DragPathList(t.DirectoryString(), entries, fullPathsAlways);
  const size_t size = DropBlockSize(list);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, size);
  if (!memory) return nullptr;
  void* p = ::GlobalLock(memory);
  if (!p) {
    os::Drops().GlobalFree(memory);
    return nullptr;
  }
  WriteDropBlock(static_cast<uint8_t*>(p), size, list, x, y, nonClient);
  ::GlobalUnlock(memory);
  os::MadeDrops().Made(memory);
  return memory;
}

void DropOntoProgram(frame::PaneHost& host, WINFO& pane, const std::string& path,
                     const std::vector<std::string>& files, DropMode mode,
                     const DropHooks& hooks) {
  table::Sorm* t = pane.Table();
  if (!t) return;
  const std::string& configFile = config::Context().configFilePath;
  exec::AssociationMatch match;
  {
    // The table's lists, under its lock (the icon loader reads them from its own thread).
    const exec::AssociationsLock hold(t->lock());
    match = exec::LookupAssociation(exec::TableAssociations(*t), t->DirectoryString(),
                                    path.c_str());
  }
  if (match.launchClass == exec::LaunchClass::kNone) return;
  std::string program, parameters;
  config::SplitCommandLine(match.command.c_str(), program, parameters);
  if (!AskDropQuestion(host, pane, ProgramQuestion(mode, program))) return;
  if (HWND frame = host.FrameHandle()) ::SetForegroundWindow(frame);
  if (mode == DropMode::kCopy) {
    exec::RunWithDroppedFiles(*t, match.command, files, &pane);
    return;
  }
  for (const std::string& file : files) {
    bool byExtension = false;
    const std::string key = AssociationKeyOf(file, byExtension);
    exec::SetAssociation(configFile, key.c_str(), match.command.c_str(),
                         byExtension ? exec::AssociationKind::kByExtension
                                     : exec::AssociationKind::kByName);
  }
  if (!files.empty()) {
    exec::AnnounceAssociationChange();
    if (hooks.associationsChanged) hooks.associationsChanged();
  }
}

int HandleDroppedFiles(frame::PaneHost& host, int paneIndex, HDROP drop, uint32_t tag,
                       const DropHooks& hooks, HWND receiver) {
  WINFO* pane = host.Pane(paneIndex);
  // A handle that is no live block of this process (another process can put any number into
  // the message) is neither read nor freed: it is refused as a damaged block.
  if (!MayTakeReceivedDrop(drop)) {
    if (pane) ShowMessage(*pane, DropBlockMessage(DropBlockError::kTooSmall));
    return -3;
  }
  HeldDrop held(drop);
  table::Sorm* t = pane ? pane->Table() : nullptr;
  if (!t) return -4;
  // One command at a time: a drop during another command is not run inside it.
  frame::CommandGate::Scope scope = host.Gate().Enter();
  if (!scope) {
    ::MessageBeep(MB_OK);
    return -4;
  }
  DropMode mode = DropMode::kCopy;
  if (!ModeOfTag(tag, mode)) mode = ModeFromKeys(KeyDown(VK_SHIFT), KeyDown(VK_CONTROL));
  DroppedFiles dropped;
  const std::string refusal = ReadDroppedFiles(held.Get(), dropped);
  if (!refusal.empty()) {
    ShowMessage(*pane, refusal.c_str());
    ResetMouse(host);
    return -3;
  }
  if (dropped.files.empty()) return -4;

  const std::string tableDirectory = t->DirectoryString();
  // The point is the receiving window's: a drop that came through the frame (its toolbar, its
  // status bar, a border) lands on an entry only when it lies on the pane's client area.
  // A drop of this program's own drags was recorded where it landed, when it landed; a drop
  // from the shell is placed by its point now.
  const table::BINFO* hit = nullptr;
  if (const std::optional<DropTargetRecord> recorded = TakeDropTarget(pane->Handle(), drop)) {
    const RecordedPlace now = FindRecordedTarget(*t, *recorded);
    if (!now.ok) {
      ShowMessage(*pane, now.message.c_str());
      ResetMouse(host);
      return -4;
    }
    hit = now.entry;
  } else {
    POINT at = dropped.point;
    if (receiver && receiver != pane->Handle())
      ::MapWindowPoints(receiver, pane->Handle(), &at, 1);
    hit = DropTargetAt(*t, pane->Handle(), at, dropped.nonClient).onEntry ? t->HitTest(at.x, at.y)
                                                                          : nullptr;
  }
  const DropPlace place = PlaceOfDrop(
      tableDirectory, hit && t->IsEntry(hit) ? hit->Data() : nullptr, [&](const char* name) {
        return exec::ResolveLaunchFile(tableDirectory, name).path;
      });
  if (place.kind == DropPlace::kRefused) {
    ShowMessage(*pane, NoUsableNameMessage(place.path.c_str()).c_str());
    ResetMouse(host);
    return -4;
  }
  if (place.kind == DropPlace::kProgram) {
    DropOntoProgram(host, *pane, place.path, dropped.files, mode, hooks);
    ResetMouse(host);
    return -4;
  }
  const uint32_t major = config::Context().windowsMajorVersion;
  if (!AskDropQuestion(host, *pane, DropQuestion(mode, place.path, major))) {
    ResetMouse(host);
    return -4;
  }
  if (HWND frame = host.FrameHandle()) ::SetForegroundWindow(frame);
  ::BringWindowToTop(pane->Handle());
  int result;
  {
    CommandPump pump;
    EngineDialogs dialogs(*pane, host.Gate(), false);
    ProgressDialogWin& progress = dialogs.Progress();
    progress.SetText(kProgressFirstLabel, "ファイル");
    progress.SetText(kProgressSecondLabel, "コピー先 ");
    progress.SetText(kProgressDestination, place.path.c_str());
    result = RunDrop(dialogs.Ui(), mode, place.path, dropped.files, major,
                     [pane](const CommandMessage& m) { ShowMessage(*pane, m); });
  }
  held.Free();
  ReloadKeepingPosition(*pane);
  ResetMouse(host);
  return result;
}

}  // namespace fileops
