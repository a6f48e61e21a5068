// What the process does when memory runs out: it tells the user and ends, instead of ending
// without a word or going on with half-built objects.
#pragma once
#include <functional>
#include <thread>

namespace app {

// The exit code of a process ended for lack of memory (the code abort() ends with).
inline constexpr int kOutOfMemoryExitCode = 3;

struct OutOfMemoryActions {
  // Shows OutOfMemoryText() with the caption "Sorm" and no owner: before the window exists, or
  // where its table's error box cannot be used.
  void (*report)() = nullptr;
  void (*end)(int exitCode) = nullptr;  // ends the process; in the program it does not return
};

// While it lives, the message of an allocation that fails on the thread that made it (the
// window's) goes to show (the table's error box: the frame brought to the front, caption
// "ソルモ") in place of OutOfMemoryActions::report. A failure on any other thread (the icon
// loader, whose window waits for it) is reported through report. The last one made is in force;
// its end puts the one before back.
class TableErrorBoxForMemory {
 public:
  using Show = void (*)(const char* text, void* context);
  TableErrorBoxForMemory(Show show, void* context);
  ~TableErrorBoxForMemory();
  TableErrorBoxForMemory(const TableErrorBoxForMemory&) = delete;
  TableErrorBoxForMemory& operator=(const TableErrorBoxForMemory&) = delete;

  // Shows text in this box when the calling thread made it; false otherwise.
  bool ShowHere(const char* text) const;

 private:
  Show show_;
  void* context_;
  std::thread::id thread_;
  TableErrorBoxForMemory* previous_;
};

// "内部メモリ確保エラー : 強制終了します"
const char* OutOfMemoryText();

// Makes every failing operator new report and end through actions (std::set_new_handler).
// Should end return, the allocation fails with std::bad_alloc as without a handler. A report
// that runs out of memory itself is not tried a second time.
void InstallOutOfMemoryHandler(const OutOfMemoryActions& actions);

// Runs run and returns its result; an allocation failure that escapes it (std::bad_alloc) is
// reported and gives kOutOfMemoryExitCode.
int RunReportingOutOfMemory(const std::function<int()>& run, const OutOfMemoryActions& actions);

}  // namespace app
