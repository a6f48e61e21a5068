// Start-up time of a window process: from process start until its message loop is idle with
// its window shown, for SORM32.EXE (an instance with its own configuration) and for a bare
// one-window program, alternated in the same run. Prints the medians and their ratio.
// With a directory as fourth argument it also opens that directory (a large one: 100,000 files)
// and compares the time to the first complete paint with a bare FindFirstFileA enumeration of
// the directory plus the bare window's start-up (five rounds unless a fifth argument says more).
// Each figure comes with its spread: the lowest and highest run and the quartiles.
//   startup_bench.exe <SORM32.EXE> <bare_window.exe> [rounds] [directory] [directory rounds]
#include <windows.h>

#include "bench/win/process_window.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "os/clock.h"

namespace {

// Milliseconds until the process is idle with a visible top-level window; -1 on failure.
double StartOnce(const std::string& commandLine, const std::string& dir) {
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  uint64_t t0 = os::MonotonicMicros();
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                        &si, &pi))
    return -1;
  ::WaitForInputIdle(pi.hProcess, 30000);
  HWND found = nullptr;
  while (!(found = bench::VisibleWindowOf(pi.dwProcessId)) &&
         os::MonotonicMicros() - t0 < 30000000)
    ::Sleep(1);
  double ms = (os::MonotonicMicros() - t0) / 1000.0;
  if (found) ::PostMessageA(found, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 1);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return found ? ms : -1;
}

// Milliseconds to enumerate a directory with FindFirstFileA/FindNextFileA; the entry count in n.
double Enumerate(const std::string& dir, long* n) {
  WIN32_FIND_DATAA fd;
  uint64_t t0 = os::MonotonicMicros();
  HANDLE h = ::FindFirstFileA((dir + "\\*.*").c_str(), &fd);
  long count = 0;
  if (h != INVALID_HANDLE_VALUE) {
    do ++count;
    while (::FindNextFileA(h, &fd));
    ::FindClose(h);
  }
  *n = count;
  return (os::MonotonicMicros() - t0) / 1000.0;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// The first (q = 1) or third (q = 3) quartile of a series.
double Quartile(std::vector<double> v, int q) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[(q * v.size()) / 4];
}

// "min q1-q3 max" of a series, for judging the medians on a busy machine.
std::string Spread(std::vector<double> v) {
  if (v.empty()) return "no runs";
  std::sort(v.begin(), v.end());
  char text[96];
  std::snprintf(text, sizeof(text), "%.0f [%.0f-%.0f] %.0f", v.front(), Quartile(v, 1),
                Quartile(v, 3), v.back());
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench SORM32.EXE bare_window.exe [rounds] [directory] [directory rounds]\n");
    return 2;
  }
  int rounds = argc > 3 ? std::atoi(argv[3]) : 15;
  char temp[MAX_PATH];
  ::GetTempPathA(sizeof(temp), temp);
  std::string dir = std::string(temp) + "sorm_startup_bench";
  ::CreateDirectoryA(dir.c_str(), nullptr);
  std::string exe = dir + "\\SORM32.EXE";
  ::CopyFileA(argv[1], exe.c_str(), FALSE);
  std::string cfg = dir + "\\sorm.cfg";
  ::DeleteFileA(cfg.c_str());
  // A window as a user first meets it: the shipped default settings (its toolbar) when they
  // sit beside the program.
  std::string defaults(argv[1]);
  size_t slash = defaults.find_last_of("\\/");
  defaults = (slash == std::string::npos ? std::string() : defaults.substr(0, slash + 1)) +
             "sormdef.cfg";
  const bool withDefaults = ::CopyFileA(defaults.c_str(), cfg.c_str(), FALSE) != FALSE;
  std::printf("settings: %s\n", withDefaults ? "the shipped defaults" : "none (no sormdef.cfg)");
  ::WritePrivateProfileStringA("INST1", "Placement", "40;40;420;300;-1;-1;-1;-1", cfg.c_str());
  // Keep the closing window from saving itself, so every round starts from the same file.
  ::WritePrivateProfileStringA("INSTID", "ID", "5", cfg.c_str());
  // SORM_BENCH_INI="Section/Key=Value;..." adds settings, to find which part of the start-up
  // costs what (for example INST1/ToolBarDisp=Off).
  if (const char* extra = std::getenv("SORM_BENCH_INI")) {
    std::string all(extra);
    for (size_t start = 0; start < all.size();) {
      size_t end = all.find(';', start);
      if (end == std::string::npos) end = all.size();
      std::string item = all.substr(start, end - start);
      size_t slash = item.find('/'), eq = item.find('=');
      if (slash != std::string::npos && eq != std::string::npos && slash < eq)
        ::WritePrivateProfileStringA(item.substr(0, slash).c_str(),
                                     item.substr(slash + 1, eq - slash - 1).c_str(),
                                     item.substr(eq + 1).c_str(), cfg.c_str());
      start = end + 1;
    }
  }

  std::vector<double> sorm, bare, paired;
  StartOnce("\"" + exe + "\" -CFGID 1", dir);  // warm the caches once for both
  StartOnce(std::string("\"") + argv[2] + "\"", dir);
  for (int i = 0; i < rounds; ++i) {
    double s = StartOnce("\"" + exe + "\" -CFGID 1", dir);
    double b = StartOnce(std::string("\"") + argv[2] + "\"", dir);
    if (s > 0) sorm.push_back(s);
    if (b > 0) bare.push_back(b);
    if (s > 0 && b > 0) paired.push_back(s / b);
  }
  double ms = Median(sorm), mb = Median(bare);
  std::printf("startup: SORM32.EXE median %.1f ms, bare window median %.1f ms, ratio %.2f (%d rounds)\n",
              ms, mb, mb > 0 ? ms / mb : 0.0, rounds);
  std::printf("  spread (ms, min [quartiles] max): SORM32.EXE %s, bare window %s\n",
              Spread(sorm).c_str(), Spread(bare).c_str());
  // Each round's two runs follow each other, so their ratio meets one load of the machine.
  std::printf("  ratio of each round: median %.2f, quartiles %.2f-%.2f\n", Median(paired),
              Quartile(paired, 1), Quartile(paired, 3));

  if (argc > 4) {
    // The window opens the large directory in icon mode; the instance section names it.
    ::WritePrivateProfileStringA("INST1", "Path", argv[4], cfg.c_str());
    ::WritePrivateProfileStringA("INST1", "vmode", "0", cfg.c_str());
    std::vector<double> open, base, pairedOpen;
    long n = 0;
    int bigRounds = argc > 5 ? std::atoi(argv[5]) : (rounds < 5 ? rounds : 5);
    for (int i = 0; i < bigRounds; ++i) {
      double s = StartOnce("\"" + exe + "\" -CFGID 1", dir);
      double e = Enumerate(argv[4], &n);
      double b = StartOnce(std::string("\"") + argv[2] + "\"", dir);
      if (s > 0) open.push_back(s);
      if (e > 0 && b > 0) base.push_back(e + b);
      if (s > 0 && e > 0 && b > 0) pairedOpen.push_back(s / (e + b));
    }
    double mo = Median(open), mbase = Median(base);
    std::printf("open %ld entries: SORM32.EXE first paint median %.1f ms, bare enumeration + bare window "
                "median %.1f ms, ratio %.2f (%d rounds)\n",
                n, mo, mbase, mbase > 0 ? mo / mbase : 0.0, bigRounds);
    std::printf("  spread (ms, min [quartiles] max): SORM32.EXE %s, bare %s\n", Spread(open).c_str(),
                Spread(base).c_str());
    std::printf("  ratio of each round: median %.2f, quartiles %.2f-%.2f\n", Median(pairedOpen),
                Quartile(pairedOpen, 1), Quartile(pairedOpen, 3));
  }
  ::DeleteFileA(exe.c_str());
  ::DeleteFileA(cfg.c_str());
  ::DeleteFileA((dir + "\\smlock").c_str());
  ::RemoveDirectoryA(dir.c_str());
  return 0;
}
