#include "fileops/engine_tree.h"

#include "fileops/engine_copy.h"
#include "fileops/engine_errors.h"
#include "fileops/engine_path.h"
#include "fileops/engine_same_file.h"
#include "fileops/engine_state.h"
#include "fileops/engine_types.h"
#include "os/exact_name.h"
#include "os/last_error.h"
#include "os/services.h"

namespace fileops {
namespace {

// A directory path with its backslash must leave room for an entry name.
constexpr std::size_t kMaxTreeDirectory = 257;

int Walk(const OperationUi& ui, const std::string& source, const std::string& destination,
         char* buffer, uint32_t size, CopiedTree* record);

int CopyEntry(const OperationUi& ui, const os::FindData& entry, const std::string& from,
              const std::string& to, char* buffer, uint32_t size, CopiedTree* record) {
  // A look-alike name is reached, and copied, by its alias; one without an alias stops here.
  const char* name = os::AddressName(entry);
  if (!name) {
    os::SetLastError(os::kErrInvalidName);
    return FailWithOsError(kEngineFailed);
  }
  std::string source, destination;
  if (!JoinPath(from, name, source) || !JoinPath(to, name, destination))
    return kEnginePathTooLong;
  if (entry.attributes & os::kAttrDirectory)
    return Walk(ui, source, destination, buffer, size, record);
  CopyOutcome out =
      CopyOneFileDetailed(ui, source.c_str(), destination.c_str(), buffer, size,
                          entry.attributes);
  if (out.result < 0) return out.result;
  if (out.copied && record) record->files.push_back(source);
  return kEngineOk;
}

// An empty listing is not an error; a search that cannot run is.
bool SearchEndedNormally() {
  uint32_t e = os::LastError();
  return e == os::kErrNoMoreFiles || e == os::kErrFileNotFound;
}

int Walk(const OperationUi& ui, const std::string& source, const std::string& destination,
         char* buffer, uint32_t size, CopiedTree* record) {
  const int same = SameFileCheck(source.c_str(), destination.c_str(), true);
  if (same == 1) return kEngineSameFile;
  if (same == -1) return kEngineSourceDenied;
  if (same == -2) return kEngineDestinationDenied;
  if (IsInsideSource(source.c_str(), destination.c_str()) == 1) return kEngineInsideSource;

  os::Fs().CreateDir(destination.c_str());
  const uint32_t attributes = os::Fs().GetAttributes(source.c_str());
  if (attributes != os::kInvalidAttributes)
    os::Fs().SetAttributes(destination.c_str(), attributes);

  const std::string from = WithTrailingBackslash(source);
  const std::string to = WithTrailingBackslash(destination);
  if (from.size() > kMaxTreeDirectory || to.size() > kMaxTreeDirectory) return kEnginePathTooLong;

  os::FindData entry;
  std::unique_ptr<os::Finder> search = os::Fs().FindFirst((from + "*.*").c_str(), entry);
  if (!search) {
    if (SearchEndedNormally()) return kEngineOk;
    return FailWithOsError(kEngineFailed);
  }
  bool more = true;
  while (more && IsDotEntry(entry.name)) more = search->Next(entry);
  while (more) {
    int r = CopyEntry(ui, entry, from, to, buffer, size, record);
    if (r != kEngineOk) return r;
    more = search->Next(entry);
  }
  if (!SearchEndedNormally()) return FailWithOsError(kEngineFailed);
  if (record) record->directories.push_back(source);
  return kEngineOk;
}

}  // namespace

int CopyTree(const OperationUi& ui, const char* source, const char* destination, char* buffer,
             uint32_t size) {
  SetLastCopyError(0);
  return Walk(ui, source, destination, buffer, size, nullptr);
}

int CopyTreeRecorded(const OperationUi& ui, const char* source, const char* destination,
                     char* buffer, uint32_t size, CopiedTree& record) {
  SetLastCopyError(0);
  return Walk(ui, source, destination, buffer, size, &record);
}

}  // namespace fileops
