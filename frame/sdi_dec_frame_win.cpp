#include "frame/sdi_dec_frame_win.h"

#include <commctrl.h>

#include "app/config_file.h"
#include "app/fws_app_win.h"
#include "app/instance_coord_win.h"
#include "app/process_globals.h"
#include "app/window_state.h"
#include "resources/commands.h"

namespace {
const char* const kFrameStyleClass = app::kWindowClass;

void LockErrorNoOwner() { ::MessageBoxExA(nullptr, "Lock error", "Error", MB_OK, 0); }
}  // namespace

SDIDecFrame::~SDIDecFrame() { Destroy(); }

bool SDIDecFrame::CreateFrame() {
  return Create(kFrameStyleClass, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, CW_USEDEFAULT, 0,
                CW_USEDEFAULT, 0, nullptr, nullptr);
}

void SDIDecFrame::RestorePlacement(int n, int showCommand) {
  std::string sec = app::InstSection(n);
  frame::Placement p;
  bool havePlacement = frame::ParsePlacement(app::ReadConfigString(sec, "Placement", "", 64), p);
  shrink_ = frame::ShrinkState{};
  if (havePlacement) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    wp.flags = 0;
    wp.showCmd = showCommand;
    wp.rcNormalPosition = {p.left, p.top, p.left + p.width, p.top + p.height};
    wp.ptMinPosition = {p.minX, p.minY};
    wp.ptMaxPosition = {p.maxX, p.maxY};
    ::SetWindowPlacement(Handle(), &wp);
    shrink_.width = p.width;
    shrink_.height = p.height;
  }
  frame::ParseShrink(app::ReadConfigString(sec, "Shrink", "0"), shrink_);
  if (!havePlacement) ::ShowWindow(Handle(), showCommand);  // SetWindowPlacement showed it
}

void SDIDecFrame::WritePlacement(int n, int dx, int dy) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  if (!::GetWindowPlacement(Handle(), &wp))
    ::MessageBoxA(Handle(), "GetWindowPlacement error", "SDI:WriteConfig", MB_OK);
  frame::Placement p;
  p.left = wp.rcNormalPosition.left;
  p.top = wp.rcNormalPosition.top;
  p.width = wp.rcNormalPosition.right - wp.rcNormalPosition.left;
  p.height = wp.rcNormalPosition.bottom - wp.rcNormalPosition.top;
  if (n == -1) {
    p.left += dx;
    p.top += dy;
  }
  p.minX = wp.ptMinPosition.x;
  p.minY = wp.ptMinPosition.y;
  p.maxX = wp.ptMaxPosition.x;
  p.maxY = wp.ptMaxPosition.y;
  std::string sec = app::InstSection(n);
  app::WriteConfigString(sec, "Placement", frame::FormatPlacement(p).c_str());
  int show = ::IsIconic(Handle()) ? 2 : (::IsZoomed(Handle()) ? 1 : 0);
  app::WriteConfigLong(sec, "Show", show);
  app::WriteConfigString(sec, "Shrink", frame::FormatShrink(shrink_).c_str());
}

void SDIDecFrame::ShrinkFrame(bool on) {
  if (on == shrink_.shrunk) return;
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  if (!::GetWindowPlacement(Handle(), &wp)) return;
  RECT& r = wp.rcNormalPosition;
  if (on) {
    shrink_.width = r.right - r.left;
    shrink_.height = r.bottom - r.top;
    r.right = r.left + shrink_.width;
    r.bottom = r.top;  // the system keeps the caption, borders and menu
  } else {
    r.right = r.left + shrink_.width;
    r.bottom = r.top + shrink_.height;
  }
  wp.flags = 0;
  if (wp.showCmd == SW_SHOWMINIMIZED) wp.showCmd = SW_SHOWMINNOACTIVE;
  ::SetWindowPlacement(Handle(), &wp);
  shrink_.shrunk = on;
}

bool SDIDecFrame::MayClose() {
  app::ProcessGlobals& g = app::Globals();
  if (app::ShouldSaveAsLastWindow(app::CountWindows(), g.stateSaved)) {
    app::WriteEndMode("Quit");
    app::PurgeSavedWindows(&LockErrorNoOwner);
    app::SaveWindowState(1, *app_);
    g.stateSaved = true;
  }
  return true;
}

void SDIDecFrame::OnEndSession() {
  // The change monitors would be closed here; then the window saves itself once.
  if (!app_) return;
  app::ProcessGlobals& g = app::Globals();
  app::WriteEndMode("EndSession");
  app::PurgeSavedWindows(&LockErrorNoOwner);
  if (!g.stateSaved) {
    g.stateSaved = true;
    app::SaveWindowState(0, *app_);
  }
}

LRESULT SDIDecFrame::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      if (MayClose() && app_->MayClose()) ::DestroyWindow(Handle());
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_USER:
      // Posted by other windows of the program or by this process; handled here, not in the
      // main loop, so that a modal loop (dialog, message box, menu, drag) does not drop them.
      if (app_) app_->OnAppMessage(wp, lp);
      return 0;
    case WM_ENDSESSION:
      OnEndSession();
      return 0;
    case WM_TIMER:
      if (wp == fwsApp::kLateInitTimer) {
        app_->OnLateInitTimer();
        return 0;
      }
      return DecoratedFrame::OnMessage(msg, wp, lp);
    case WM_COMMAND:
      if (lp == 0 || HIWORD(wp) == 0) {
        if (app_->OnCommand(LOWORD(wp))) return 0;
      }
      return DecoratedFrame::OnMessage(msg, wp, lp);
    case WM_MENUSELECT:
      // Hints follow the highlighted item; a closed menu clears them.
      if (HIWORD(wp) == 0xFFFF && lp == 0)
        app_->ShowHint(0);
      else if (!(HIWORD(wp) & (MF_POPUP | MF_SEPARATOR)))
        app_->ShowHint(LOWORD(wp));
      return 0;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lp);
        info->hinst = ::GetModuleHandleA(nullptr);
        info->lpszText = MAKEINTRESOURCEA(hdr->idFrom);
        app_->ShowHint(static_cast<int>(hdr->idFrom));
        return 0;
      }
      return DecoratedFrame::OnMessage(msg, wp, lp);
    }
    case WM_INITMENUPOPUP:
      if (!HIWORD(lp)) app_->UpdatePopup(reinterpret_cast<HMENU>(wp));
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return DecoratedFrame::OnMessage(msg, wp, lp);
  }
}
