#include "fileops/drop_handle_win.h"

#include <cwchar>

#include "fileops/drop_block.h"
#include "fileops/engine_messages.h"
#include "os/drop_memory.h"
#include "os/drop_record.h"
#include "os/exact_name.h"
#include "os/mbcs.h"

namespace fileops {
namespace {

constexpr UINT kCodePage = 932;

// The exact conversion of a wide text: false when a character has no form in the code page
// or converts one way only.
bool ExactAnsi(const wchar_t* wide, std::string& out) {
  char buf[2 * MAX_PATH + 2];
  BOOL usedDefault = FALSE;
  const int n = ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, -1, buf,
                                      sizeof(buf), nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return false;
  wchar_t back[2 * MAX_PATH + 2];
  const int m = ::MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, buf, -1, back,
                                      sizeof(back) / sizeof(back[0]));
  if (m <= 0 || std::wcscmp(back, wide) != 0) return false;
  out.assign(buf, n - 1);
  return true;
}

// Whether every name of a full path reaches what it names (os::NameLeadsBack): "Z:\d.\f"
// would reach "Z:\d\f". The drive and the empty parts of a network path's start aside.
bool ComponentsLeadBack(const std::string& path) {
  const char* p = path.c_str();
  if (path.size() >= 2 && path[1] == ':') p += 2;
  std::string part;
  for (;; p = mbcs::Next(p)) {
    if (*p == '\\' || *p == '\0') {
      if (!part.empty() && !os::NameLeadsBack(part.c_str())) return false;
      part.clear();
      if (!*p) return true;
      continue;
    }
    part.append(p, static_cast<std::size_t>(mbcs::Next(p) - p));
  }
}

// A closed global memory lock.
class Locked {
 public:
  explicit Locked(HGLOBAL h) : h_(h), p_(h ? ::GlobalLock(h) : nullptr) {}
  ~Locked() {
    if (p_) ::GlobalUnlock(h_);
  }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
  const void* Data() const { return p_; }

 private:
  HGLOBAL h_;
  void* p_;
};

// What the system says of a handle: live is true only for a global memory block of this
// process (its size asked first: GlobalSize checks the value, GlobalLock then touches it).
ReceivedDropFacts FactsOf(HDROP drop) {
  ReceivedDropFacts facts;
  const HGLOBAL memory = reinterpret_cast<HGLOBAL>(drop);
  if (!memory) return facts;
  switch (os::MadeDrops().StateOf(memory)) {
    case os::MadeDrop::kHeld: facts.made = MadeDropKind::kHeld; break;
    case os::MadeDrop::kPosted: facts.made = MadeDropKind::kPosted; break;
    case os::MadeDrop::kNone: break;
  }
  if (::GlobalFlags(memory) == GMEM_INVALID_HANDLE) return facts;
  facts.size = ::GlobalSize(memory);
  if (facts.size == 0) return facts;
  void* p = ::GlobalLock(memory);
  if (!p) return facts;
  facts.live = ::GlobalHandle(p) == memory;
  ::GlobalUnlock(memory);
  return facts;
}

}  // namespace

bool MayTakeReceivedDrop(HDROP drop) {
  return JudgeReceivedDrop(FactsOf(drop)) == DropVerdict::kTake;
}

void FreeReceivedDrop(HDROP drop) {
  if (MayTakeReceivedDrop(drop)) os::Drops().DragFinish(drop);
}

bool PostDropBlock(HWND target, HGLOBAL block, LPARAM tag) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(target, &process);
  const bool ours = process == ::GetCurrentProcessId();
  if (ours) os::MadeDrops().Posted(block);
  if (!::PostMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(block), tag)) {
    os::MadeDrops().Made(block);
    return false;
  }
  if (!ours) os::MadeDrops().Forget(block);  // the other process's now
  return true;
}

void HeldDrop::Free() {
  if (!drop_) return;
  os::Drops().DragFinish(drop_);
  drop_ = nullptr;
}

bool WidePathToAnsi(const std::u16string& wide, std::string& out) {
  const std::wstring w(wide.begin(), wide.end());
  if (ExactAnsi(w.c_str(), out) && ComponentsLeadBack(out)) return true;
  // The short form is asked for under "\\?\", which the path calls take as it stands: asked
  // for "a." itself, they would answer for its neighbour "a".
  const bool unc = w.size() > 2 && w[0] == L'\\' && w[1] == L'\\';
  const std::wstring prefix = unc ? L"\\\\?\\UNC\\" : L"\\\\?\\";
  const std::wstring asked = prefix + (unc ? w.substr(2) : w);
  wchar_t alias[MAX_PATH + 16];
  const DWORD n = ::GetShortPathNameW(asked.c_str(), alias, MAX_PATH + 16);
  if (n == 0 || n >= MAX_PATH + 16 || std::wcsncmp(alias, prefix.c_str(), prefix.size()) != 0)
    return false;
  const std::wstring shortPath = (unc ? L"\\\\" : L"") + std::wstring(alias + prefix.size());
  return shortPath.size() <= MAX_PATH && ExactAnsi(shortPath.c_str(), out) &&
         ComponentsLeadBack(out);
}

std::string ReadDroppedFiles(HDROP drop, DroppedFiles& out) {
  out = DroppedFiles{};
  if (!MayTakeReceivedDrop(drop)) return DropBlockMessage(DropBlockError::kTooSmall);
  const HGLOBAL memory = reinterpret_cast<HGLOBAL>(drop);
  const SIZE_T size = ::GlobalSize(memory);
  Locked locked(memory);
  DropBlock block;
  const DropBlockError e = ReadDropBlock(locked.Data(), locked.Data() ? size : 0, block);
  if (e != DropBlockError::kNone) return DropBlockMessage(e);
  out.point = {block.x, block.y};
  out.nonClient = block.nonClient;
  if (!block.wide) {
    out.files = std::move(block.ansi);
    return std::string();
  }
  for (const std::u16string& wide : block.widePaths) {
    std::string path;
    if (!WidePathToAnsi(wide, path)) {
      // The name as far as it shows, for the message.
      std::string shown;
      const std::wstring w(wide.begin(), wide.end());
      char buf[2 * MAX_PATH + 2];
      if (::WideCharToMultiByte(kCodePage, 0, w.c_str(), -1, buf, sizeof(buf), nullptr,
                                nullptr) > 0)
        shown = buf;
      out.files.clear();
      return NoUsableNameMessage(shown.c_str());
    }
    if (path.size() > kMaxDroppedPath) {
      out.files.clear();
      return DropBlockMessage(DropBlockError::kPathTooLong);
    }
    if (!IsFullDroppedPath(path)) {
      out.files.clear();
      return DropBlockMessage(DropBlockError::kNotFullPath);
    }
    out.files.push_back(std::move(path));
  }
  return std::string();
}

}  // namespace fileops
