#include "fileops/drop_policy.h"

#include <cstdio>

#include "exec/association_lookup.h"
#include "os/mbcs.h"

namespace fileops {

DropMode ModeFromKeys(bool shift, bool ctrl) {
  if (!shift) return DropMode::kCopy;
  return ctrl ? DropMode::kLink : DropMode::kMove;
}

uint32_t EffectOfMode(DropMode mode) {
  switch (mode) {
    case DropMode::kMove: return kEffectMove;
    case DropMode::kLink: return kEffectLink;
    case DropMode::kCopy: break;
  }
  return kEffectCopy;
}

uint32_t TagOfMode(DropMode mode) { return kDropModeTag | static_cast<uint32_t>(mode); }

bool ModeOfTag(uint32_t tag, DropMode& mode) {
  if ((tag & ~0xFFu) != kDropModeTag || (tag & 0xFFu) > 2) return false;
  mode = static_cast<DropMode>(tag & 0xFFu);
  return true;
}

bool DropPointOnPane(bool nonClient, long x, long y, long width, long height) {
  return !nonClient && x >= 0 && y >= 0 && x < width && y < height;
}

uint32_t EffectFromKeyState(uint32_t keyState) {
  return EffectOfMode(ModeFromKeys(keyState & kKeyShift, keyState & kKeyControl));
}

uint32_t EffectAt(uint32_t keyState, bool canDropAt) {
  const DropMode mode = ModeFromKeys(keyState & kKeyShift, keyState & kKeyControl);
  if (mode == DropMode::kLink) return kEffectLink;
  return canDropAt ? EffectOfMode(mode) : kEffectNone;
}

bool CanDropOnPane(bool isSourcePane, bool entryHit, bool entrySelected) {
  return !isSourcePane || (entryHit && !entrySelected);
}

namespace {

// "X:\..." or "\\server\...": a path that names its place without the current drive or
// directory. (A first byte is never a trail byte, and ":" is none either.)
bool IsFullPath(const std::string& p) {
  const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  const auto separator = [](char c) { return c == '\\' || c == '/'; };
  if (p.size() >= 3 && letter(p[0]) && p[1] == ':' && separator(p[2])) return true;
  return p.size() >= 3 && separator(p[0]) && separator(p[1]);
}

// A link's target taken where the link file lies, the table's directory, when it is plain
// relative ("sub\x", "x"); the process's current directory, which the panes change, is never
// used. A target from the root or of a drive alone ("\x", "D:x") would depend on it: empty.
std::string TargetInLinkDirectory(const std::string& linkDirectory, const std::string& target) {
  if (target.empty() || IsFullPath(target)) return target;
  const bool plainRelative =
      target[0] != '\\' && target[0] != '/' && !(target.size() >= 2 && target[1] == ':');
  if (!plainRelative) return std::string();
  std::string joined = linkDirectory + target;
  return IsFullPath(joined) ? joined : std::string();
}

// The directory string without its closing "\" ("C:\dir\" gives "C:\dir"); a drive's root
// keeps it ("C:\"), and a trail byte 0x5C is part of its character.
std::string WithoutClosingSeparator(const std::string& directory) {
  const std::size_t n = directory.size();
  if (n <= 3 || directory[n - 1] != '\\' || mbcs::IsTrailByteAt(directory.c_str(), n - 1))
    return directory;
  return directory.substr(0, n - 1);
}

}  // namespace

DropPlace PlaceOfDrop(const std::string& tableDirectory, const table::SM_DAT* hit,
                      const std::function<std::string(const char* name)>& linkTarget) {
  // The question and the progress name the table's directory as its path reads.
  if (!hit) return {DropPlace::kDirectory, WithoutClosingSeparator(tableDirectory)};
  const char* name = hit->AddressName();
  if (!name) return {DropPlace::kRefused, hit->name};
  if (hit->IsDirectory()) return {DropPlace::kDirectory, tableDirectory + name};
  if ((hit->linkFlags & table::kIsLink) && (hit->linkFlags & table::kTargetIsDirectory)) {
    const std::string target =
        TargetInLinkDirectory(tableDirectory, linkTarget ? linkTarget(name) : std::string());
    if (target.empty()) return {DropPlace::kRefused, hit->name};
    return {DropPlace::kDirectory, target};
  }
  return {DropPlace::kProgram, tableDirectory + name};
}

namespace {
std::string Format(const char* pattern, const std::string& value) {
  const int n = std::snprintf(nullptr, 0, pattern, value.c_str());
  std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) std::snprintf(out.data(), out.size() + 1, pattern, value.c_str());
  return out;
}
}  // namespace

std::string DropQuestion(DropMode mode, const std::string& target, uint32_t windowsMajor) {
  switch (mode) {
    case DropMode::kMove:
      return Format("ファイルを %s へ移動します。よろしいですか?", target);
    case DropMode::kLink:
      return Format(windowsMajor >= 4 ? "ｼｮｰﾄｶｯﾄを %s に作成します。よろしいですか?"
                                      : "リンクを %s に作成します。よろしいですか?",
                    target);
    case DropMode::kCopy:
      break;
  }
  return Format("ファイルを %s へコピーします。よろしいですか?", target);
}

std::string ProgramQuestion(DropMode mode, const std::string& program) {
  if (mode == DropMode::kCopy) return Format("%s を起動します。よろしいですか?", program);
  return Format("選択されたファイルを %s と関連付けます。よろしいですか?", program);
}

std::string AssociationKeyOf(const std::string& droppedPath, bool& byExtension) {
  exec::FileNameParts parts = exec::SplitFileName(droppedPath.c_str());
  byExtension = !parts.extension.empty();
  return byExtension ? parts.extension : parts.name;
}

namespace {
// The text an entry contributes, as a view into the entry (empty when it has none).
std::string_view DragPart(const table::SM_DAT& entry, bool fullPathsAlways, bool& linkTarget) {
  // "." and ".." are never dragged: they would carry the directory itself or its parent.
  if (entry.name == "." || entry.name == "..") return std::string_view();
  linkTarget = !fullPathsAlways && (entry.linkFlags & table::kIsLink) && entry.link;
  if (linkTarget) return entry.link->target;
  const char* name = entry.AddressName();
  return name ? std::string_view(name) : std::string_view();
}
}  // namespace

std::string DragPathOf(const std::string& tableDirectory, const table::SM_DAT& entry,
                       bool fullPathsAlways) {
  bool linkTarget = false;
  const std::string_view part = DragPart(entry, fullPathsAlways, linkTarget);
  if (part.empty()) return std::string();
  return linkTarget ? std::string(part) : tableDirectory + std::string(part);
}

std::string DragPathList(const std::string& tableDirectory,
                         const std::vector<const table::SM_DAT*>& entries, bool fullPathsAlways,
                         size_t* count) {
  size_t size = 0;
  bool linkTarget = false;
  for (const table::SM_DAT* e : entries) {
    const std::string_view part = DragPart(*e, fullPathsAlways, linkTarget);
    if (!part.empty()) size += (linkTarget ? 0 : tableDirectory.size()) + part.size() + 1;
  }
  std::string list;
  list.reserve(size);
  size_t n = 0;
  for (const table::SM_DAT* e : entries) {
    const std::string_view part = DragPart(*e, fullPathsAlways, linkTarget);
    if (part.empty()) continue;
    if (!linkTarget) list += tableDirectory;
    list += part;
    list.push_back('\0');
    ++n;
  }
  if (count) *count = n;
  return list;
}

int DragCursorId(DropMode mode, bool oneEntry) {
  switch (mode) {
    case DropMode::kMove: return oneEntry ? 24001 : 24003;
    case DropMode::kLink: return oneEntry ? 24007 : 24006;
    case DropMode::kCopy: break;
  }
  return oneEntry ? 24002 : 24004;
}

bool DragHasStarted(int32_t pressX, int32_t pressY, int32_t x, int32_t y) {
  const int32_t dx = x - pressX, dy = y - pressY;
  return dx > kDragStartSlop || dx < -kDragStartSlop || dy > kDragStartSlop ||
         dy < -kDragStartSlop;
}

}  // namespace fileops
