// The rules of drawing a file pane that need no window: colours by attribute and selection, the
// marks an entry gets, the shapes of the frame styles, placeholder icons, which entries a
// rectangle of the pane shows and the background around them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "frame/pane_settings.h"
#include "table/binfo.h"
#include "table/layout_math.h"

namespace frame {

// A rectangle of the client area, right and bottom excluded.
struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  bool operator==(const Rect&) const = default;
};
Rect Intersect(const Rect& a, const Rect& b);
inline bool Intersects(const Rect& a, const Rect& b) { return !Intersect(a, b).Empty(); }

// How an entry's text is drawn.
enum TextMode : int {
  kTextCursor = 2,    // the cursor in the active pane
  kTextNormal = 3,    // an entry as it is, also after its focus frame was erased
  kTextSelected = 4,  // an entry just selected
  kTextDeselect = 5,  // an entry just deselected
};

// Frame styles of an entry rectangle.
enum FrameStyle : int {
  kEdgeRaised = 0,       // left and top in the button face colour
  kEdgeSunken = 1,       // left and top in the button shadow colour
  kFocusFrame = 2,       // one frame inset by 1 in the focus colour
  kFocusErase = 3,       // the same in the background colour
  kSelectionFrame = 4,   // frames inset by 2 and 0 in the selection colour
  kSelectionErase = 5,   // the same in the background colour
  kEdgeFlat = 6,         // left and top in the background colour
};

// Text colour of an entry by its attributes: system before hidden before read-only before the
// normal text colour.
Rgb AttributeColour(uint32_t attributes, const PaneSettings& s);

struct TextColours {
  bool draws = false;  // false: the mode draws nothing
  Rgb text;
  Rgb back;
  bool operator==(const TextColours&) const = default;
};
// The colours of an entry's name line (and in icon mode of every line) in a text mode.
TextColours EntryTextColours(uint32_t attributes, bool selected, int mode, const PaneSettings& s);
// The colours of the size, date, time and attribute columns of list mode: the attribute colour
// on the background in every mode that draws.
TextColours ColumnTextColours(uint32_t attributes, int mode, const PaneSettings& s);

// What a full paint draws over an entry's icon.
struct EntryMarks {
  bool selectionFrame = false;  // style 4
  bool focusFrame = false;      // style 2
  int textMode = kTextNormal;
  bool operator==(const EntryMarks&) const = default;
};
// The cursor has its focus frame and cursor text only in the active pane.
EntryMarks MarksFor(bool selected, bool cursor, bool activePane);

enum class ColourRole { kBackground, kSelection, kFocus, kButtonFace, kButtonShadow };

// How a frame style is drawn on an entry rectangle.
struct FrameShape {
  bool edge = false;      // lines: left and top in colour, right and bottom in the background
  int frameCount = 0;     // rectangle frames, each inset into the entry rectangle
  int insets[2] = {0, 0};
  ColourRole colour = ColourRole::kBackground;
};
// An unknown style has no edge and no frame.
FrameShape DescribeFrame(int style);

// The placeholder shown while an entry's own icon is not loaded.
enum class IconRole { kFolder, kProgram, kDocument };
// True when the text after the name's last period (double-byte aware) is "EXE" in any case.
bool HasExeExtension(const char* name);
// Directories and links to directories are folders; then programs by extension; else documents.
IconRole PlaceholderRole(const table::SM_DAT& d);
// Slots of table::PaneIcons::builtin (resources 1002 to 1009).
int BuiltinIconSlot(IconRole role, bool large);
constexpr int kLinkOverlayLargeSlot = 3;
constexpr int kLinkOverlaySmallSlot = 7;

// An entry's cell (the grid cell of icon mode, the line of list mode) in client coordinates.
Rect CellRect(const table::BINFO& e, const table::LayoutMetrics& m, table::Point origin);
// The entry rectangle the frames are drawn on, in client coordinates.
Rect EntryRect(const table::BINFO& e, table::Point origin);

// Positions [begin, end) into entries (display order, as the layout placed them) of the
// entries whose cells can meet rect: the rows (icon mode) or columns (list mode) that cross it.
// Found by bisection, so the cost does not grow with the length of the list.
struct IndexRange {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool operator==(const IndexRange&) const = default;
};
IndexRange CandidateEntries(const std::vector<table::BINFO*>& entries,
                            const table::LayoutMetrics& m, bool listMode, table::Point origin,
                            const Rect& rect);

// The rectangles of paint that no cell covers, to be filled with the background: the margins,
// the gaps beside the cells of each row (icon mode) or column (list mode), and everything past
// the last one. cells are the cells drawn, in display order, in client coordinates. Appends to
// out; together with the cells the result covers paint whatever the cells are.
void BackgroundRects(const std::vector<Rect>& cells, bool listMode, const Rect& paint,
                     std::vector<Rect>& out);

// The byte offsets of the underscores of a code page 932 text, never counting the trail byte of
// a double-byte character (which can be 0x5F as well).
std::vector<std::size_t> UnderscoreOffsets(const char* text, std::size_t len);

}  // namespace frame
