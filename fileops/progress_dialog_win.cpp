#include "fileops/progress_dialog_win.h"

#include <commctrl.h>

#include "fileops/engine_types.h"
#include "fw/lazy_api.h"
#include "resources/fileops_dialog_ids.h"

namespace fileops {

ProgressDialogWin::ProgressDialogWin(HWND owner) : fw::Dialog(IDD_PROGRESS), pane_(owner) {
  if (pane_) {
    ownerAcceptedFiles_ =
        (::GetWindowLongA(pane_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
    lazy::DragAcceptFiles(pane_, FALSE);
  }
}

ProgressDialogWin::~ProgressDialogWin() {
  if (HWND h = Handle()) ::DestroyWindow(h);
  if (pane_ && ownerAcceptedFiles_ && ::IsWindow(pane_)) lazy::DragAcceptFiles(pane_, TRUE);
}

bool ProgressDialogWin::Open() {
  if (!Create(pane_)) return false;
  ::UpdateWindow(Handle());
  return true;
}

bool ProgressDialogWin::OnInit() {
  PlaceByOwnerChain();
  ::EnableWindow(Item(kProgressCancel), TRUE);
  for (int id = kProgressFirstLabel; id <= kProgressDestination; ++id) SetItemText(id, "");
  ::SendMessageA(Item(kProgressGauge), PBM_SETRANGE32, 0, kGaugeMax);
  return true;
}

void ProgressDialogWin::SetText(int control, const char* text) {
  if (Handle()) SetItemText(control, text);
}

void ProgressDialogWin::SetGaugeRange(int low, int high) {
  if (Handle()) ::SendMessageA(Item(kProgressGauge), PBM_SETRANGE32, low, high);
}

void ProgressDialogWin::SetGauge(int value) {
  if (Handle()) ::SendMessageA(Item(kProgressGauge), PBM_SETPOS, value, 0);
}

bool ProgressDialogWin::IsCancelDisabled() {
  if (cancelled_) return true;
  HWND button = Handle() ? Item(kProgressCancel) : nullptr;
  if (button && !::IsWindowEnabled(button)) cancelled_ = true;
  return cancelled_;
}

void ProgressDialogWin::DisableCancel() {
  cancelled_ = true;
  if (HWND button = Handle() ? Item(kProgressCancel) : nullptr) {
    // A disabled button cannot keep the focus: give it to the dialog so Escape still reaches it.
    if (::GetFocus() == button) ::SetFocus(Handle());
    ::EnableWindow(button, FALSE);
  }
}

}  // namespace fileops
