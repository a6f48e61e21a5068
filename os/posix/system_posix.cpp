// The posix emulation of os::System.
#include <fcntl.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>

#include "os/last_error.h"
#include "os/exe_type.h"
#include "os/services.h"
#include "os/posix/collation.h"
#include "os/posix/posix_backend.h"
#include "os/types.h"

extern char** environ;

namespace os::posix {
namespace {

constexpr uint32_t kWinExecStarted = 33;       // any value above 31 means success
constexpr uint32_t kWinExecFileNotFound = 2;

std::string UserName() {
  if (struct passwd* pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name)
    return pw->pw_name;
  if (const char* u = std::getenv("USER"); u && *u) return u;
  return "user";
}

// Tests observe started programs through SORM_WINEXEC_LOG: each command line is appended to
// that file instead of being run.
bool LogCommand(const char* logPath, const char* commandLine) {
  int fd = open(logPath, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  std::string line = std::string(commandLine) + "\n";
  bool ok = write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  close(fd);
  return ok;
}

bool Spawn(const char* commandLine) {
  const char* argv[] = {"/bin/sh", "-c", commandLine, nullptr};
  pid_t pid;
  if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
    return false;
  // Nobody waits for a started program; reap it so it leaves no zombie.
  std::thread([pid] {
    int status;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

class PosixSystemImpl final : public System {
 public:
  bool GetUserName(char* buf, uint32_t* size) override {
    const std::string name = UserName();
    const uint32_t needed = static_cast<uint32_t>(name.size() + 1);
    if (!buf || *size < needed) {
      *size = needed;
      os::SetLastError(kErrInsufficientBuffer);
      return false;
    }
    std::memcpy(buf, name.c_str(), needed);
    *size = needed;
    return true;
  }

  uint32_t WindowsMajorVersion() override {
    if (const char* v = std::getenv("SORM_WINVER"); v && *v)
      return static_cast<uint32_t>(std::strtoul(v, nullptr, 10));
    return 5;
  }

  uint32_t TickCount() override {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u +
                        static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);  // wraps like a DWORD
  }

  void Sleep(uint32_t ms) override {
    struct timespec req;
    req.tv_sec = ms / 1000;
    req.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
    while (nanosleep(&req, &req) != 0 && errno == EINTR) {
    }
  }

  bool PeekPending() override { return false; }

  uint32_t WinExec(const char* commandLine, int show) override {
    if (!commandLine || !*commandLine) return kWinExecFileNotFound;
    if (const char* log = std::getenv("SORM_WINEXEC_LOG"); log && *log)
      return LogCommand(log, commandLine) ? kWinExecStarted : kWinExecFileNotFound;
    return Spawn(commandLine) ? kWinExecStarted : kWinExecFileNotFound;
  }

  int32_t TimeZoneBiasMinutes() override {
    time_t now = time(nullptr);
    struct tm local;
    if (!localtime_r(&now, &local)) return 0;
    return static_cast<int32_t>(-local.tm_gmtoff / 60);
  }

  int CompareNoCase(const char* a, const char* b) override { return CompareCollated(a, b); }

  // The emulation's system folders are Windows paths given by the environment (the host's own
  // PATH holds host paths): SORM_SYSTEM_DIR, SORM_WINDOWS_DIR and SORM_PATH.
  std::string ProgramSearchPath() override {
    std::string out;
    for (const char* var : {"SORM_SYSTEM_DIR", "SORM_WINDOWS_DIR", "SORM_PATH"}) {
      const char* v = std::getenv(var);
      if (!v || !*v) continue;
      if (!out.empty()) out += ';';
      out += v;
    }
    return out;
  }

  std::string SortKey(const char* text) override { return CollationKey(text ? text : ""); }
  uint32_t ExecutableType(const char* path) override {
    if (!path || !*path) return 0;
    auto file = Fs().Open(path, kGenericRead, kShareRead | kShareWrite, kOpenExisting);
    if (!file) return 0;
    std::string head(kExeTypeHeadBytes, '\0');
    uint32_t done = 0;
    if (!file->Read(head.data(), kExeTypeHeadBytes, &done)) return 0;
    head.resize(done);
    return ExeTypeOf(path, head);
  }
};

}  // namespace

System& PosixSystem() {
  static PosixSystemImpl s;
  return s;
}

}  // namespace os::posix
