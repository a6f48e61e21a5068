#include "fileops/drop_handle_win.h"

#include <cwchar>

#include "fileops/drop_block.h"
#include "fileops/engine_messages.h"
#include "os/drop_memory.h"
#include "os/drop_record.h"
#include "os/exact_name.h"
#include "os/mbcs.h"
#include "os/win32/wide_path.h"

namespace fileops {
namespace {

constexpr UINT kCodePage = 932;

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
  return os::WidePathToAnsi(std::wstring(wide.begin(), wide.end()), out);
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
