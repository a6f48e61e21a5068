// A frame window with a client window and control bars docked at any of its four edges.
#pragma once
#include <windows.h>

#include <vector>

#include "fw/window.h"

namespace fw {

enum class Edge { kTop, kBottom, kLeft, kRight };

// Something docked at an edge of a frame: a status bar, a toolbar.
class ControlBar {
 public:
  virtual ~ControlBar() = default;
  virtual HWND BarHandle() const = 0;
  // Height for a top/bottom bar of the given width, width for a left/right bar.
  virtual int Thickness(bool horizontal, int length) = 0;
  // Called after the frame placed the bar, with its new length along the edge.
  virtual void Placed(int length) {}
};

class DecoratedFrame : public Window {
 public:
  void SetClient(Window* client) { client_ = client; }
  Window* Client() const { return client_; }
  // Docks a bar (its window must be a child of this frame). Bars nearer the start of the list
  // lie nearer the frame's edge.
  void InsertBar(ControlBar* bar, Edge edge);
  void RemoveBar(ControlBar* bar);
  // Places bars and client in the frame's client area.
  void Layout();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct Docked {
    ControlBar* bar;
    Edge edge;
  };
  Window* client_ = nullptr;
  std::vector<Docked> bars_;
};

}  // namespace fw
