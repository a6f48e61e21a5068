// What the process does when memory runs out: it tells the user and ends, instead of ending
// without a word or going on with half-built objects.
#pragma once
#include <functional>

namespace app {

// The exit code of a process ended for lack of memory (the code abort() ends with).
inline constexpr int kOutOfMemoryExitCode = 3;

struct OutOfMemoryActions {
  void (*report)() = nullptr;           // shows OutOfMemoryText() with the caption "Sorm"
  void (*end)(int exitCode) = nullptr;  // ends the process; in the program it does not return
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
