// What the program knows about itself: fixed once at start-up, before any window exists, and
// read everywhere. Nothing here changes while a window lives (what does belongs to the
// application object).
#pragma once
#include <cstdint>
#include <string>

namespace config {

// The class name of the program's top-level windows (and its panes); windows of the program
// find one another by it.
inline constexpr const char* kWindowClass = "Sorumo32";

struct ProgramContext {
  std::string programPath;             // full path of the program file (GetModuleFileNameA)
  std::string configFilePath;          // full path of sorm.cfg (at most 259 bytes)
  bool configPathFromRegistry = false;
  std::string lockFilePath;            // directory of programPath + "smlock"
  std::string helpFilePath;            // directory of programPath + "sorm32.hlp"
  int instanceNumber = 0;              // 0 launcher, -1 new window, n numbered instance
  uint32_t windowsMajorVersion = 4;
};

// The context in force.
const ProgramContext& Context();

// Sets the context: once at start-up (the program's entry and benchmark drivers).
void SetContext(const ProgramContext& context);

// A context for the length of a scope (tests); the previous one comes back at its end.
class ScopedContext {
 public:
  explicit ScopedContext(const ProgramContext& context);
  ~ScopedContext();
  ScopedContext(const ScopedContext&) = delete;
  ScopedContext& operator=(const ScopedContext&) = delete;

 private:
  ProgramContext saved_;
};

}  // namespace config
