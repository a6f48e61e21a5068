#include "fileops/engine_ui.h"

namespace fileops {
namespace {
OperationPump* g_pump = nullptr;
}  // namespace

OperationPump* SetOperationPump(OperationPump* pump) {
  OperationPump* before = g_pump;
  g_pump = pump;
  return before;
}

void RunOperationPump() {
  if (g_pump) g_pump->Run();
}

void OperationUi::Cancel() const {
  if (progress) progress->DisableCancel();
  if (overwrite) overwrite->Dismiss();
  if (readOnly) readOnly->Dismiss();
}

}  // namespace fileops
