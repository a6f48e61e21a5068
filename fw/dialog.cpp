#include "fw/dialog.h"

#include <vector>

#include "fw/application.h"
#include "os/mbcs.h"

namespace fw {
namespace {

// The system places a dialog from its template relative to the window given as owner; the top
// window is given so that PlaceByOwnerChain alone adds the offsets of a child owner.
HWND TopWindowOf(HWND owner) {
  if (!owner) return nullptr;
  HWND root = ::GetAncestor(owner, GA_ROOT);
  return root ? root : owner;
}

}  // namespace

Dialog::~Dialog() {
  if (hwnd_ && !modal_) ::DestroyWindow(hwnd_);
}

INT_PTR Dialog::DoModal(HWND owner) {
  owner_ = owner;
  modal_ = true;
  result_ = 0;
  INT_PTR r = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_),
                                TopWindowOf(owner), &Dialog::Proc, reinterpret_cast<LPARAM>(this));
  modal_ = false;
  return r;
}

bool Dialog::Create(HWND owner) {
  if (hwnd_) return false;
  owner_ = owner;
  modal_ = false;
  result_ = 0;
  HWND h = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_),
                                TopWindowOf(owner), &Dialog::Proc, reinterpret_cast<LPARAM>(this));
  if (!h) return false;
  Application::AddModeless(h);
  ::ShowWindow(h, SW_SHOW);
  return true;
}

void Dialog::Close(INT_PTR result) {
  result_ = result;
  if (!hwnd_) return;
  if (modal_)
    ::EndDialog(hwnd_, result);
  else
    ::DestroyWindow(hwnd_);
}

void Dialog::SetItemText(int id, const char* text) const {
  ::SetDlgItemTextA(hwnd_, id, text ? text : "");
}

void Dialog::SetItemText(int id, const char* text, std::size_t maxBytes) const {
  std::vector<char> buf(maxBytes + 1);
  mbcs::CopyBounded(buf.data(), buf.size(), text ? text : "");
  ::SetDlgItemTextA(hwnd_, id, buf.data());
}

std::string Dialog::ItemText(int id) const {
  HWND item = Item(id);
  if (!item) return std::string();
  // The reported length is only a hint (a control may count characters, not the bytes of its
  // ANSI text): every read is bounded by the buffer's own size, and a read that fills the
  // buffer is made again with a larger one, so the text is never taken cut.
  const int hint = ::GetWindowTextLengthA(item);
  std::size_t size = static_cast<std::size_t>(hint > 0 ? hint : 0) * 2 + 2;
  for (;;) {
    std::vector<char> buf(size, '\0');
    const int got = ::GetWindowTextA(item, buf.data(), static_cast<int>(buf.size()));
    if (got <= 0) return std::string();
    // Two bytes to spare: a cut text may end one byte short, before a double-byte character.
    if (static_cast<std::size_t>(got) + 2 < size) return std::string(buf.data(), static_cast<std::size_t>(got));
    if (size > (1u << 24)) return std::string();  // no dialog field holds 16 MiB
    size *= 2;
  }
}

std::size_t Dialog::GetItemText(int id, char* buffer, std::size_t size) const {
  if (!buffer || size == 0) return 0;
  return mbcs::CopyBounded(buffer, size, ItemText(id).c_str());
}

void Dialog::FocusItem(int id) const {
  if (HWND item = Item(id)) ::SetFocus(item);
}

void Dialog::PlaceByOwnerChain() const {
  int dx = 0, dy = 0;
  HWND w = owner_;
  for (int n = 0; n < 2 && w; ++n) {
    if (::GetWindowLongA(w, GWL_STYLE) & WS_POPUP) break;
    HWND up = ::GetParent(w);
    if (!up) break;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!::GetWindowPlacement(w, &wp)) break;
    dx += wp.rcNormalPosition.left;
    dy += wp.rcNormalPosition.top;
    w = up;
  }
  if (dx == 0 && dy == 0) return;
  RECT r;
  if (!::GetWindowRect(hwnd_, &r)) return;
  int width = r.right - r.left, height = r.bottom - r.top;
  int x = r.left + dx, y = r.top + dy;
  // A pane far right or down would push the dialog off the screen: keep it reachable.
  RECT moved = {x, y, x + width, y + height};
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  if (::GetMonitorInfoA(::MonitorFromRect(&moved, MONITOR_DEFAULTTONEAREST), &mi)) {
    const RECT& wa = mi.rcWork;
    if (x + width > wa.right) x = wa.right - width;
    if (y + height > wa.bottom) y = wa.bottom - height;
    if (x < wa.left) x = wa.left;
    if (y < wa.top) y = wa.top;
  }
  ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Dialog::OnInit() {
  PlaceByOwnerChain();
  return true;
}

INT_PTR CALLBACK Dialog::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Dialog* self = reinterpret_cast<Dialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self && msg == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lp);
    if (!self) return FALSE;
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return FALSE;
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
    if (!self->modal_) {
      Application::RemoveModeless(hwnd);
      self->OnDestroyed();
    }
    return FALSE;
  }
  return self->Dispatch(msg, wp, lp);
}

INT_PTR Dialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInit() ? TRUE : FALSE;
    case WM_COMMAND: {
      int id = LOWORD(wp);
      int code = HIWORD(wp);
      HWND control = reinterpret_cast<HWND>(lp);
      if (id == IDOK && code == BN_CLICKED) {
        OnOK();
        return TRUE;
      }
      if (id == IDCANCEL && code == BN_CLICKED) {
        OnCancel();
        return TRUE;
      }
      return OnCommand(id, code, control) ? TRUE : FALSE;
    }
    default: {
      INT_PTR result = FALSE;
      if (OnMessage(msg, wp, lp, &result)) {
        // Values for messages that return through DWLP_MSGRESULT are the derived class's job.
        return result;
      }
      return FALSE;
    }
  }
}

}  // namespace fw
