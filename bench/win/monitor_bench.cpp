// The worker thread of a window, measured from outside the way a person meets it:
//   1. icons: from the first paint of a folder of 10,000 documents until the first screen of
//      real icons replaces the placeholders (a change of the pixels of the first document cells);
//      against the start-up to that first paint;
//   2. keys while icons load: the longest time from a posted Space to its status-bar effect
//      while the icons of a large folder load (100,000 files unless a third argument says
//      otherwise), against the same on a small folder;
//   3. a storm: 10,000 files created in the watched folder by this process; the time until the
//      caption counts them all after the last one was made, the longest key answer meanwhile
//      and the number of different counts the caption showed (each is one update: coalesced
//      updates show few);
//   4. idle: the processor time of a two-pane window watching two folders over 30 seconds.
//   monitor_bench.exe <SORM32.EXE> [large folder files] [idle seconds] [data folder]
// Files made through Wine cost a search of their folder each, so 100,000 of them take most
// of an hour: a data folder prepared outside (subfolders "ten" with 10,000 files and "big" with
// the large count, as bench/run_benchmarks.sh makes them) is used as it is and kept.
#include <windows.h>

#include "bench/win/process_window.h"
#include "bench/win/screen_pixels.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "os/clock.h"

namespace {

double NowMs() { return os::MonotonicMicros() / 1000.0; }

std::string g_dir;  // the scratch folder with the program copy

long CountFiles(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((dir + "\\*").c_str(), &fd);
  long n = 0;
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
  }
  return n;
}

void MakeFiles(const std::string& dir, int n, const char* pattern) {
  ::CreateDirectoryA(dir.c_str(), nullptr);
  if (CountFiles(dir) >= n) return;  // prepared outside
  char name[64];
  for (int i = 0; i < n; ++i) {
    std::snprintf(name, sizeof(name), pattern, i);
    HANDLE h = ::CreateFileA((dir + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  }
}

void RemoveFiles(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        ::DeleteFileA((dir + "\\" + fd.cFileName).c_str());
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
  }
  ::RemoveDirectoryA(dir.c_str());
}

struct Window {
  PROCESS_INFORMATION pi{};
  HWND frame = nullptr;
  HWND pane = nullptr;
  double startedAt = 0;
};

BOOL CALLBACK FindPane(HWND h, LPARAM lp) {
  char cls[32] = {};
  ::GetClassNameA(h, cls, sizeof(cls));
  if (std::string(cls) == "Sorumo32") {
    *reinterpret_cast<HWND*>(lp) = h;
    return FALSE;
  }
  return TRUE;
}

// Starts the program on folder (and second, for two panes); waits for its visible frame.
Window Open(const std::string& folder, const std::string& second = std::string()) {
  const std::string cfg = g_dir + "\\sorm.cfg";
  ::DeleteFileA(cfg.c_str());
  ::WritePrivateProfileStringA("INSTID", "ID", "5", cfg.c_str());  // closing saves nothing
  ::WritePrivateProfileStringA("INST1", "Placement", "40;40;640;480;-1;-1;-1;-1", cfg.c_str());
  ::WritePrivateProfileStringA("INST1", "Path", folder.c_str(), cfg.c_str());
  ::WritePrivateProfileStringA("INST1", "vmode", "0", cfg.c_str());
  if (!second.empty()) {
    ::WritePrivateProfileStringA("INST1", "WMode", "2", cfg.c_str());
    ::WritePrivateProfileStringA("INST101", "Path", second.c_str(), cfg.c_str());
    ::WritePrivateProfileStringA("INST101", "vmode", "0", cfg.c_str());
  }
  Window w;
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  std::string line = "\"" + g_dir + "\\SORM32.EXE\" -CFGID 1";
  std::vector<char> buf(line.begin(), line.end());
  buf.push_back('\0');
  w.startedAt = NowMs();
  if (!::CreateProcessA(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr, g_dir.c_str(),
                        &si, &w.pi))
    return w;
  while (!(w.frame = bench::VisibleWindowOf(w.pi.dwProcessId)) && NowMs() - w.startedAt < 60000)
    ::Sleep(1);
  if (w.frame) ::EnumChildWindows(w.frame, FindPane, reinterpret_cast<LPARAM>(&w.pane));
  return w;
}

void Close(Window& w) {
  if (w.frame) ::PostMessageA(w.frame, WM_CLOSE, 0, 0);
  if (w.pi.hProcess) {
    if (::WaitForSingleObject(w.pi.hProcess, 20000) != WAIT_OBJECT_0)
      ::TerminateProcess(w.pi.hProcess, 1);
    ::CloseHandle(w.pi.hThread);
    ::CloseHandle(w.pi.hProcess);
  }
  w = Window();
}

std::string StatusText(HWND frame) {
  HWND bar = ::FindWindowExA(frame, nullptr, "msctls_statusbar32", nullptr);
  char buf[256] = {};
  DWORD_PTR r = 0;
  if (bar)
    ::SendMessageTimeoutA(bar, WM_GETTEXT, sizeof(buf), reinterpret_cast<LPARAM>(buf),
                          SMTO_NORMAL, 10000, &r);
  return buf;
}

long CaptionCount(HWND frame) {
  char buf[2048] = {};
  ::GetWindowTextA(frame, buf, sizeof(buf));
  std::string c = buf;
  std::size_t at = c.find(" file(s).");
  if (at == std::string::npos || at == 0) return -1;
  std::size_t start = c.rfind(' ', at - 1);
  return std::strtol(c.c_str() + (start == std::string::npos ? 0 : start + 1), nullptr, 10);
}

bool Uniform(const std::vector<DWORD>& px) {
  return std::all_of(px.begin(), px.end(), [&](DWORD c) { return c == px.front(); });
}

// Posts Space to the pane and waits for the status text to change; milliseconds, -1 when it
// did not within 10 s.
double KeyAnswer(const Window& w) {
  const std::string before = StatusText(w.frame);
  const double t0 = NowMs();
  ::PostMessageA(w.pane, WM_KEYDOWN, VK_SPACE, 0x00390001);
  ::PostMessageA(w.pane, WM_KEYUP, VK_SPACE, 0xC0390001);
  while (NowMs() - t0 < 10000) {
    if (StatusText(w.frame) != before) return NowMs() - t0;
  }
  return -1;
}

// The longest key answer over a stretch of ms milliseconds.
double LongestKeyAnswer(const Window& w, double ms, int* presses) {
  double worst = 0;
  // The cursor starts on "..", which is never selected: one step to the first file.
  ::PostMessageA(w.pane, WM_KEYDOWN, VK_RIGHT, 0x014D0001);
  ::PostMessageA(w.pane, WM_KEYUP, VK_RIGHT, 0xC14D0001);
  ::Sleep(200);
  const double until = NowMs() + ms;
  *presses = 0;
  while (NowMs() < until) {
    double a = KeyAnswer(w);
    if (a < 0) return -1;
    worst = std::max(worst, a);
    ++*presses;
    ::Sleep(5);
  }
  return worst;
}

std::string ReadWholeFile(const std::string& path) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::string();
  std::string out;
  char buf[4096];
  DWORD n = 0;
  while (::ReadFile(h, buf, sizeof(buf), &n, nullptr) && n > 0) out.append(buf, n);
  ::CloseHandle(h);
  return out;
}

// Under Wine another process's times are not reported; the host's process table has them:
// the processor time (user + system, ms) of the host process whose command line names our
// copy of the program, -1 when there is none.
double HostCpuMs() {
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA("Z:\\proc\\*", &fd);
  if (h == INVALID_HANDLE_VALUE) return -1;
  double result = -1;
  do {
    if (fd.cFileName[0] < '1' || fd.cFileName[0] > '9') continue;
    const std::string dir = std::string("Z:\\proc\\") + fd.cFileName;
    const std::string cmd = ReadWholeFile(dir + "\\cmdline");
    if (cmd.find("sorm_monitor_bench") == std::string::npos ||
        cmd.find("SORM32.EXE") == std::string::npos)
      continue;
    const std::string stat = ReadWholeFile(dir + "\\stat");
    const std::size_t at = stat.rfind(')');
    if (at == std::string::npos || at + 2 >= stat.size()) continue;
    // After the command: the state letter, then ten numbers, then utime and stime in ticks.
    const char* p = stat.c_str() + at + 2;
    while (*p && *p != ' ') ++p;
    unsigned long long field[12] = {};
    for (int i = 0; i < 12 && *p; ++i) {
      char* end = nullptr;
      field[i] = std::strtoull(p, &end, 10);
      p = end;
    }
    result = (field[10] + field[11]) * 10.0;  // 100 ticks a second
    break;
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  return result;
}

double ProcessCpuMs(HANDLE process) {
  const double host = HostCpuMs();
  if (host >= 0) return host;
  FILETIME c, e, k, u;
  if (!::GetProcessTimes(process, &c, &e, &k, &u)) return -1;
  auto ms = [](FILETIME f) {
    return ((static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000.0;
  };
  return ms(k) + ms(u);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: monitor_bench SORM32.EXE [large folder files] [idle seconds]\n");
    return 2;
  }
  const int large = argc > 2 ? std::atoi(argv[2]) : 100000;
  const int idleSeconds = argc > 3 ? std::atoi(argv[3]) : 30;
  const std::string data = argc > 4 ? argv[4] : std::string();
  char temp[MAX_PATH];
  ::GetTempPathA(sizeof(temp), temp);
  g_dir = std::string(temp) + "sorm_monitor_bench";
  ::CreateDirectoryA(g_dir.c_str(), nullptr);
  ::CopyFileA(argv[1], (g_dir + "\\SORM32.EXE").c_str(), FALSE);
  std::string keys = argv[1];
  keys = keys.substr(0, keys.find_last_of("\\/") + 1) + "explorer.cfg";
  ::CopyFileA(keys.c_str(), (g_dir + "\\explorer.cfg").c_str(), FALSE);

  // 1. First real icons after the first paint of 10,000 documents.
  const std::string ten = (data.empty() ? g_dir : data) + "\\ten";
  MakeFiles(ten, 10000, "doc%05d.qqq");
  for (int round = 0; round < 3; ++round) {
    Window w = Open(ten);
    if (!w.pane) {
      std::printf("icons: the window did not open\n");
      break;
    }
    // The first row: ".." then documents; the document cells start at x 106.
    double painted = -1, real = -1;
    std::vector<COLORREF> first;
    const double t0 = NowMs();
    while (NowMs() - t0 < 20000) {
      std::vector<DWORD> px = screen::ClientPixels(w.pane, 100, 0, 270, 40);
      if (painted < 0) {
        if (!Uniform(px)) {
          painted = NowMs();
          first = px;
        }
      } else if (px != first) {
        real = NowMs();
        break;
      }
    }
    std::printf("icons (10,000 documents): start to first paint %.0f ms, first paint to real "
                "icons %.0f ms (ratio %.2f)\n",
                painted - w.startedAt, real < 0 ? -1.0 : real - painted,
                real < 0 ? 0.0 : (real - painted) / (painted - w.startedAt));
    Close(w);
  }

  // 2. Keys while the icons of a large folder load, against a small folder.
  const std::string big = (data.empty() ? g_dir : data) + "\\big";
  const std::string small = g_dir + "\\small";
  MakeFiles(big, large, "f%06d.qqq");
  MakeFiles(small, 10, "s%02d.qqq");
  for (const std::string* folder : {&small, &big}) {
    Window w = Open(*folder);
    // From the first time the window waits for input: its icons load in the background.
    const double shown = NowMs();
    ::WaitForInputIdle(w.pi.hProcess, 30000);
    const double idle = NowMs();
    int presses = 0;
    const double worst = w.pane ? LongestKeyAnswer(w, 3000, &presses) : -1;
    std::printf("keys in the 3 s after the window is idle (%s folder, idle %.0f ms after it "
                "showed): longest answer %.1f ms over %d presses\n",
                folder == &big ? "large" : "small", idle - shown, worst, presses);
    Close(w);
  }

  // 3. A storm of creations in the watched folder.
  const std::string storm = g_dir + "\\storm";
  ::CreateDirectoryA(storm.c_str(), nullptr);
  {
    Window w = Open(storm);
    ::Sleep(1000);  // the watch is armed
    std::set<long> counts;
    double worstKey = 0;
    const double t0 = NowMs();
    char name[32];
    for (int i = 0; i < 10000; ++i) {
      std::snprintf(name, sizeof(name), "n%05d.qqq", i);
      HANDLE h = ::CreateFileA((storm + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, 0, nullptr);
      if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
      if (i == 100) {
        // The cursor leaves ".." (never selected) for the first file.
        ::PostMessageA(w.pane, WM_KEYDOWN, VK_RIGHT, 0x014D0001);
        ::PostMessageA(w.pane, WM_KEYUP, VK_RIGHT, 0xC14D0001);
      }
      if (i % 500 == 250) {
        counts.insert(CaptionCount(w.frame));
        const double a = KeyAnswer(w);
        worstKey = a < 0 || worstKey < 0 ? -1 : std::max(worstKey, a);
      }
    }
    const double made = NowMs();
    long n = 0;
    while (NowMs() - made < 60000 && (n = CaptionCount(w.frame)) != 10001) {
      counts.insert(n);
      ::Sleep(2);
    }
    counts.insert(CaptionCount(w.frame));
    std::printf("storm of 10,000 creations: made in %.0f ms, listing complete %.0f ms after the "
                "last (%ld entries), %zu different counts seen, longest key answer %.1f ms\n",
                made - t0, NowMs() - made, n, counts.size(), worstKey);
    Close(w);
  }

  // 4. An idle window watching two folders.
  {
    Window w = Open(ten, small);
    ::Sleep(3000);  // icons loaded, the window settled
    const double c0 = ProcessCpuMs(w.pi.hProcess);
    const double t0 = NowMs();
    ::Sleep(static_cast<DWORD>(idleSeconds) * 1000);
    const double c1 = ProcessCpuMs(w.pi.hProcess);
    const double wall = NowMs() - t0;
    std::printf("idle two-pane window over %.0f s: %.1f ms of processor time (%.2f%% of one "
                "core)\n",
                wall / 1000, c1 - c0, c0 < 0 ? -1.0 : 100.0 * (c1 - c0) / wall);
    Close(w);
  }

  if (data.empty()) {
    RemoveFiles(ten);
    RemoveFiles(big);
  }
  RemoveFiles(small);
  RemoveFiles(storm);
  ::DeleteFileA((g_dir + "\\SORM32.EXE").c_str());
  ::DeleteFileA((g_dir + "\\explorer.cfg").c_str());
  ::DeleteFileA((g_dir + "\\sorm.cfg").c_str());
  ::DeleteFileA((g_dir + "\\smlock").c_str());
  ::RemoveDirectoryA(g_dir.c_str());
  return 0;
}
