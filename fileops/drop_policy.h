// The decisions of drag and drop as pure functions: the mode and the OLE drop effect from the
// keys, whether a pane takes a drop at a point, where a drop onto a table lands (its directory,
// a folder entry, "..", a link to a folder, or a program), the questions asked, and the key a
// dropped file is associated by.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "table/sm_dat.h"

namespace fileops {

// The drop mode, numbered as the program stores it.
enum class DropMode : int { kMove = 0, kCopy = 1, kLink = 2 };

// No Shift: copy; Shift without Ctrl: move; Shift and Ctrl: link.
DropMode ModeFromKeys(bool shift, bool ctrl);

// OLE drop effects and key-state bits.
constexpr uint32_t kEffectNone = 0, kEffectCopy = 1, kEffectMove = 2, kEffectLink = 4;
constexpr uint32_t kEffectAll = kEffectCopy | kEffectMove | kEffectLink;
constexpr uint32_t kKeyShift = 0x04, kKeyControl = 0x08;  // MK_SHIFT, MK_CONTROL
constexpr uint32_t kKeyLeftButton = 0x01, kKeyRightButton = 0x02;

uint32_t EffectOfMode(DropMode mode);

// The mode this program's own drag code decided a drop with, carried in the lParam of the
// WM_DROPFILES it posts: the keys may be up again by the time the posted message is handled.
// Any other lParam (the shell's is 0) leaves the mode to the keys held then.
constexpr uint32_t kDropModeTag = 0x534D4400u;
uint32_t TagOfMode(DropMode mode);
bool ModeOfTag(uint32_t tag, DropMode& mode);
// Whether a drop's point (in the pane's client coordinates) lies on the pane's client area of
// width x height, so that it may land on an entry there: never for a drop on a window's
// non-client area (a border, a caption), nor for one outside the pane (the frame's toolbar or
// status bar, the other pane).
bool DropPointOnPane(bool nonClient, long x, long y, long width, long height);
// DragEnter: the effect the keys ask for.
uint32_t EffectFromKeyState(uint32_t keyState);
// DragOver and Drop: Shift and Ctrl link wherever the pointer is; otherwise nothing where the
// pane takes no drop, else move with Shift and copy without.
uint32_t EffectAt(uint32_t keyState, bool canDropAt);

// Whether a pane takes a drop at a point: a drop within the pane the drag started from lands
// only on an entry that is not selected (not on the dragged entries, not on empty space).
bool CanDropOnPane(bool isSourcePane, bool entryHit, bool entrySelected);

// Where a drop onto a table goes.
struct DropPlace {
  enum Kind { kDirectory, kProgram, kRefused };
  Kind kind = kDirectory;
  std::string path;  // the directory dropped into, or the program entry's full path
};
// tableDirectory ends in a backslash. hit: the entry under the drop point, or null: then the
// table's directory itself takes the drop, named without that backslash ("C:\dir"; a drive's
// root stays "C:\").
// linkTarget resolves a link entry (the name it is reached by) to its final target. A directory
// entry (".." too) or a link to a directory takes the drop; another entry is a program; an
// entry that cannot be reached by any name refuses it. A link's relative target is taken in
// the table's directory, where the link file lies; a target that does not then make a full
// path ("\x", "D:x") refuses the drop.
DropPlace PlaceOfDrop(const std::string& tableDirectory, const table::SM_DAT* hit,
                      const std::function<std::string(const char* name)>& linkTarget);

// "ファイルを %s へ移動します。よろしいですか?" and its siblings for each mode; link mode names
// shortcuts from Windows 4 on and link files below.
std::string DropQuestion(DropMode mode, const std::string& target, uint32_t windowsMajor);
// A drop onto a program: copy starts it, move and link associate the files with it.
std::string ProgramQuestion(DropMode mode, const std::string& program);
constexpr const char* kDropCaption = "ドロップ確認";

// The key a dropped file is associated by: its extension (with the dot) when it has one, else
// its name. byExtension tells which.
std::string AssociationKeyOf(const std::string& droppedPath, bool& byExtension);

// The path one selected entry contributes to a drop block: the table directory and the
// entry's name, or, for a manual drop onto another program, a link entry's target. Empty for
// an entry without a usable name (its path would name another file or none) and for "." and
// "..".
std::string DragPathOf(const std::string& tableDirectory, const table::SM_DAT& entry,
                       bool fullPathsAlways);
// The file list (JoinDropPaths form) of the dragged entries, in the order given, built in one
// allocation; entries without a usable name are left out. count gets the number of paths.
std::string DragPathList(const std::string& tableDirectory,
                         const std::vector<const table::SM_DAT*>& entries, bool fullPathsAlways,
                         size_t* count = nullptr);

// Drag cursors (resource ids) by mode and by whether exactly one entry is dragged; 24005 where
// nothing can be dropped.
constexpr int kCursorNoDrop = 24005;
int DragCursorId(DropMode mode, bool oneEntry);

// A drag starts once the pointer is more than this many pixels from the press in x or in y.
constexpr int32_t kDragStartSlop = 8;
bool DragHasStarted(int32_t pressX, int32_t pressY, int32_t x, int32_t y);

}  // namespace fileops
