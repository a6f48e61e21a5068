// The mouse in a file-table pane: clicks that move the cursor and change the selection, the
// pending click whose slow release starts the change-name command, double-clicks, the start of
// a drag, the context menus, the rubber band that selects or deselects the entries it touches,
// and background click scrolling in the idle step.
//
// The pane window feeds its mouse messages to one PaneMouse of the process and implements
// MouseSurface: the pointer, the buttons, the capture, the band's outline, the nested message
// pump. What belongs to other subsystems (opening, menus, the change-name command, posting a
// message) comes back as a MouseRequest; starting a drag is offered through the surface.
#pragma once
#include <cstdint>
#include <string>

#include "table/pane_surface.h"
#include "table/selection.h"
#include "table/sorm.h"

namespace table {

enum class MouseButton : uint8_t { kLeft, kRight };
enum class BandMode : uint8_t { kSelect, kDeselect };

// A rectangle with both corners included, left <= right and top <= bottom.
struct BandRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const BandRect&) const = default;
};

class MouseSurface : public PaneSurface {
 public:
  // The pane's client area (GetClientRect).
  virtual ClientSize Client() = 0;
  // The pointer in the pane's client coordinates (GetCursorPos, ScreenToClient); anywhere on
  // the screen, so outside the client area too.
  virtual Point Pointer() = 0;
  // Whether a button is down now (GetAsyncKeyState).
  virtual bool ButtonHeld(MouseButton b) = 0;
  // Modifiers held now, ModifierBit set (GetAsyncKeyState).
  virtual uint8_t Modifiers() = 0;
  // GetTickCount.
  virtual uint32_t Ticks() = 0;
  // SetCapture / ReleaseCapture on the pane.
  virtual void Capture(bool on) = 0;
  // Draws the outline of r (client coordinates) by inverting the pixels under it (R2_NOT);
  // drawing it twice leaves the pane as it was.
  virtual void InvertOutline(const BandRect& r) = 0;
  // The window under the pointer is the pane and WM_NCHITTEST answers HTCLIENT.
  virtual bool PointerOverClient() = 0;
  // The nested message pump, once (fileops::RunOperationPump), and for ms milliseconds.
  virtual void Pump() = 0;
  virtual void PumpFor(uint32_t ms) = 0;
  // Removes the mouse messages queued for the pane (PeekMessageA with PM_REMOVE over the
  // mouse message range).
  virtual void DiscardMouseMessages() = 0;
  // A press on an entry may start dragging the target entries (drag and drop).
  virtual void OfferDrag(MouseButton button, Point press) {}
  // False once the pane window is gone (a nested pump may have closed the window).
  virtual bool Alive() { return true; }
};

struct MouseOptions {
  bool clickScroll = false;      // background click scrolling
  uint32_t platformMajor = 4;    // WindowsMajorVersion
};

// What the pane window does after a handler.
struct MouseRequest {
  enum Kind : uint8_t {
    kNone,
    kCommand,            // run menu command `command` (the change-name command)
    kOpenEntry,          // open `entry`
    kContextMenu,        // the shell context menu at `point` (client coordinates)
    kFrameMenu,          // platform below 4: the frame menu's first popup at `point`
    kPostRightButtonUp,  // post WM_RBUTTONUP at `point` to the pane
  };
  Kind kind = kNone;
  int command = 0;
  Point point;
  BINFO* entry = nullptr;
  bool discardMouseAfter = false;  // then DiscardMouseMessages
};

// The press on an entry's text that a slow release turns into the change-name command.
struct PendingClick {
  bool active = false;
  uint32_t tick = 0;
  Point point;  // client coordinates of the press
  const Sorm* table = nullptr;
  int32_t index = 0;  // the entry, found again by index and name
  std::string name;
};

// Movement limits and times.
constexpr int32_t kSlowClickSlop = 8;       // the pointer stays closer than this
constexpr uint32_t kSlowClickMs = 500;      // a release later than this renames
constexpr uint32_t kClickScrollMs = 30;     // at most one scroll line this often
constexpr uint32_t kDragWaitMs = 100;       // DragStarted waits this long
constexpr int32_t kDragSlop = 1;            // more than this many pixels is a drag
constexpr uint32_t kBandScrollPauseMs = 50; // the band scrolls a line this often
constexpr uint32_t kBandIdleMs = 10;        // pump time of a band pass that changed nothing

// Rubber band geometry (pure).
BandRect NormalizeBand(Point a, Point b);
// The outline of a band as it is drawn: its edges outside the client area are drawn just
// outside it (at -1 or at the width or height), where they show nothing.
BandRect ClampOutline(const BandRect& r, ClientSize client);
// Whether a node's rectangle and the band meet, edges included.
bool NodeInBand(const BINFO& node, const BandRect& band);
// Whether an entry is inside the band: its rectangle, or in icon mode one of its text lines.
bool EntryInBand(const BINFO& entry, const BandRect& band, bool listMode);
// One band pass (band in document coordinates): in select mode an entry inside that is not
// selected is selected, in deselect mode one that is selected is deselected, and it is marked
// Banded; an entry outside that is marked Banded loses the mark and gets its selection back.
// "." and ".." are never touched. Returns the entries changed.
int32_t ApplyBand(Sorm& t, const BandRect& band, BandMode mode, PaneSurface* surface);
// Clears every Banded mark.
void ClearBandMarks(Sorm& t);

// Which part of an entry a client point is on.
enum class EntryPart : uint8_t { kNone, kText, kIcon };
EntryPart PartAt(const Sorm& t, const BINFO* entry, Point client);

// The mouse state of one process.
class PaneMouse {
 public:
  // The press handlers run after the pane became the active pane. range, when given, is the
  // keyboard's Shift range, which a click that moves the cursor ends.
  void LeftDown(Sorm& t, MouseSurface& s, Point p, uint8_t modifiers, const MouseOptions& o,
                RangeState* range = nullptr);
  void LeftUp() { buttonDown_ = false; }
  MouseRequest LeftDoubleClick(Sorm& t, Point p);
  MouseRequest RightDown(Sorm& t, MouseSurface& s, Point p, uint8_t modifiers,
                         const MouseOptions& o, RangeState* range = nullptr);
  MouseRequest RightUp(Sorm& t, Point p, const MouseOptions& o);
  MouseRequest RightDoubleClick(Sorm& t, Point p, uint8_t modifiers, const MouseOptions& o);

  // The idle step of the active pane's table: click scrolling while a button is held on the
  // background, and the slow-click test once the buttons are up.
  MouseRequest IdleStep(Sorm& t, MouseSurface& s, const MouseOptions& o);
  // Whether the application should keep asking for idle time.
  bool WantsIdle() const { return pending_.active || buttonDown_; }

  // Waits up to kDragWaitMs, pumping messages, for the pointer to move more than kDragSlop
  // pixels from the press point while button stays down. True when it did.
  bool DragStarted(MouseSurface& s, Point press, MouseButton button);
  // Runs the rubber band from the press point while its button stays down.
  void RubberBand(Sorm& t, MouseSurface& s, Point press, BandMode mode);

  void CancelPendingClick() { pending_.active = false; }
  const PendingClick& pending() const { return pending_; }
  bool bandActive() const { return bandActive_; }
  bool buttonDown() const { return buttonDown_; }

 private:
  BINFO* PendingEntry(Sorm& t) const;

  PendingClick pending_;
  bool bandActive_ = false;
  bool buttonDown_ = false;
  bool scrolled_ = false;
  uint32_t lastScrollTick_ = 0;
};

}  // namespace table
