// The Win32 side of the keyboard and mouse handling of a file table: reading key messages and
// modifier keys, and the MouseSurface of a pane window over its HWND. The pane window
// supplies only the drawing and scrolling (table::PaneSurface) and, when drag and drop is
// there, the drag offer.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

#include "table/mouse_logic.h"

namespace table {

// The Shift, Ctrl and Alt keys held now (GetAsyncKeyState), as a ModifierBit set.
uint8_t ModifiersNow();
// The Shift, Ctrl and Alt keys as they were held when the message being handled was input
// (GetKeyState), as a ModifierBit set. Keys are judged by this: keys typed ahead wait in the
// queue, and by the time they are handled Shift may be up again.
uint8_t ModifiersOfMessage();

// The key of a queued message for OnKey: WM_KEYDOWN and WM_SYSKEYDOWN give their virtual-key
// code, WM_CHAR with a code 1 to 26 the character code. False for any other message.
bool KeyOfMessage(const MSG& msg, uint32_t* key);

// A mouse message's point in client coordinates (signed, as GET_X_LPARAM reads it).
Point PointOfMessage(LPARAM lp);

// What runs the queued messages while the mouse is tracked (the program's operation pump).
class MessagePump {
 public:
  virtual ~MessagePump() = default;
  // Handles the messages queued now.
  virtual void Pump() = 0;
  // Keeps handling messages for ms milliseconds.
  virtual void PumpFor(uint32_t ms) = 0;
};

class PaneMouseSurfaceWin final : public MouseSurface {
 public:
  PaneMouseSurfaceWin(HWND pane, PaneSurface& drawing, MessagePump& pump)
      : pane_(pane), drawing_(drawing), pump_(pump) {}

  // PaneSurface: the pane's own drawing and scrolling.
  void RedrawEntry(const BINFO* entry) override { drawing_.RedrawEntry(entry); }
  void RepaintAll() override { drawing_.RepaintAll(); }
  bool ScrollStep(int kind, int32_t position) override {
    return drawing_.ScrollStep(kind, position);
  }

  ClientSize Client() override;
  Point Pointer() override;
  // The physical button that acts as the left or right one (swapped buttons respected).
  bool ButtonHeld(MouseButton b) override;
  uint8_t Modifiers() override { return ModifiersNow(); }
  uint32_t Ticks() override { return ::GetTickCount(); }
  void Capture(bool on) override;
  void InvertOutline(const BandRect& r) override;
  bool PointerOverClient() override;
  void Pump() override { pump_.Pump(); }
  void PumpFor(uint32_t ms) override { pump_.PumpFor(ms); }
  void DiscardMouseMessages() override;
  void OfferDrag(MouseButton button, Point press) override {
    if (offerDrag) offerDrag(button, press);
  }
  bool Alive() override { return ::IsWindow(pane_) != FALSE; }

  // Set by the pane once drag and drop exists.
  std::function<void(MouseButton, Point)> offerDrag;

 private:
  HWND pane_;
  PaneSurface& drawing_;
  MessagePump& pump_;
};

// Posts WM_RBUTTONUP at a client point to the pane (MouseRequest::kPostRightButtonUp).
void PostRightButtonUp(HWND pane, Point p);

}  // namespace table
