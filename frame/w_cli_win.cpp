#include "frame/w_cli_win.h"

#include "frame/client_layout.h"
#include "frame/gdi_font_win.h"
#include "frame/winfo_win.h"

namespace {
const char* const kClientClass = "SormClient";
}

W_CLI::~W_CLI() { Destroy(); }

bool W_CLI::CreateClient(HWND parent) {
  RegisterClassOnce(kClientClass, 0, nullptr, nullptr, ::LoadCursorA(nullptr, IDC_ARROW),
                    nullptr);
  return Create(kClientClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, 0, parent,
                nullptr);
}

bool W_CLI::CreateTitleBars(bool border) {
  for (auto& t : titles_)
    if (!t.CreateBar(Handle(), frame::CreateBarFont(14), border)) return false;
  return true;
}

void W_CLI::Layout() {
  RECT rc;
  ::GetClientRect(Handle(), &rc);
  frame::ClientLayout l = frame::ComputeClientLayout(rc.right, rc.bottom, host_->PaneCount(),
                                                     frame::kTitleBarHeight);
  for (int i = 0; i < host_->PaneCount(); ++i) {
    if (titles_[i].Handle()) {
      const frame::Rect& t = l.title[i];
      titles_[i].Move(t.x, t.y, t.w, t.h);
    }
    if (WINFO* p = host_->Pane(i)) {
      const frame::Rect& r = l.pane[i];
      p->Move(r.x, r.y, r.w, r.h);
    }
  }
}

LRESULT W_CLI::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the panes and title bars cover the whole client
    case WM_CHAR: {
      LRESULT r = DefaultProc(msg, wp, lp);
      host_->OnChar(static_cast<unsigned char>(wp));
      return r;
    }
    default:
      return DefaultProc(msg, wp, lp);
  }
}
