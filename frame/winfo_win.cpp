#include "frame/winfo_win.h"

#include "config/program_context.h"
#include "frame/gdi_font_win.h"
#include "frame/pane_icons_win.h"
#include "frame/pane_paint_win.h"
#include "table/input_win.h"
#include "frame/sdi_dec_frame_win.h"
#include "fw/message_bar.h"
#include "frame/w_cli_win.h"

WINFO::WINFO(frame::PaneHost* host, int index)
    : host_(host), index_(index), measurer_(nullptr, settings_.font) {}

WINFO::~WINFO() {
  table_.reset();  // the table talks to this window while it goes
  Destroy();
}

bool WINFO::CreatePane(HWND parent, int section, bool thinBorder) {
  settings_ = frame::ReadPaneSettings(section);
  measurer_.SetFont(settings_.font);
  // No scroll bars yet: the table's layout shows the ones its ranges need. Bars made with the
  // window would be drawn once for nothing when the frame first shows (under Wine the most
  // costly part of that first show) and then hidden or redrawn by that layout.
  bool ok = Create(config::kWindowClass, "",
                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (thinBorder ? WS_BORDER : 0),
                   thinBorder ? 0 : WS_EX_CLIENTEDGE, 0, 0, 0, 0, parent, nullptr);
  measurer_.SetWindow(Handle());
  return ok;
}

void WINFO::AttachTable(int instance) {
  RECT rc;
  ::GetClientRect(Handle(), &rc);
  width_ = rc.right;
  height_ = rc.bottom;
  table_ = std::make_unique<table::Sorm>(*this, instance);
  frame::LoadPaneIcons(::GetModuleHandleA(nullptr), table_->icons());
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

void WINFO::LoadShellIcons() {
  if (!table_) return;
  frame::LoadShellFolderIcons(config::Context().windowsMajorVersion, table_->icons());
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

bool WINFO::ScrollStep(int kind, int32_t position) {
  return table_ && frame::ScrollPane(Handle(), *table_, kind, position, scroll_);
}

bool WINFO::OnMouse(UINT msg, LPARAM lp) {
  if (!table_) return false;
  if (host_->Gate().Busy()) {
    // While a command runs a click only activates the pane: the selection and the cursor stay
    // as the command sees them, and nothing is opened.
    if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN) host_->ActivatePane(index_);
    return true;
  }
  table::PaneMouseSurfaceWin surface(Handle(), *this, host_->MousePump());
  surface.offerDrag = [this](table::MouseButton b, table::Point press) {
    host_->StartDrag(index_, b, press);
  };
  table::Point p = table::PointOfMessage(lp);
  table::MouseOptions o = host_->MouseOptions();
  uint8_t m = table::ModifiersOfMessage();
  table::PaneMouse& mouse = host_->Mouse();
  table::MouseRequest r;
  switch (msg) {
    case WM_LBUTTONDOWN:
      host_->ActivatePane(index_);
      mouse.LeftDown(*table_, surface, p, m, o, &host_->Keyboard().range);
      return true;
    case WM_LBUTTONUP:
      mouse.LeftUp();
      return true;
    case WM_LBUTTONDBLCLK:
      r = mouse.LeftDoubleClick(*table_, p);
      break;
    case WM_RBUTTONDOWN:
      host_->ActivatePane(index_);
      r = mouse.RightDown(*table_, surface, p, m, o, &host_->Keyboard().range);
      if (r.kind == table::MouseRequest::kPostRightButtonUp) table::PostRightButtonUp(Handle(), r.point);
      return true;
    case WM_RBUTTONUP:
      r = mouse.RightUp(*table_, p, o);
      break;
    case WM_RBUTTONDBLCLK:
      r = mouse.RightDoubleClick(*table_, p, m, o);
      break;
    default:
      return false;
  }
  host_->CarryOutMouse(index_, r);
  if (r.discardMouseAfter) surface.DiscardMouseMessages();
  return true;
}

bool WINFO::IsActive() const { return host_->ActivePaneIndex() == index_; }

void WINFO::RedrawEntry(const table::BINFO* entry) {
  if (table_ && entry && table_->IsEntry(entry))
    frame::RedrawPaneEntry(Handle(), *table_, settings_, IsActive(), entry);
}

void WINFO::WriteSettings(int section) {
  if (table_) {
    settings_.x1 = table_->origin().x;
    settings_.y1 = table_->origin().y;
  }
  frame::WritePaneSettings(section, settings_);
}

table::IconMetrics WINFO::GetIconMetrics() {
  return {::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON),
          ::GetSystemMetrics(SM_CXSMICON)};
}

table::TextMeasurer& WINFO::Measurer() { return measurer_; }

void WINFO::FontChanged() {
  measurer_.SetFont(settings_.font);
  if (table_) {
    table_->TextMetricsChanged();
    table_->Layout();
  }
  Repaint();
}

void WINFO::SetScrollBars(const table::ScrollBars& b) {
  frame::ApplyScrollBars(Handle(), b, scroll_);
}

void WINFO::Repaint() {
  ::InvalidateRect(Handle(), nullptr, FALSE);
  ::UpdateWindow(Handle());
}

void WINFO::ErrorBox(const char* text) {
  HWND frame = host_->FrameHandle();
  if (frame) ::SetForegroundWindow(frame);
  ::BringWindowToTop(Handle());
  ::MessageBoxA(frame, text, "ソルモ", MB_OK);
}

void WINFO::FatalError(const char* text) {
  ::MessageBoxA(host_->FrameHandle(), text, "ソルモ", MB_OK);
  ::ExitProcess(1);
}

void WINFO::UpdateSelectionText() { host_->UpdateSelectionText(index_); }

void WINFO::SortOrderChanged(int16_t oldId, int16_t newId) {
  HMENU bar = host_->FrameHandle() ? ::GetMenu(host_->FrameHandle()) : nullptr;
  if (!bar || index_ != host_->ActivePaneIndex()) return;
  ::CheckMenuItem(bar, oldId, MF_BYCOMMAND | MF_UNCHECKED);
  ::CheckMenuItem(bar, newId, MF_BYCOMMAND | MF_CHECKED);
}

void WINFO::ShowTitle(const std::string& title, const std::string& directory) {
  host_->ShowPaneTitle(index_, title, directory);
}

void WINFO::Retitle() {
  if (table_) table_->TitleText();
}

void WINFO::OnSize(int w, int h) {
  width_ = w;
  height_ = h;
  if (table_ && table_->Layout()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT WINFO::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      frame::PaintPaneWindow(Handle(), table_.get(), settings_, IsActive(),
                             scroll_.paintingSuppressed);
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (table_) frame::HandleScrollMessage(Handle(), *table_, msg == WM_VSCROLL, wp, scroll_);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the pane paints its whole area
    case WM_DESTROY:
      kept_.reset();  // while the window still exists (a drop target is revoked from it)
      return DefaultProc(msg, wp, lp);
    case WM_DROPFILES:
      host_->OnDropFiles(index_, reinterpret_cast<HDROP>(wp), lp, Handle());
      return 0;
    case WM_SIZE:
      OnSize(LOWORD(lp), HIWORD(lp));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      if (!OnMouse(msg, lp) && (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN))
        host_->ActivatePane(index_);
      return 0;
    default:
      return DefaultProc(msg, wp, lp);
  }
}
