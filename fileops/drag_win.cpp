#include "fileops/drag_win.h"

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "config/program_context.h"
#include "fileops/command_support_win.h"
#include "fileops/drop_files_win.h"
#include "fileops/drop_ole_win.h"
#include "fileops/drop_policy.h"
#include "fileops/drop_targets_win.h"
#include "fileops/engine_ui.h"
#include "fileops/shell_data_object_win.h"
#include "frame/command_gate.h"
#include "frame/pane_host.h"
#include "frame/winfo_win.h"
#include "fw/ole_runtime.h"
#include "fileops/drop_handle_win.h"
#include "os/drop_memory.h"
#include "table/selection.h"

namespace fileops {
namespace {

constexpr const char* kMsgNoDropBlock = "ドロップ情報の作成に失敗しました";
constexpr const char* kMsgNoDragData = "ﾄﾞﾗｯｸﾞ用ﾃﾞｰﾀの作成に失敗しました";

bool Held(int key) { return (::GetAsyncKeyState(key) & 0x8000) != 0; }
bool AnyButtonHeld() { return Held(VK_LBUTTON) || Held(VK_RBUTTON); }

POINT ClientPointer(HWND pane) {
  POINT p{0, 0};
  ::GetCursorPos(&p);
  ::ScreenToClient(pane, &p);
  return p;
}

// Runs the pump and waits a little for input.
void PumpAndWait() {
  RunOperationPump();
  ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
}

// The entry a drag carries besides the selection, and whether it was selected when the drag
// began; it gets its mark back when the drag ends. It is the entry under the press: a press
// moves the cursor there, but a press with Shift leaves the cursor where it was, and the drag
// must carry what is under the pointer, never the cursor's entry elsewhere. The drag loop
// dispatches messages, and whatever they do to the listing may free the entry: it is found
// again by its index and name each time, never through an old pointer.
class DraggedEntry {
 public:
  DraggedEntry(WINFO& pane, POINT press) : pane_(pane), table_(pane.Table()) {
    if (!table_) return;
    table::BINFO* entry = nullptr;
    table::BINFO* hit = table_->HitTest(press.x, press.y);
    if (table_->IsEntry(hit) && hit->Data() && table::IsSelectable(*hit->Data())) {
      entry = hit;
    } else if (table_->HasCursor() && table::TargetEntry(*table_) && table_->cursor()->Data()) {
      entry = table_->cursor();
    }
    if (!entry) return;
    found_ = true;
    index_ = entry->index;
    name_ = entry->Data()->name;
    wasSelected_ = entry->Data()->IsSelected();
  }
  ~DraggedEntry() {
    table::BINFO* entry = Find();
    if (entry && !wasSelected_ && entry->Data()->IsSelected())
      table::Deselect(*table_, entry, &pane_);
  }
  DraggedEntry(const DraggedEntry&) = delete;
  DraggedEntry& operator=(const DraggedEntry&) = delete;
  explicit operator bool() const { return found_; }
  void SelectForDrag() {
    table::BINFO* entry = Find();
    if (entry && !entry->Data()->IsSelected()) table::Select(*table_, entry, &pane_);
  }

 private:
  // The entry as the table holds it now; null when the pane shows another table or the entry
  // went.
  table::BINFO* Find() const {
    if (!found_ || pane_.Table() != table_) return nullptr;
    table::BINFO* entry = table_->EntryAt(index_);
    return entry && entry->Data() && entry->Data()->name == name_ ? entry : nullptr;
  }

  WINFO& pane_;
  table::Sorm* table_;
  bool found_ = false;
  int32_t index_ = 0;
  std::string name_;
  bool wasSelected_ = false;
};

// After a drop the entries are no longer selected and the table shows what changed.
void RefreshAfterDrop(frame::PaneHost& host, WINFO& pane) {
  if (table::Sorm* t = pane.Table()) {
    table::DeselectAll(*t, &pane);
    t->Update();
    t->TitleText();
    pane.UpdateSelectionText();
  }
  host.Mouse().LeftUp();
  host.Mouse().CancelPendingClick();
}

// Waits until the pointer leaves the click square (a drag) or the buttons are up (a click).
bool WaitForDrag(HWND pane, POINT press) {
  ::SetCapture(pane);
  bool drag = false;
  for (;;) {
    const POINT p = ClientPointer(pane);
    if (DragHasStarted(press.x, press.y, p.x, p.y)) {
      drag = true;
      break;
    }
    if (!AnyButtonHeld() || !::IsWindow(pane)) break;
    PumpAndWait();
  }
  if (::GetCapture() == pane) ::ReleaseCapture();
  return drag;
}

std::vector<std::string> SelectedNames(const table::Sorm& t) {
  std::vector<std::string> names;
  for (table::BINFO* e : SelectedEntries(t)) {
    const table::SM_DAT& d = *e->Data();
    if (d.name == "." || d.name == "..") continue;
    if (const char* name = d.AddressName()) names.emplace_back(name);
  }
  return names;
}

// The window that takes files under a screen point: the window there or its first ancestor
// with WS_EX_ACCEPTFILES; null over the desktop or nothing that takes files.
HWND AcceptingWindowAt(POINT screen) {
  HWND w = ::WindowFromPoint(screen);
  if (!w || w == ::GetDesktopWindow()) return nullptr;
  while (w && !(::GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)) w = ::GetParent(w);
  return w;
}

// Whether the manual drag may drop onto window at a screen point: onto its own pane only on an
// entry that is not selected.
bool ManualDropAllowed(WINFO& pane, HWND window, POINT screen) {
  if (!window) return false;
  if (window != pane.Handle()) return true;
  POINT p = screen;
  ::ScreenToClient(window, &p);
  table::Sorm* t = pane.Table();
  table::BINFO* hit = t ? t->HitTest(p.x, p.y) : nullptr;
  const bool entryHit = hit && t->IsEntry(hit) && hit->Data();
  return CanDropOnPane(true, entryHit, entryHit && hit->Data()->IsSelected());
}

HCURSOR DragCursor(int id) {
  HCURSOR c = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
  return c ? c : ::LoadCursorA(nullptr, IDC_NO);
}

}  // namespace

void OleDrag(frame::PaneHost& host, WINFO& pane, POINT press) {
  table::Sorm* t = pane.Table();
  if (!t) return;
  DraggedEntry dragged(pane, press);
  if (!dragged || !WaitForDrag(pane.Handle(), press) || pane.Table() != t) return;
  dragged.SelectForDrag();
  HGLOBAL block = BuildDropFiles(*t, 0, 0, true, true);
  if (!block) {
    ShowMessage(pane, kMsgNoDropBlock);
    return;
  }
  IDataObject* inner = ShellDataObjectFor(t->path(), SelectedNames(*t));
  auto* dataObject = new (std::nothrow) CDataObject(block, true, inner);
  if (!dataObject) {
    os::Drops().GlobalFree(block);
    if (inner) inner->Release();
  }
  // A close asked for meanwhile ends the drag; the window closes once it has.
  bool closing = false;
  frame::CommandGate::CancelHook hook(host.Gate(), [&closing] { closing = true; });
  auto* sourceObject = new (std::nothrow) CDropSource(&closing);
  IDataObject* data = nullptr;
  IDropSource* source = nullptr;
  if (dataObject) dataObject->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data));
  if (sourceObject)
    sourceObject->QueryInterface(IID_IDropSource, reinterpret_cast<void**>(&source));
  if (!data || !source) {
    ShowMessage(pane, kMsgNoDragData);
  } else {
    using Fn = HRESULT(WINAPI*)(IDataObject*, IDropSource*, DWORD, DWORD*);
    static Fn doDragDrop =
        reinterpret_cast<Fn>(reinterpret_cast<void*>(ole::Proc("DoDragDrop")));
    DWORD effect = kEffectNone;
    HRESULT hr = E_FAIL;
    if (doDragDrop) {
      DragSourceMark mark(pane.Handle());
      hr = doDragDrop(data, source, kEffectAll, &effect);
    }
    if (hr == DRAGDROP_S_DROP) RefreshAfterDrop(host, pane);
  }
  host.Mouse().LeftUp();
  host.Mouse().CancelPendingClick();
  if (data) data->Release();
  if (source) source->Release();
}

void ManualDrag(frame::PaneHost& host, WINFO& pane, POINT press) {
  table::Sorm* t = pane.Table();
  if (!t) return;
  DraggedEntry dragged(pane, press);
  if (!dragged) return;
  bool closing = false;
  frame::CommandGate::CancelHook hook(host.Gate(), [&closing] { closing = true; });
  const HWND self = pane.Handle();
  ::SetCapture(self);
  bool started = false;
  HWND target = nullptr;
  POINT screen{0, 0};
  for (;;) {
    ::GetCursorPos(&screen);
    POINT client = screen;
    ::ScreenToClient(self, &client);
    if (!started && DragHasStarted(press.x, press.y, client.x, client.y)) started = true;
    if (started) {
      dragged.SelectForDrag();
      const DropMode mode = ModeFromKeys(Held(VK_SHIFT), Held(VK_CONTROL));
      target = AcceptingWindowAt(screen);
      ::SetCursor(DragCursor(ManualDropAllowed(pane, target, screen)
                                 ? DragCursorId(mode, t->selectedCount() == 1)
                                 : kCursorNoDrop));
    }
    if (!AnyButtonHeld() || !::IsWindow(self) || pane.Table() != t || closing) break;
    PumpAndWait();
  }
  ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
  if (::GetCapture() == self) ::ReleaseCapture();
  if (!started || closing || !target || !::IsWindow(self) || pane.Table() != t ||
      !ManualDropAllowed(pane, target, screen))
    return;
  const LRESULT hit = ::SendMessageA(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
  POINT client = screen;
  ::ScreenToClient(target, &client);
  char cls[64] = "";
  ::GetClassNameA(target, cls, sizeof(cls));
  const bool ours = std::strcmp(cls, config::kWindowClass) == 0;
  const DropMode mode = ModeFromKeys(Held(VK_SHIFT), Held(VK_CONTROL));
  HGLOBAL block = BuildDropFiles(*t, client.x, client.y, hit != HTCLIENT, ours);
  if (!block) {
    ShowMessage(pane, kMsgNoDropBlock);
    return;
  }
  // Onto a pane of this window, where it landed is taken now: the listing may change before
  // the block is handled.
  const HDROP posted = static_cast<HDROP>(block);
  for (int i = 0; i < host.PaneCount(); ++i) {
    WINFO* p = host.Pane(i);
    if (p && p->Handle() == target && p->Table())
      RecordDropTarget(target, posted, DropTargetAt(*p->Table(), target, client, hit != HTCLIENT));
  }
  // Posted, the block is the receiver's to free; not posted, it is still ours.
  if (!PostDropBlock(target, block, static_cast<LPARAM>(TagOfMode(mode)))) {
    ForgetDropTarget(posted);
    os::Drops().GlobalFree(block);
  }
  RefreshAfterDrop(host, pane);
}

}  // namespace fileops
