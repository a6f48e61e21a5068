// One key press in a file table of 100 entries against one in 100,000: the cursor move with
// the redraw and scroll requests it makes, and the toggle of one entry. Both must cost the
// same (within 1.2x) whatever the length of the list.
//   cursor_bench [host directory for the test data]   (default /tmp/sorm_cursor_bench)
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/table_bench_common.h"
#include "os/posix/path_map.h"
#include "table/key_actions.h"
#include "table/cursor_move.h"
#include "table/key_binding.h"
#include "table/sorm.h"

namespace {

class FixedMeasurer : public table::TextMeasurer {
 public:
  table::TextExtent Measure(const char*, std::size_t len) override {
    return table::TextExtent{static_cast<int32_t>(len) * 7, 13};
  }
};

// Keeps what a pane would be asked to draw, and scrolls the table's origin as a pane does.
class CountingSurface : public table::PaneSurface {
 public:
  explicit CountingSurface(table::Sorm& t, table::ClientSize client) : t_(t), client_(client) {}
  void RedrawEntry(const table::BINFO* e) override {
    drawn_.push_back(e);
    ++redraws;
  }
  void RepaintAll() override { ++repaints; }
  bool ScrollStep(int kind, int32_t position) override {
    ++scrolls;
    const table::LayoutMetrics& m = t_.metrics();
    const bool list = t_.listMode();
    table::Point o = t_.origin();
    table::ScrollMove mv = table::ComputeScroll(
        kind, position, list ? o.x : o.y, list ? t_.extentWidth() : t_.extentHeight(),
        list ? client_.width : client_.height, list ? m.cellWidth : m.cellHeight, m.linesPerPage);
    if (!mv.moves) return false;
    (list ? o.x : o.y) = mv.origin;
    t_.SetOrigin(o);
    return true;
  }
  void Clear() { drawn_.clear(); }
  long redraws = 0, repaints = 0, scrolls = 0;

 private:
  table::Sorm& t_;
  table::ClientSize client_;
  std::vector<const table::BINFO*> drawn_;
};

using tablebench::NowMs;

// Empty files, made with the host's calls: the key handling never reads them, and making a
// hundred thousand through the emulation's case-blind name resolution takes far longer.
void MakeFiles(const std::string& dir, long count) {
  os::Fs().CreateDir(dir.c_str());
  if (tablebench::CountEntries(dir) == count + 2) return;
  std::printf("creating %ld files in %s ...\n", count, dir.c_str());
  std::fflush(stdout);
  const std::string host = os::posix::ToHostPath(dir.c_str());
  for (long i = 0; i < count; ++i) {
    char name[64];
    std::snprintf(name, sizeof(name), "/file_%06ld.txt", i);
    int fd = ::open((host + name).c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd < 0) {
      std::printf("cannot create %s\n", name);
      std::exit(1);
    }
    ::close(fd);
  }
}

struct Figures {
  double moveUs = 0;    // one movement key press
  double toggleUs = 0;  // one Space press
  double redrawsPerKey = 0;
};

// From an entry in the middle of the list, shown at the top of the view, presses Down three
// times and Up three times over and over: the same moves in either list.
Figures Measure(const std::string& dir, bool listMode) {
  config::WriteConfigString("INST1", "vmode", listMode ? "1" : "0");
  config::WriteConfigString("INST1", "Path", dir.c_str());
  config::WriteConfigString("INST1", "Mask", "*.*");
  FixedMeasurer measurer;
  tablebench::BenchView view(measurer);
  table::Sorm t(view, 1);
  CountingSurface surface(t, view.client);
  table::KeyBindings keys;
  keys.Bind({40, 0, table::kActionFirstMove + 5, ""});
  keys.Bind({38, 0, table::kActionFirstMove + 2, ""});
  keys.Bind({32, 0, table::kActionToggle, ""});
  table::KeyboardState keyboard;

  const int32_t middle = t.EntryCount() / 2;
  const int kRounds = 3000, kStepsEachWay = 3;
  std::vector<double> moveRuns, toggleRuns;
  for (int run = 0; run < 7; ++run) {
    t.SetCursor(t.EntryAt(middle));
    surface.ScrollStep(table::kThumbTrack, table::LineOf(middle, t.metrics().perLine));
    const long redrawsBefore = surface.redraws;
    double start = NowMs();
    for (int r = 0; r < kRounds; ++r) {
      for (int i = 0; i < kStepsEachWay; ++i) table::OnKey(keys, keyboard, &t, &surface, 40, 0);
      for (int i = 0; i < kStepsEachWay; ++i) table::OnKey(keys, keyboard, &t, &surface, 38, 0);
      surface.Clear();
    }
    const double presses = 2.0 * kRounds * kStepsEachWay;
    moveRuns.push_back((NowMs() - start) * 1000.0 / presses);
    if (run == 0)
      std::printf("    %.2f redraw requests per movement key\n",
                  (surface.redraws - redrawsBefore) / presses);

    start = NowMs();
    for (int r = 0; r < kRounds * kStepsEachWay; ++r) {
      table::OnKey(keys, keyboard, &t, &surface, 32, 0);
      surface.Clear();
    }
    toggleRuns.push_back((NowMs() - start) * 1000.0 / (kRounds * kStepsEachWay));
  }
  std::sort(moveRuns.begin(), moveRuns.end());
  std::sort(toggleRuns.begin(), toggleRuns.end());
  return Figures{moveRuns[moveRuns.size() / 2], toggleRuns[toggleRuns.size() / 2], 0};
}

}  // namespace

int main(int argc, char** argv) {
  const std::string root = os::posix::ToWinPath(argc > 1 ? argv[1] : "/tmp/sorm_cursor_bench");
  os::Fs().CreateDir(root.c_str());
  config::ProgramContext context = config::Context();
  context.configFilePath = root + "\\sorm.cfg";
  config::SetContext(context);
  const std::string small = root + "\\n100";
  const std::string large = root + "\\n100000";
  MakeFiles(small, 100);
  MakeFiles(large, 100000);

  bool ok = true;
  for (bool listMode : {false, true}) {
    std::printf("\n== %s mode\n", listMode ? "list" : "icon");
    std::printf("  100 entries:\n");
    Figures a = Measure(small, listMode);
    std::printf("  100,000 entries:\n");
    Figures b = Measure(large, listMode);
    const double moveRatio = b.moveUs / a.moveUs;
    const double toggleRatio = b.toggleUs / a.toggleUs;
    std::printf("  movement key: %.3f us at 100, %.3f us at 100,000: ratio %.2f (limit 1.20) %s\n",
                a.moveUs, b.moveUs, moveRatio, moveRatio <= 1.2 ? "ok" : "OVER");
    std::printf("  Space (toggle): %.3f us at 100, %.3f us at 100,000: ratio %.2f (limit 1.20) %s\n",
                a.toggleUs, b.toggleUs, toggleRatio, toggleRatio <= 1.2 ? "ok" : "OVER");
    ok = ok && moveRatio <= 1.2 && toggleRatio <= 1.2;
  }
  return ok ? 0 : 1;
}
