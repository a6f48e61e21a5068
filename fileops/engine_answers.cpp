#include "fileops/engine_answers.h"

#include "fileops/engine_types.h"
#include "os/exact_name.h"
#include "os/services.h"

namespace fileops {
namespace {

constexpr os::FileTime kTicksPerSecond = 10000000;

bool LastWriteTime(const char* path, os::FileTime& out) {
  os::FindData fd;
  if (!os::FindExact(path, fd)) return false;
  out = fd.lastWriteTime;
  return true;
}

int NewerOnlyAnswer(const char* source, const char* destination) {
  os::FileTime s = 0, d = 0;
  bool haveSource = LastWriteTime(source, s);
  bool haveDestination = LastWriteTime(destination, d);
  return SourceIsNewer(haveSource ? &s : nullptr, haveDestination ? &d : nullptr) ? kOverwriteYes
                                                                                  : kOverwriteNo;
}

int KnownOverwriteAnswer(int v) {
  switch (v) {
    case kOverwriteYes: case kOverwriteNewerOnly: case kOverwriteAll: case kOverwriteNo: return v;
    default: return kOverwriteCancel;
  }
}

int KnownReadOnlyAnswer(int v) {
  switch (v) {
    case kReadOnlyYes: case kReadOnlyDeleteAll: case kReadOnlyNo: return v;
    default: return kReadOnlyCancel;
  }
}

void CancelCommand(const OperationUi& ui) {
  if (ui.progress) ui.progress->DisableCancel();
}

void ClearReadOnly(const char* path) {
  uint32_t a = os::Fs().GetAttributes(path);
  if (a != os::kInvalidAttributes && (a & os::kAttrReadOnly))
    os::Fs().SetAttributes(path, a & ~static_cast<uint32_t>(os::kAttrReadOnly));
}

}  // namespace

bool SourceIsNewer(const os::FileTime* source, const os::FileTime* destination) {
  if (!source || !destination) return false;
  return *source / kTicksPerSecond > *destination / kTicksPerSecond;
}

int AskOverwrite(const OperationUi& ui, const char* source, const char* destination) {
  OverwriteDialog* dialog = ui.overwrite;
  if (!dialog) return kOverwriteYes;
  const int remembered = dialog->Remembered();
  if (remembered == kOverwriteNewerOnly) return NewerOnlyAnswer(source, destination);
  if (remembered == kOverwriteCancel || remembered == kOverwriteAll) return remembered;
  const int answer = KnownOverwriteAnswer(dialog->Show(destination));
  dialog->Remember(answer);
  if (answer == kOverwriteCancel) CancelCommand(ui);
  if (answer == kOverwriteNewerOnly) return NewerOnlyAnswer(source, destination);
  return answer;
}

int AskDeleteReadOnly(const OperationUi& ui, const char* path, const char* shown) {
  ReadOnlyDialog* dialog = ui.readOnly;
  if (!dialog) return kReadOnlyYes;
  const int remembered = dialog->Remembered();
  if (remembered == kReadOnlyCancel) return kReadOnlyCancel;
  if (remembered == kReadOnlyDeleteAll) {
    ClearReadOnly(path);
    return kReadOnlyDeleteAll;
  }
  const int answer = KnownReadOnlyAnswer(dialog->Show(shown ? shown : path));
  dialog->Remember(answer);
  if (answer == kReadOnlyCancel) CancelCommand(ui);
  if (answer == kReadOnlyYes || answer == kReadOnlyDeleteAll) ClearReadOnly(path);
  return answer;
}

}  // namespace fileops
