#include "exec/association_lookup.h"

#include <cstring>

#include "exec/association_registry.h"
#include "links/link_file.h"
#include "links/shortcut.h"
#include "os/mbcs.h"
#include "os/path_text.h"

namespace exec {
namespace {

enum class MatchKind { kExecutable, kExtension, kName, kFullName };

LaunchClass ClassOf(LaunchSource source, MatchKind kind) {
  static constexpr LaunchClass kTable[3][4] = {
      {LaunchClass::kExecutable, LaunchClass::kByExtension, LaunchClass::kByName,
       LaunchClass::kByFullName},
      {LaunchClass::kLinkExecutable, LaunchClass::kLinkByExtension, LaunchClass::kLinkByName,
       LaunchClass::kLinkByFullName},
      {LaunchClass::kShortcutExecutable, LaunchClass::kShortcutByExtension,
       LaunchClass::kShortcutByName, LaunchClass::kShortcutByFullName},
  };
  return kTable[static_cast<int>(source)][static_cast<int>(kind)];
}

constexpr const char* kQuotedPlaceholder = "\"%1\"";

}  // namespace

LaunchSource SourceOf(LaunchClass c) {
  int v = static_cast<int>(c);
  if (v >= 10) return LaunchSource::kShortcut;
  if (v >= 5) return LaunchSource::kLinkFile;
  return LaunchSource::kPlainFile;
}

LaunchFile ResolveLaunchFile(const std::string& directory, const char* fileName) {
  std::string path;
  if (!directory.empty() && !os::HasDriveOrDirectory(fileName)) {
    // One allocation for the common directory that already ends in its separator (the icon
    // loader looks up every entry of a listing).
    const bool separated = directory.back() == '\\' &&
                           !mbcs::IsTrailByteAt(directory.c_str(), directory.size() - 1);
    path.reserve(directory.size() + std::strlen(fileName) + 1);
    path = separated ? directory : os::DirectoryString(directory);
    path += fileName;
  } else {
    path = fileName;
  }
  LaunchFile file;
  std::string target;
  if (links::ReadLinkTarget(path.c_str(), target)) {
    file.source = LaunchSource::kLinkFile;
    file.path = links::FollowLinkChain(target);
  } else if (links::IsShortcutName(path.c_str())) {
    file.source = LaunchSource::kShortcut;
    links::ShortcutInfo info;
    if (links::ReadShortcut(path.c_str(), info) == 0) {
      file.path = info.target;
      file.arguments = info.arguments;
    }
  } else {
    file.path = path;
  }
  return file;
}

FileNameParts SplitFileName(const char* path) {
  const char* name = os::FileNamePart(path);
  const char* dot = mbcs::FindLastChar(name, '.');
  if (!dot) return {name, std::string()};
  return {std::string(name, dot), std::string(dot)};
}

ExecutableKind ExecutableKindOf(const char* extension) {
  for (const char* e : {".BAT", ".PIF", ".COM"})
    if (SameFileNameEqual(extension, e)) return ExecutableKind::kProgramWithRecord;
  if (SameFileNameEqual(extension, ".EXE")) return ExecutableKind::kProgram;
  return ExecutableKind::kNotExecutable;
}

AssociationMatch LookupAssociation(Associations& lists, const std::string& directory,
                                   const char* fileName) {
  AssociationMatch m;
  m.file = ResolveLaunchFile(directory, fileName);
  const LaunchSource source = m.file.source;
  const FileNameParts parts = SplitFileName(m.file.path.c_str());
  const char* fullName = os::FileNamePart(m.file.path.c_str());  // name and extension

  auto matched = [&](ExecLinkInfo* record, MatchKind kind) {
    m.record = record;
    m.command = record->command.substr(0, kMaxCommandLine);
    m.launchClass = ClassOf(source, kind);
    return m;
  };
  if (ExecLinkInfo* r = lists.fullNames.FindAndMoveToFront(fullName))
    return matched(r, MatchKind::kFullName);
  if (!parts.name.empty()) {
    if (ExecLinkInfo* r = lists.names.FindAndMoveToFront(parts.name.c_str()))
      return matched(r, MatchKind::kName);
  }
  if (parts.extension.empty()) return m;

  const char* ext = parts.extension.c_str();
  ExecLinkInfo* record = lists.extensions.FindAndMoveToFront(ext);
  if (record) {
    if (record->command.empty()) {
      m.record = record;
      return m;
    }
  } else {
    auto fresh = std::make_unique<ExecLinkInfo>();
    if (!ReadExtensionFromRegistry(ext, *fresh)) fresh->command.clear();
    fresh->key = parts.extension;  // the lookup's own spelling, so it is found again
    record = &lists.extensions.Append(std::move(fresh));
  }
  if (!record->command.empty() &&
      std::strncmp(record->command.c_str(), kQuotedPlaceholder, 4) != 0)
    return matched(record, MatchKind::kExtension);

  // A program: started with its own path (and a shortcut's arguments).
  ExecutableKind kind = ExecutableKindOf(ext);
  if (kind == ExecutableKind::kNotExecutable) return m;
  std::string command = "\"" + m.file.path + "\" " + m.file.arguments;
  if (command.size() > kMaxCommandLine) return m;
  if (record->command.empty()) record->command = kQuotedPlaceholder;
  m.command = std::move(command);
  m.record = kind == ExecutableKind::kProgramWithRecord ? record : nullptr;
  m.launchClass = ClassOf(source, MatchKind::kExecutable);
  return m;
}

}  // namespace exec
