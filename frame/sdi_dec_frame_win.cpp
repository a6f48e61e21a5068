#include "frame/sdi_dec_frame_win.h"

#include <commctrl.h>

#include "config/config_file.h"
#include "config/program_context.h"

namespace {
const char* const kFrameStyleClass = config::kWindowClass;
}  // namespace

SDIDecFrame::~SDIDecFrame() { Destroy(); }

bool SDIDecFrame::CreateFrame() {
  return Create(kFrameStyleClass, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, CW_USEDEFAULT, 0,
                CW_USEDEFAULT, 0, nullptr, nullptr);
}

void SDIDecFrame::RestorePlacement(int n, int showCommand) {
  std::string sec = config::InstSection(n);
  frame::Placement p;
  bool havePlacement = frame::ParsePlacement(config::ReadConfigString(sec, "Placement", "", 64), p);
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
  frame::ParseShrink(config::ReadConfigString(sec, "Shrink", "0"), shrink_);
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
  std::string sec = config::InstSection(n);
  config::WriteConfigString(sec, "Placement", frame::FormatPlacement(p).c_str());
  int show = ::IsIconic(Handle()) ? 2 : (::IsZoomed(Handle()) ? 1 : 0);
  config::WriteConfigLong(sec, "Show", show);
  config::WriteConfigString(sec, "Shrink", frame::FormatShrink(shrink_).c_str());
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

LRESULT SDIDecFrame::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      // Never under a running command: it is cancelled and the close comes again at its end.
      if (!host_->CloseNowOrAfterCommand(wp)) return 0;
      if (host_->MayClose()) ::DestroyWindow(Handle());
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // A session end that was called off changes nothing: saving then would mark the window
      // saved, and its real close later would save nothing.
      if (!wp) return 0;
      // A running command is cancelled (the process may end without unwinding it; a file being
      // replaced is only put in place complete); then the window saves itself once.
      host_->Gate().CancelRunning();
      host_->EndSession();
      return 0;
    case WM_USER:
      // Posted by other windows of the program or by this process; handled here, not in the
      // main loop, so that a modal loop (dialog, message box, menu, drag) does not drop them.
      host_->OnAppMessage(wp, lp);
      return 0;
    case WM_USER + 1:
    case WM_USER + 2:
    case WM_USER + 3:
      // The worker thread's reports, here when a loop other than the main one took them.
      host_->OnMonitorMessage(msg, wp, lp);
      return 0;
    case WM_WININICHANGE:
      host_->AssociationsChanged();
      return DecoratedFrame::OnMessage(msg, wp, lp);
    case WM_TIMER:
      if (host_->OnTimer(wp)) return 0;
      return DecoratedFrame::OnMessage(msg, wp, lp);
    case WM_COMMAND:
      if (lp == 0 || HIWORD(wp) == 0) {
        if (host_->OnCommand(LOWORD(wp))) return 0;
      }
      return DecoratedFrame::OnMessage(msg, wp, lp);
    case WM_MENUSELECT:
      // A command item highlighted; a submenu title, a separator or a closed menu is none.
      if ((HIWORD(wp) == 0xFFFF && lp == 0) || (HIWORD(wp) & (MF_POPUP | MF_SEPARATOR)))
        host_->MenuSelected(0);
      else
        host_->MenuSelected(LOWORD(wp));
      return 0;
    case WM_HELP:
      // F1 in an open menu.
      if (reinterpret_cast<HELPINFO*>(lp)->iContextType == HELPINFO_MENUITEM) {
        host_->HelpOnMenu();
        return TRUE;
      }
      return DecoratedFrame::OnMessage(msg, wp, lp);
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lp);
        info->hinst = ::GetModuleHandleA(nullptr);
        info->lpszText = MAKEINTRESOURCEA(hdr->idFrom);
        host_->ShowHint(static_cast<int>(hdr->idFrom));
        return 0;
      }
      // The hint of a toolbar button lasts while the mouse is over it.
      if (hdr->code == TTN_POP) host_->ShowHint(0);
      if (hdr->code == TBN_HOTITEMCHANGE) {
        const auto* hot = reinterpret_cast<NMTBHOTITEM*>(lp);
        host_->ShowHint((hot->dwFlags & HICF_LEAVING) ? 0 : hot->idNew);
      }
      return DecoratedFrame::OnMessage(msg, wp, lp);
    }
    case WM_DROPFILES:
      // Files dropped on the frame go to the active pane's table.
      host_->OnDropFiles(host_->ActivePaneIndex(), reinterpret_cast<HDROP>(wp), lp, Handle());
      return 0;
    case WM_INITMENUPOPUP:
      if (!HIWORD(lp)) host_->UpdatePopup(reinterpret_cast<HMENU>(wp));
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return DecoratedFrame::OnMessage(msg, wp, lp);
  }
}
