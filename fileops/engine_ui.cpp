#include "fileops/engine_ui.h"

#include "fileops/engine_errors.h"
#include "fileops/engine_state.h"

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

bool OperationUi::ClaimFile(const char* destination, const char* source) const {
  if (!written || written->ClaimFile(destination, source)) return true;
  SetLastCopyError(kErrnoWrittenTwice);
  return false;
}

bool OperationUi::MayWrite(const char* destination, const char* source) const {
  if (!written || written->IsFree(destination, source)) return true;
  SetLastCopyError(kErrnoWrittenTwice);
  return false;
}

bool OperationUi::ClaimTree(const char* destination, const char* source) const {
  if (!written || written->ClaimTree(destination, source)) return true;
  SetLastCopyError(kErrnoWrittenTwice);
  return false;
}

}  // namespace fileops
