#include "fileops/engine_ui.h"

namespace fileops {
namespace {

OperationPump* g_pump = nullptr;
ProgressDialog* g_progress = nullptr;
OverwriteDialog* g_overwrite = nullptr;
ReadOnlyDialog* g_readOnly = nullptr;

// Clears a reference only when it still names the object going away.
template <typename T>
void Unregister(T*& slot, T* self) {
  if (slot == self) slot = nullptr;
}

}  // namespace

OperationPump* SetOperationPump(OperationPump* pump) {
  OperationPump* before = g_pump;
  g_pump = pump;
  return before;
}

void RunOperationPump() {
  if (g_pump) g_pump->Run();
}

ProgressDialog::ProgressDialog() { g_progress = this; }
ProgressDialog::~ProgressDialog() { Unregister(g_progress, this); }

OverwriteDialog::OverwriteDialog() { g_overwrite = this; }
OverwriteDialog::~OverwriteDialog() { Unregister(g_overwrite, this); }

ReadOnlyDialog::ReadOnlyDialog() { g_readOnly = this; }
ReadOnlyDialog::~ReadOnlyDialog() { Unregister(g_readOnly, this); }

ProgressDialog* ActiveProgressDialog() { return g_progress; }
OverwriteDialog* ActiveOverwriteDialog() { return g_overwrite; }
ReadOnlyDialog* ActiveReadOnlyDialog() { return g_readOnly; }

OverwriteDialogAside::OverwriteDialogAside() : saved_(g_overwrite) { g_overwrite = nullptr; }
OverwriteDialogAside::~OverwriteDialogAside() { g_overwrite = saved_; }

}  // namespace fileops
