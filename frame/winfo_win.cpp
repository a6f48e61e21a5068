#include "frame/winfo_win.h"

#include "app/fws_app_win.h"
#include "app/instance_coord_win.h"
#include "frame/gdi_font_win.h"
#include "frame/sdi_dec_frame_win.h"
#include "fw/message_bar.h"
#include "frame/w_cli_win.h"

namespace {

// Measures text with the pane's font in the pane's DC, taken for the length of one layout.
class PaneMeasurer final : public table::TextMeasurer {
 public:
  PaneMeasurer(HWND hwnd, const LOGFONTA& lf) : hwnd_(hwnd), lf_(lf) {}
  ~PaneMeasurer() override { Release(); }
  table::TextExtent Measure(const char* text, std::size_t len) override {
    if (!dc_) {
      dc_ = ::GetDC(hwnd_);
      font_ = ::CreateFontIndirectA(&lf_);
      old_ = ::SelectObject(dc_, font_);
    }
    SIZE sz{};
    ::GetTextExtentPoint32A(dc_, text, static_cast<int>(len), &sz);
    return {sz.cx, sz.cy};
  }
  void Release() override {
    if (!dc_) return;
    ::SelectObject(dc_, old_);
    ::DeleteObject(font_);
    ::ReleaseDC(hwnd_, dc_);
    dc_ = nullptr;
  }

 private:
  HWND hwnd_;
  LOGFONTA lf_;
  HDC dc_ = nullptr;
  HFONT font_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

}  // namespace

WINFO::WINFO(fwsApp* app, int index) : app_(app), index_(index) {}

WINFO::~WINFO() {
  table_.reset();  // the table talks to this window while it goes
  Destroy();
}

bool WINFO::CreatePane(HWND parent, int section, bool thinBorder) {
  settings_ = frame::ReadPaneSettings(section);
  return Create(app::kWindowClass, "",
                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL |
                    (thinBorder ? WS_BORDER : 0),
                thinBorder ? 0 : WS_EX_CLIENTEDGE, 0, 0, 0, 0, parent, nullptr);
}

void WINFO::AttachTable(int instance) {
  RECT rc;
  ::GetClientRect(Handle(), &rc);
  width_ = rc.right;
  height_ = rc.bottom;
  table_ = std::make_unique<table::Sorm>(*this, instance);
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

table::TextMeasurer& WINFO::Measurer() {
  if (!measurer_)
    measurer_ = std::make_unique<PaneMeasurer>(Handle(), frame::ToLogFont(settings_.font));
  return *measurer_;
}

void WINFO::SetScrollBars(const table::ScrollBars& b) {
  paintSuppressed_ = true;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_POS;
  si.nMin = b.horizontalMin;
  si.nMax = b.horizontalMax;
  si.nPos = b.horizontalPos;
  ::SetScrollInfo(Handle(), SB_HORZ, &si, TRUE);
  si.nMin = b.verticalMin;
  si.nMax = b.verticalMax;
  si.nPos = b.verticalPos;
  ::SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
  paintSuppressed_ = false;
}

void WINFO::Repaint() {
  ::InvalidateRect(Handle(), nullptr, FALSE);
  ::UpdateWindow(Handle());
}

void WINFO::ErrorBox(const char* text) {
  HWND frame = app_->MainWindow();
  if (frame) ::SetForegroundWindow(frame);
  ::BringWindowToTop(Handle());
  ::MessageBoxA(frame, text, "ソルモ", MB_OK);
}

void WINFO::FatalError(const char* text) {
  ::MessageBoxA(app_->MainWindow(), text, "ソルモ", MB_OK);
  ::ExitProcess(1);
}

void WINFO::UpdateSelectionText() { app_->UpdateSelectionText(index_); }

void WINFO::SortOrderChanged(int16_t oldId, int16_t newId) {
  HMENU bar = app_->MainWindow() ? ::GetMenu(app_->MainWindow()) : nullptr;
  if (!bar || index_ != app_->ActivePaneIndex()) return;
  ::CheckMenuItem(bar, oldId, MF_BYCOMMAND | MF_UNCHECKED);
  ::CheckMenuItem(bar, newId, MF_BYCOMMAND | MF_CHECKED);
}

void WINFO::ShowTitle(const std::string& title, const std::string& directory) {
  app_->ShowPaneTitle(index_, title, directory);
}

void WINFO::Retitle() {
  if (table_) table_->TitleText();
}

void WINFO::OnSize(int w, int h) {
  width_ = w;
  height_ = h;
  if (table_ && table_->Layout()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

void WINFO::Paint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(Handle(), &ps);
  const frame::Rgb& bk = settings_.background;
  HBRUSH brush = ::CreateSolidBrush(RGB(bk.r, bk.g, bk.b));
  ::FillRect(dc, &ps.rcPaint, brush);
  ::DeleteObject(brush);
  ::EndPaint(Handle(), &ps);
}

LRESULT WINFO::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      if (paintSuppressed_) {
        ::ValidateRect(Handle(), nullptr);
        return 0;
      }
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the pane paints its whole area
    case WM_SIZE:
      OnSize(LOWORD(lp), HIWORD(lp));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      app_->ActivatePane(index_);
      return 0;
    default:
      return DefaultProc(msg, wp, lp);
  }
}
