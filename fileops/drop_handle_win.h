// A drop block (HDROP) held by the code that must free it, and reading one. A block is freed
// exactly once: by the WM_DROPFILES handler that received it (whether our own drop target or
// another program posted it), by the data object that made it while it still owns it, or by
// whoever refuses it. Handing it on (posting it) releases the hold.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace fileops {

class HeldDrop {
 public:
  explicit HeldDrop(HDROP drop = nullptr) : drop_(drop) {}
  ~HeldDrop() { Free(); }
  HeldDrop(HeldDrop&& other) noexcept : drop_(other.Release()) {}
  HeldDrop& operator=(HeldDrop&&) = delete;
  HeldDrop(const HeldDrop&) = delete;
  HeldDrop& operator=(const HeldDrop&) = delete;

  HDROP Get() const { return drop_; }
  // The block is someone else's now (posted with WM_DROPFILES).
  HDROP Release() {
    HDROP h = drop_;
    drop_ = nullptr;
    return h;
  }
  // DragFinish, once.
  void Free();

 private:
  HDROP drop_;
};

// Whether the handle a WM_DROPFILES brought may be read and freed here
// (fileops::JudgeReceivedDrop over what GlobalSize, GlobalLock and GlobalHandle say of it and
// over os::MadeDrops()). A refused handle is never read, locked beyond the check or freed.
bool MayTakeReceivedDrop(HDROP drop);
// The block a WM_DROPFILES brought, freed when it may be (a drop refused while a command runs).
void FreeReceivedDrop(HDROP drop);
// Posts a block this process made as a WM_DROPFILES; a window of this process gets it
// recorded as posted, another process's as given away. False when nothing was posted (the
// block is still the caller's).
bool PostDropBlock(HWND target, HGLOBAL block, LPARAM tag);

// What a drop block holds, as full ANSI paths ready for the file calls.
struct DroppedFiles {
  std::vector<std::string> files;
  POINT point{0, 0};  // client coordinates of the window the block was posted to
  bool nonClient = false;
};

// Reads a block without trusting it (fileops/drop_block.h): its size is the memory's own, wide
// paths are converted to code page 932, and a name the code page cannot hold is taken by its
// short alias. Empty on success, else the message to show; then out holds no file.
std::string ReadDroppedFiles(HDROP drop, DroppedFiles& out);

// A wide path as ANSI: the exact conversion, else its short form's conversion (also where a
// name of the path would be rewritten, "a." read as "a"); false when neither leads back to
// the file.
bool WidePathToAnsi(const std::u16string& wide, std::string& out);

}  // namespace fileops
