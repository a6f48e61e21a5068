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

constexpr uint32_t kDirectoryLink = os::kAttrDirectory | os::kAttrReparsePoint;

bool IsDirectoryLink(uint32_t attributes) {
  return attributes != os::kInvalidAttributes && (attributes & kDirectoryLink) == kDirectoryLink;
}

// One tree copy: the command's dialogs and buffer, the record a move deletes by, and whether a
// directory link was left out.
struct TreeWalk {
  const OperationUi& ui;
  char* buffer;
  uint32_t size;
  CopiedTree* record;
  bool linkLeft = false;
};

int Walk(const std::string& source, const std::string& destination, TreeWalk& walk);

int CopyEntry(const os::FindData& entry, const std::string& from, const std::string& to,
              TreeWalk& walk) {
  // A link's contents belong to another directory: neither walked into nor copied.
  if (IsDirectoryLink(entry.attributes)) {
    walk.linkLeft = true;
    return kEngineOk;
  }
  // A name that does not lead back (a look-alike, "a.") is reached, and copied, by its alias;
  // one without an alias stops here.
  const char* name = os::AddressName(entry);
  if (!name) {
    os::SetLastError(os::kErrInvalidName);
    return FailWithOsError(kEngineFailed);
  }
  std::string source, destination;
  if (!JoinPath(from, name, source) || !JoinPath(to, name, destination))
    return kEnginePathTooLong;
  if (entry.attributes & os::kAttrDirectory) return Walk(source, destination, walk);
  CopyOutcome out = CopyOneFileDetailed(walk.ui, source.c_str(), destination.c_str(),
                                        walk.buffer, walk.size, entry.attributes);
  if (out.result < 0) return out.result;
  if (out.copied && walk.record) walk.record->files.push_back(source);
  return kEngineOk;
}

// An empty listing is not an error; a search that cannot run is.
bool SearchEndedNormally() {
  uint32_t e = os::LastError();
  return e == os::kErrNoMoreFiles || e == os::kErrFileNotFound;
}

// The destination directory is made, or is there already (a tree copied into an existing one
// merges with it): kEngineOk. A file of that name, or a directory that could not be made, stops
// the walk before anything is changed, with the error of the failed creation left for the
// message. An existing directory link is no directory to merge into: its files are the
// directory's it leads to, which the copy would overwrite (and a move then delete the
// sources of); it is refused like a link in the source, named for the message.
int MakeDestinationDirectory(const std::string& destination) {
  if (os::Fs().CreateDir(destination.c_str())) return kEngineOk;
  const uint32_t error = os::LastError();
  const uint32_t there = os::Fs().GetAttributes(destination.c_str());
  if (IsDirectoryLink(there)) {
    SetRefusedLinkPath(destination);
    SetLastCopyError(kErrnoDestinationLink);
    return kEngineFailed;
  }
  if (there != os::kInvalidAttributes && (there & os::kAttrDirectory)) return kEngineOk;
  os::SetLastError(error);
  return FailWithOsError(kEngineFailed);
}

int Walk(const std::string& source, const std::string& destination, TreeWalk& walk) {
  const int same = SameFileCheck(source.c_str(), destination.c_str(), true);
  if (same == 1) return kEngineSameFile;
  if (same == -1) return kEngineSourceDenied;
  if (same == -2) return kEngineDestinationDenied;
  if (IsInsideSource(source.c_str(), destination.c_str()) == 1) return kEngineInsideSource;

  if (const int made = MakeDestinationDirectory(destination); made != kEngineOk) return made;
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
    int r = CopyEntry(entry, from, to, walk);
    if (r != kEngineOk) return r;
    more = search->Next(entry);
  }
  if (!SearchEndedNormally()) return FailWithOsError(kEngineFailed);
  if (walk.record) walk.record->directories.push_back(source);
  return kEngineOk;
}

// The whole copy: a source that is itself a directory link is refused before anything is
// made; a link inside it is left out and reported once the rest is copied.
int CopyWhole(const char* source, const char* destination, TreeWalk& walk) {
  SetLastCopyError(0);
  if (IsDirectoryLink(os::Fs().GetAttributes(source))) {
    SetLastCopyError(kErrnoLinkLeft);
    return kEngineFailed;
  }
  const int r = Walk(source, destination, walk);
  if (r == kEngineOk && walk.linkLeft) {
    SetLastCopyError(kErrnoLinkLeft);
    return kEngineFailed;
  }
  return r;
}

}  // namespace

bool IsDirectoryLinkPath(const char* path) {
  return IsDirectoryLink(os::Fs().GetAttributes(path));
}

int CopyTree(const OperationUi& ui, const char* source, const char* destination, char* buffer,
             uint32_t size) {
  TreeWalk walk{ui, buffer, size, nullptr};
  return CopyWhole(source, destination, walk);
}

int CopyTreeRecorded(const OperationUi& ui, const char* source, const char* destination,
                     char* buffer, uint32_t size, CopiedTree& record) {
  TreeWalk walk{ui, buffer, size, &record};
  return CopyWhole(source, destination, walk);
}

}  // namespace fileops
