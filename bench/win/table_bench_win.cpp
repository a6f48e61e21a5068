// File table timings under Windows (or Wine) against a bare FindFirstFileA / FindNextFileA loop
// over the same directory, and the cost of measuring the names with GDI.
//   table_bench_win.exe [directory for the test data] > result.txt
// (default Z:\tmp\sorm_table_bench, where the native benchmark makes the same 100,000 files
// much faster than Wine can, whose file creation slows down with the size of the directory;
// the Japanese names are made here, in code page 932 through the system.)
#include <windows.h>

#include "bench/win/bare_enumeration.h"
#include "bench/table_bench_common.h"

namespace {

// Measures with a fixed width per byte, or with GDI (GetTextExtentPoint32A on a memory device
// context holding a 12-pixel "ＭＳ ゴシック" font) once gdi is switched on.
class BenchMeasurer : public table::TextMeasurer {
 public:
  ~BenchMeasurer() override {
    if (dc_) {
      ::SelectObject(dc_, old_);
      ::DeleteObject(font_);
      ::DeleteDC(dc_);
    }
  }
  table::TextExtent Measure(const char* text, std::size_t len) override {
    ++calls;
    if (!gdi) return table::TextExtent{static_cast<int32_t>(len) * 7, 13};
    if (!dc_) {
      dc_ = ::CreateCompatibleDC(nullptr);
      LOGFONTA lf{};
      lf.lfHeight = -12;
      lf.lfCharSet = SHIFTJIS_CHARSET;
      lstrcpynA(lf.lfFaceName, "ＭＳ ゴシック", LF_FACESIZE);
      font_ = ::CreateFontIndirectA(&lf);
      old_ = ::SelectObject(dc_, font_);
    }
    SIZE size{};
    ::GetTextExtentPoint32A(dc_, text, static_cast<int>(len), &size);
    return table::TextExtent{size.cx, size.cy};
  }
  bool gdi = false;
  long calls = 0;

 private:
  HDC dc_ = nullptr;
  HFONT font_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// Private bytes of the process (K32GetProcessMemoryInfo, found at run time so that no import
// library is needed).
size_t PrivateBytes() {
  struct Counters {
    DWORD cb;
    DWORD PageFaultCount;
    SIZE_T PeakWorkingSetSize, WorkingSetSize, QuotaPeakPagedPoolUsage, QuotaPagedPoolUsage,
        QuotaPeakNonPagedPoolUsage, QuotaNonPagedPoolUsage, PagefileUsage, PeakPagefileUsage,
        PrivateUsage;
  } c{};
  c.cb = sizeof(c);
  using Fn = BOOL(WINAPI*)(HANDLE, void*, DWORD);
  static Fn fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"),
                                               "K32GetProcessMemoryInfo")));
  if (!fn || !fn(::GetCurrentProcess(), &c, sizeof(c))) return 0;
  return c.PrivateUsage ? c.PrivateUsage : c.PagefileUsage;
}

}  // namespace

int main(int argc, char** argv) {
  BenchMeasurer measurer;
  tablebench::Host host;
  host.bareName = "bare FindFirstFileA / FindNextFileA";
  host.bareEnumerate = BareEnumeration;
  host.heapInUse = PrivateBytes;
  host.measurer = &measurer;
  host.measureCalls = [&] { return measurer.calls; };
  host.afterRun = [&](table::Sorm& t) {
    measurer.gdi = true;
    t.SetViewMode(table::kIconMode);
    t.SetViewInfo(0);
    t.TextMetricsChanged();
    double start = tablebench::NowMs();
    t.Layout();
    std::printf("  icon layout measuring every name with GetTextExtentPoint32A: %.1f ms\n",
                tablebench::NowMs() - start);
    measurer.gdi = false;
    t.TextMetricsChanged();
  };
  // A first argument that names a file (the benchmark script passes the program) is not a
  // place for the data. The Japanese names are made through the system, in its code page,
  // apart from the native benchmark's.
  std::string base = "Z:\\tmp\\sorm_table_bench";
  if (argc > 1) {
    uint32_t a = os::Fs().GetAttributes(argv[1]);
    if (a == os::kInvalidAttributes || (a & os::kAttrDirectory)) base = argv[1];
  }
  tablebench::RunAll(host, base, "japanese10k_win");
  return 0;
}
