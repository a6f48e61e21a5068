// The handle a WM_DROPFILES brings, against the real system (Windows builds only): a value
// that is no live global memory block of this process (another process's handle, a freed one,
// an address) is neither read nor freed, and a message carrying one does no harm.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "fileops/drop_block.h"
#include "fileops/drop_handle_win.h"
#include "os/drop_memory.h"
#include "os/drop_record.h"

namespace {

using namespace fileops;

class CountingFrees final : public os::DropMemory {
 public:
  void DragFinish(void* drop) override {
    ++frees[drop];
    ::GlobalFree(drop);
  }
  void GlobalFree(void* memory) override {
    ++frees[memory];
    ::GlobalFree(memory);
  }
  std::map<void*, int> frees;
};

HGLOBAL Block(UINT flags) {
  const std::string list = JoinDropPaths({"C:\\a.txt"});
  HGLOBAL h = ::GlobalAlloc(flags | GMEM_ZEROINIT, DropBlockSize(list));
  void* p = ::GlobalLock(h);
  WriteDropBlock(static_cast<uint8_t*>(p), DropBlockSize(list), list, 0, 0, false);
  ::GlobalUnlock(h);
  return h;
}

TEST(DropHandleTest, ValuesThatAreNoBlockOfOursAreNeitherReadNorFreed) {
  HGLOBAL freed = Block(GMEM_MOVEABLE);
  ::GlobalFree(freed);
  HGLOBAL fixed = Block(GMEM_FIXED);
  int onStack = 0;
  struct Case {
    const char* what;
    HDROP value;
  } cases[] = {
      {"a small number", reinterpret_cast<HDROP>(static_cast<uintptr_t>(0x1234))},
      {"an unmapped address", reinterpret_cast<HDROP>(static_cast<uintptr_t>(0x00010000))},
      {"an odd number", reinterpret_cast<HDROP>(static_cast<uintptr_t>(0x12345679))},
      {"a mapped address outside the heap",
       reinterpret_cast<HDROP>(static_cast<uintptr_t>(0x7FFE0000))},
      {"a freed handle", reinterpret_cast<HDROP>(freed)},
      {"inside a block", reinterpret_cast<HDROP>(static_cast<char*>(fixed) + 8)},
      {"the stack", reinterpret_cast<HDROP>(&onStack)},
  };
  CountingFrees counts;
  os::ScopedDropMemory scoped(counts);
  for (const Case& c : cases) {
    EXPECT_FALSE(MayTakeReceivedDrop(c.value)) << c.what;
    DroppedFiles files;
    EXPECT_NE(ReadDroppedFiles(c.value, files), "") << c.what;
    EXPECT_TRUE(files.files.empty()) << c.what;
    FreeReceivedDrop(c.value);
  }
  EXPECT_TRUE(counts.frees.empty());
  ::GlobalFree(fixed);
}

TEST(DropHandleTest, LiveBlocksByWhoMadeThem) {
  struct Case {
    const char* what;
    UINT flags;
    os::MadeDrop made;
    bool taken;
  } cases[] = {
      {"the shell's movable block", GMEM_MOVEABLE, os::MadeDrop::kNone, true},
      {"a fixed block of this process", GMEM_FIXED, os::MadeDrop::kNone, true},
      {"ours, posted to ourselves", GMEM_MOVEABLE | GMEM_DDESHARE, os::MadeDrop::kPosted, true},
      {"ours, still held by its maker", GMEM_MOVEABLE | GMEM_DDESHARE, os::MadeDrop::kHeld,
       false},
  };
  for (const Case& c : cases) {
    CountingFrees counts;
    os::ScopedDropMemory scoped(counts);
    HGLOBAL h = Block(c.flags);
    if (c.made == os::MadeDrop::kHeld) os::MadeDrops().Made(h);
    if (c.made == os::MadeDrop::kPosted) os::MadeDrops().Posted(h);
    EXPECT_EQ(MayTakeReceivedDrop(reinterpret_cast<HDROP>(h)), c.taken) << c.what;
    DroppedFiles files;
    EXPECT_EQ(ReadDroppedFiles(reinterpret_cast<HDROP>(h), files).empty(), c.taken) << c.what;
    EXPECT_EQ(files.files.size(), c.taken ? 1u : 0u) << c.what;
    FreeReceivedDrop(reinterpret_cast<HDROP>(h));
    EXPECT_EQ(counts.frees[h], c.taken ? 1 : 0) << c.what;
    os::MadeDrops().Forget(h);
    if (!c.taken) ::GlobalFree(h);
  }
}

// A window that treats WM_DROPFILES as the panes do before anything else: read the block, then
// free it if it may be freed.
LRESULT CALLBACK DropProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DROPFILES) {
    DroppedFiles files;
    const std::string refusal = ReadDroppedFiles(reinterpret_cast<HDROP>(wp), files);
    FreeReceivedDrop(reinterpret_cast<HDROP>(wp));
    return refusal.empty() ? 1 : 2;
  }
  return ::DefWindowProcA(w, msg, wp, lp);
}

TEST(DropHandleTest, MessageWithABogusHandleIsRefusedWithoutAFree) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DropProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = "SormDropHandleTest";
  ::RegisterClassA(&wc);
  HWND w = ::CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 10, 10, nullptr, nullptr,
                           wc.hInstance, nullptr);
  ASSERT_NE(w, nullptr);
  CountingFrees counts;
  os::ScopedDropMemory scoped(counts);
  const uintptr_t bogus[] = {0x1234, 0x00010000, 0x7FFE0000, 0xDEADBEE0};
  for (uintptr_t v : bogus)
    EXPECT_EQ(::SendMessageA(w, WM_DROPFILES, static_cast<WPARAM>(v), 0), 2) << v;
  EXPECT_TRUE(counts.frees.empty());
  // A real block of this process is read and freed once.
  HGLOBAL h = Block(GMEM_MOVEABLE);
  EXPECT_EQ(::SendMessageA(w, WM_DROPFILES, reinterpret_cast<WPARAM>(h), 0), 1);
  EXPECT_EQ(counts.frees[h], 1);
  ::DestroyWindow(w);
}

}  // namespace
#endif  // _WIN32
