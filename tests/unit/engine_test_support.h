// Stand-ins for the windows the engine talks to (a progress dialog that records what it was
// told, question dialogs that answer from a script, a pump that counts its runs and can press
// Cancel), and helpers to make and read small file trees through the OS layer.
//
// A test declares the stand-ins it needs in its scope and passes Ui() to the engine: Ui() is
// the OperationUi a command would build from exactly those dialogs (the innermost of each
// kind). The engine itself only ever sees the OperationUi it is given.
#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include "fileops/engine.h"
#include "os/services.h"
#include "tests/unit/test_util.h"

namespace enginetest {

// The dialogs of the test's scope, as a command would hand them to the engine.
fileops::OperationUi Ui();

namespace detail {
fileops::OperationUi& InScope();
// Puts a stand-in into its slot of InScope() for its lifetime.
template <typename T>
class InScopeSlot {
 public:
  InScopeSlot(T*& slot, T* self) : slot_(slot), saved_(slot) { slot_ = self; }
  ~InScopeSlot() { slot_ = saved_; }
  InScopeSlot(const InScopeSlot&) = delete;
  InScopeSlot& operator=(const InScopeSlot&) = delete;

 private:
  T*& slot_;
  T* saved_;
};
}  // namespace detail

class RecordingProgress : public fileops::ProgressDialog {
 public:
  RecordingProgress() : inScope_(detail::InScope().progress, this) {}
  void SetText(int control, const char* text) override {
    texts[control] = text;
    log.emplace_back(control, text);
  }
  void SetGaugeRange(int low, int high) override {
    gaugeLow = low;
    gaugeHigh = high;
  }
  void SetGauge(int value) override { gauges.push_back(value); }
  bool IsCancelDisabled() override { return cancelDisabled; }
  void DisableCancel() override { cancelDisabled = true; }

  // Every text ever written to control, in order.
  std::vector<std::string> TextsOf(int control) const {
    std::vector<std::string> out;
    for (const auto& e : log)
      if (e.first == control) out.push_back(e.second);
    return out;
  }

  std::map<int, std::string> texts;
  std::vector<std::pair<int, std::string>> log;
  int gaugeLow = -1, gaugeHigh = -1;
  std::vector<int> gauges;
  bool cancelDisabled = false;

 private:
  detail::InScopeSlot<fileops::ProgressDialog> inScope_;
};

// Answers from a script; a question beyond the script fails the test and cancels.
template <typename Base, int kCancel>
class ScriptedQuestion : public Base {
 public:
  explicit ScriptedQuestion(std::deque<int> script = {})
      : script(std::move(script)), inScope_(Slot(), this) {}
  int Show(const char* name) override {
    asked.push_back(name);
    if (script.empty()) {
      ADD_FAILURE() << "unexpected question about " << name;
      return kCancel;
    }
    int answer = script.front();
    script.pop_front();
    return answer;
  }
  std::deque<int> script;
  std::vector<std::string> asked;

 private:
  static Base*& Slot() {
    if constexpr (std::is_same_v<Base, fileops::OverwriteDialog>)
      return detail::InScope().overwrite;
    else
      return detail::InScope().readOnly;
  }
  detail::InScopeSlot<Base> inScope_;
};
using ScriptedOverwrite = ScriptedQuestion<fileops::OverwriteDialog, fileops::kOverwriteCancel>;
using ScriptedReadOnly = ScriptedQuestion<fileops::ReadOnlyDialog, fileops::kReadOnlyCancel>;

// A pump registered for its lifetime; onRun sees the number of the run (1, 2, ...).
class CountingPump : public fileops::OperationPump {
 public:
  CountingPump() : saved_(fileops::SetOperationPump(this)) {}
  ~CountingPump() override { fileops::SetOperationPump(saved_); }
  void Run() override {
    ++runs;
    if (onRun) onRun(runs);
  }
  // Presses the progress dialog's Cancel during run number n.
  void CancelAtRun(int n, fileops::ProgressDialog& progress) {
    onRun = [n, &progress](int run) {
      if (run == n) progress.DisableCancel();
    };
  }
  int runs = 0;
  std::function<void(int)> onRun;

 private:
  fileops::OperationPump* saved_;
};

// Puts the process's current directory back as it was when it goes.
class CwdGuard {
 public:
  CwdGuard() {
    char buf[os::kMaxPath];
    uint32_t n = os::Fs().GetCurrentDir(buf, sizeof(buf));
    saved_.assign(buf, n < sizeof(buf) ? n : 0);
  }
  ~CwdGuard() { os::Fs().SetCurrentDir(saved_.c_str()); }

 private:
  std::string saved_;
};

// Bytes of a given length that differ from file to file (seeded), so a mixed-up or partial
// copy never looks right.
std::string Pattern(std::size_t size, unsigned seed);

// Makes each file (relative path -> content) below dir, which ends in a backslash; dir and
// the directories named in the paths are made.
void MakeFiles(const std::string& dir, const std::map<std::string, std::string>& files);
// Every file below dir, relative path (with "\") -> content.
std::map<std::string, std::string> ReadTree(const std::string& dir);
// What differs between two trees, one line per file; empty when they are equal. (Comparing the
// maps directly would print whole files when they differ.)
std::string Diff(const std::map<std::string, std::string>& actual,
                 const std::map<std::string, std::string>& expected);
#define EXPECT_TREE(actual, expected) EXPECT_EQ(enginetest::Diff((actual), (expected)), "")
// Every entry name below dir that looks like one of the engine's temporary files.
std::vector<std::string> TemporaryFiles(const std::string& dir);
bool IsTemporaryName(const std::string& leaf);
// Makes link a symbolic link to the directory target (both Windows paths); false where the
// system cannot make one.
bool MakeDirectoryLink(const std::string& link, const std::string& target);
// Removes such a link itself (nothing when path is no link).
void RemoveDirectoryLink(const std::string& link);
// Makes link a symbolic link to the file target (a relative target is taken as the link's
// host system takes it: from the link's directory); false where the system cannot make one.
bool MakeFileLink(const std::string& link, const std::string& target);
// Removes such a link itself, never what it leads to (nothing when path is no file link).
void RemoveFileLink(const std::string& link);
#ifdef _WIN32
// The host path of a Windows path under Wine; empty elsewhere, or when it holds a blank.
std::string UnixName(const std::string& path);
// Runs a program of the host (Wine starts Unix programs too), then waits up to five seconds
// for done to hold: the wait on such a process returns before it has run.
bool RunHostCommand(std::string command, const std::function<bool()>& done);
#endif
// Sets a file's last-write time (100 ns units since 1601).
bool SetWriteTime(const std::string& path, os::FileTime t);
os::FileTime WriteTime(const std::string& path);
// 2020-01-01 00:00:00 UTC plus the given seconds.
os::FileTime TimeAt(int64_t seconds);

}  // namespace enginetest
