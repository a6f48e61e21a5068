#include "exec/icon_loading.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "config/command_line.h"
#include "exec/association_lookup.h"
#include "os/mbcs.h"
#include "os/services.h"

namespace exec {
namespace {

using table::IconCache;
using table::SM_DAT;

// Slots of table::PaneIcons::builtin.
constexpr int kProgramLarge = 1, kDocumentLarge = 2, kProgramSmall = 5, kDocumentSmall = 6;

uint16_t Le16(const std::string& b, std::size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) |
                               (static_cast<unsigned char>(b[at + 1]) << 8));
}
uint32_t Le32(const std::string& b, std::size_t at) {
  return static_cast<uint32_t>(Le16(b, at)) | (static_cast<uint32_t>(Le16(b, at + 2)) << 16);
}

void Own(SM_DAT& d, void* large, void* small) {
  d.largeIcon = large;
  d.smallIcon = small;
  d.iconFlags = static_cast<uint8_t>(table::kOwnsLarge | (small ? table::kOwnsSmall : 0));
}

void Use(SM_DAT& d, void* large, void* small) {
  d.largeIcon = large;
  d.smallIcon = small;
  d.iconFlags = 0;
}

void UseBuiltin(table::Sorm& t, SM_DAT& d, int large, int small) {
  Use(d, t.icons().builtin[large], t.icons().builtin[small]);
}

// The record takes the entry's icons: every later file of that association shows them without
// asking the shell again. Icons the entry owns become the record's; built-in ones (the shell
// found none) stay the pane's, the record only shows them.
void GiveToRecord(SM_DAT& d, ExecLinkInfo& record) {
  if (record.largeIcon) return;  // filled meanwhile by another entry: keep the record's
  record.largeIcon = d.largeIcon;
  record.smallIcon = d.smallIcon;
  record.ownsIcons = (d.iconFlags & table::kOwnsLarge) != 0;
  d.iconFlags = 0;
}

bool RecordIcons(ExecLinkInfo* record, SM_DAT& d) {
  if (!record || !record->largeIcon) return false;
  Use(d, record->largeIcon, record->smallIcon);
  return true;
}

// The program of an association's command line, found on the search path when it is named
// without drive or directory.
std::string ProgramOf(const std::string& command, IconProvider& shell) {
  std::string program, parameters;
  config::SplitCommandLine(command.c_str(), program, parameters);
  if (program.empty()) return program;
  if (program.find_first_of(":\\/") == std::string::npos) {
    std::string found = shell.SearchPath(program);
    if (!found.empty()) return found;
  }
  return program;
}

bool IsExecutableClass(LaunchClass c) {
  return c == LaunchClass::kExecutable || c == LaunchClass::kShortcutExecutable;
}

bool ProgramIsSource(LaunchClass c) {
  switch (c) {
    case LaunchClass::kByName:
    case LaunchClass::kByFullName:
    case LaunchClass::kLinkByExtension:
    case LaunchClass::kLinkByName:
    case LaunchClass::kLinkByFullName:
    case LaunchClass::kShortcutByName:
    case LaunchClass::kShortcutByFullName:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool PlausibleIconFile(const std::string& b, uint64_t fileSize) {
  if (fileSize < 6 || b.size() < 6) return false;
  if (Le16(b, 0) != 0) return false;
  const uint16_t type = Le16(b, 2);
  const uint16_t count = Le16(b, 4);
  if ((type != 1 && type != 2) || count == 0 || count > 255) return false;
  if (b.size() < 6 + 16u * count) return false;
  std::vector<std::pair<uint64_t, uint64_t>> images;  // offset, size
  images.reserve(count);
  for (uint16_t i = 0; i < count; ++i) {
    const std::size_t at = 6 + 16u * i;
    const uint64_t size = Le32(b, at + 8);
    const uint64_t offset = Le32(b, at + 12);
    if (size < 40 || size > kMaxIconImageBytes || offset < 6 + 16u * count ||
        offset + size > fileSize)
      return false;
    images.emplace_back(offset, size);
  }
  std::sort(images.begin(), images.end());
  for (std::size_t i = 1; i < images.size(); ++i)
    if (images[i].first < images[i - 1].first + images[i - 1].second) return false;
  return true;
}

bool IconFileLooksSound(const std::string& path) {
  std::unique_ptr<os::File> f =
      os::Fs().Open(path.c_str(), os::kGenericRead, os::kShareRead | os::kShareWrite,
                    os::kOpenExisting);
  uint64_t size = 0;
  if (!f || !f->Size(&size)) return false;
  std::string head(6 + 16 * 255, '\0');
  uint32_t done = 0;
  if (!f->Read(head.data(), static_cast<uint32_t>(head.size()), &done)) return false;
  head.resize(done);
  return PlausibleIconFile(head, size);
}

bool IsIconFileName(const char* name) {
  const std::size_t n = std::strlen(name);
  if (n < 4) return false;
  const char* ext = name + n - 4;
  // The period must be a character of its own, not the trail byte of a double-byte one.
  if (mbcs::IsTrailByteAt(name, static_cast<std::size_t>(ext - name))) return false;
  return os::Sys().CompareNoCase(ext, ".ico") == 0 || os::Sys().CompareNoCase(ext, ".cur") == 0;
}

int ForgetIconsCachedByName(table::IconCache& cache) {
  // A file name holds no "\" (a trail byte 0x5C is part of its character); a path does.
  return cache.Forget(
      [](const std::string& key) { return mbcs::FindChar(key.c_str(), '\\') == nullptr; });
}

void EntryIconLoader::LoadIcons(table::Sorm& t, const std::string& directory,
                                table::BINFO& entry) {
  SM_DAT& d = *entry.Data();
  if (d.largeIcon) return;
  // A name that does not lead back to this entry is not handed to the shell: it could name
  // a neighbour. Such an entry keeps its placeholder.
  if (!d.AddressName()) return;
  if (platformMajor_ >= 4)
    LoadModern(t, directory, d);
  else
    LoadOld(t, directory, d);
}

bool EntryIconLoader::OwnImage(table::Sorm& t, const std::string& full, SM_DAT& d) {
  if (!t.bmpIcon() || !IsIconFileName(d.name.c_str())) return false;
  if (t.iconCache().FindCached(d, full.c_str(), d.date, d.time)) return true;
  // A damaged or huge icon file is never handed to the extractor.
  if (!IconFileLooksSound(full)) return false;
  void* icon = shell_.ExtractIcon(full);
  if (!icon) return false;
  Own(d, icon, nullptr);
  t.iconCache().AddToCache(d, full.c_str());
  return true;
}

void EntryIconLoader::LoadModern(table::Sorm& t, const std::string& directory, SM_DAT& d) {
  // Folders, and link files that lead to one, show the table's folder icons, which the painter
  // draws for them as long as the entry has none of its own.
  if (d.IsDirectory() || ((d.linkFlags & table::kTargetIsDirectory) &&
                          !(d.linkFlags & table::kIsShortcut)))
    return;
  const std::string full = directory + d.AddressName();
  if (OwnImage(t, full, d)) return;
  IconCache& cache = t.iconCache();
  void* large = nullptr;
  void* small = nullptr;
  if (d.linkFlags & table::kIsShortcut) {
    if (cache.FindCached(d, full.c_str(), d.date, d.time)) return;
    if (shell_.FileIcons(full, &large, &small)) {
      Own(d, large, small);
      cache.AddToCache(d, full.c_str());
      return;
    }
  }
  const AssociationMatch match = LookupAssociation(listsOf_(t), directory, d.AddressName());
  ExecLinkInfo* record = match.record;
  LaunchClass c = match.launchClass;
  const char* name = d.name.c_str();

  if (IsExecutableClass(c)) {
    if (RecordIcons(record, d) || cache.FindCached(d, name, d.date, d.time)) return;
    if (shell_.FileIcons(full, &large, &small)) {
      Own(d, large, small);
      if (record)
        GiveToRecord(d, *record);
      else
        cache.AddToCache(d, name);
      return;
    }
    c = LaunchClass::kLinkExecutable;
  }
  if (c == LaunchClass::kLinkExecutable) {
    if (RecordIcons(record, d) || cache.FindCached(d, name, d.date, d.time)) return;
    const std::string& program = match.file.path;
    if (shell_.FileIcons(program, &large, &small)) {
      Own(d, large, small);
    } else if (void* icon = shell_.ExtractIcon(program)) {
      Own(d, icon, nullptr);
    } else {
      UseBuiltin(t, d, kProgramLarge, kProgramSmall);
    }
    if (record)
      GiveToRecord(d, *record);
    else
      cache.AddToCache(d, name);
    return;
  }
  if (c == LaunchClass::kNone) {
    // The lookup remembers an extension nobody knows as a record without command; its files
    // share icons through it like those of an association, so that a folder of thousands of
    // such files does not take a pair of icon handles per file.
    if (!record) record = listsOf_(t).extensions.Find(SplitFileName(name).extension.c_str());
    if (record && !record->command.empty()) record = nullptr;
    if (RecordIcons(record, d)) return;
    if (IsIconFileName(name) && cache.FindCached(d, name, d.date, d.time)) return;
    if (shell_.FileIcons(full, &large, &small))
      Own(d, large, small);
    else
      UseBuiltin(t, d, kDocumentLarge, kDocumentSmall);
    if (IsIconFileName(name))
      cache.AddToCache(d, name);
    else if (record)
      GiveToRecord(d, *record);  // an extension the system does not know: shared all the same
    return;
  }
  // Files of an association.
  if (RecordIcons(record, d) || cache.FindCached(d, name, d.date, d.time)) return;
  const std::string source = ProgramIsSource(c) ? ProgramOf(match.command, shell_) : full;
  if (shell_.FileIcons(source, &large, &small))
    Own(d, large, small);
  else
    UseBuiltin(t, d, kProgramLarge, kProgramSmall);
  if (IsIconFileName(name))
    cache.AddToCache(d, name);
  else if (record)
    GiveToRecord(d, *record);
}

void EntryIconLoader::LoadOld(table::Sorm& t, const std::string& directory, SM_DAT& d) {
  // Folders show the built-in folder icons, which the painter draws for them.
  if (d.IsDirectory() || ((d.linkFlags & table::kTargetIsDirectory) &&
                          !(d.linkFlags & table::kIsShortcut)))
    return;
  const std::string full = directory + d.AddressName();
  if (OwnImage(t, full, d)) return;
  const AssociationMatch match = LookupAssociation(listsOf_(t), directory, d.AddressName());
  ExecLinkInfo* record = match.record;
  const LaunchClass c = match.launchClass;
  if (c == LaunchClass::kNone) {
    UseBuiltin(t, d, kDocumentLarge, kDocumentSmall);
    return;
  }
  if (RecordIcons(record, d)) return;
  const bool program = IsExecutableClass(c) || c == LaunchClass::kLinkExecutable;
  if (program && t.iconCache().FindCached(d, d.name.c_str(), d.date, d.time)) return;
  const std::string source = program ? match.file.path : ProgramOf(match.command, shell_);
  if (void* icon = shell_.ExtractIcon(source))
    Own(d, icon, nullptr);
  else
    UseBuiltin(t, d, kProgramLarge, kProgramSmall);
  if (record)
    GiveToRecord(d, *record);
  else if (program)
    t.iconCache().AddToCache(d, d.name.c_str());
}

}  // namespace exec
