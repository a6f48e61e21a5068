// Fuzzes the posix profile functions: the input (after one control byte) becomes a
// configuration file, which is read through every kind of call with buffers of many sizes, then
// written to and read back.
// Checked: nothing is written past a buffer's size, every result is terminated and shorter
// than the buffer, a list ends with two NULs, a written value reads back.
#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "os/posix/path_map.h"
#include "os/posix/posix_backend.h"
#include "os/profile.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "fuzz_profile: %s\n", what);
  std::abort();
}

// A scratch directory holding the configuration file; also the emulated Windows directory.
struct Scratch {
  std::string dir;
  std::string host;  // the file's host path
  std::string win;   // and its Windows path
  Scratch() {
    char tmpl[] = "/tmp/sorm-fuzz-profile-XXXXXX";
    if (!mkdtemp(tmpl)) Fail("mkdtemp");
    dir = tmpl;
    host = dir + "/fuzz.ini";
    win = os::posix::ToWinPath(host);
    setenv("SORM_WINDIR", dir.c_str(), 1);
  }
  ~Scratch() {
    if (DIR* d = opendir(dir.c_str())) {
      while (dirent* e = readdir(d)) {
        if (std::strcmp(e->d_name, ".") && std::strcmp(e->d_name, ".."))
          unlink((dir + "/" + e->d_name).c_str());
      }
      closedir(d);
    }
    rmdir(dir.c_str());
  }
};

Scratch& Dir() {
  static Scratch s;
  return s;
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) Fail("cannot create the file");
  size_t done = 0;
  while (done < size) {
    ssize_t n = write(fd, data + done, size - done);
    if (n <= 0) Fail("cannot write the file");
    done += static_cast<size_t>(n);
  }
  close(fd);
}

bool IsBlank(unsigned char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A; }

// Calls GetString with a heap buffer of exactly size bytes (so that the sanitizer sees any
// write past it) and checks the buffer rules. Returns what the call produced.
std::string Get(const char* section, const char* key, const char* def, uint32_t size,
                const char* file, bool list) {
  std::vector<char> storage(size ? size : 1, '\x0C');
  char* buf = size ? storage.data() : nullptr;
  if (!buf) buf = storage.data();  // size 0: a valid pointer, which must stay untouched
  uint32_t n = os::posix::PosixProfile().GetString(section, key, def, buf, size, file);
  if (size == 0) {
    if (n != 0 || storage[0] != '\x0C') Fail("size 0 wrote or returned something");
    return std::string();
  }
  if (n >= size) Fail("result not shorter than the buffer");
  if (buf[n] != '\0') Fail("result not terminated");
  if (list && n > 0) {
    bool ended = buf[n - 1] == '\0' || (n + 1 < size && buf[n + 1] == '\0');
    if (!ended) Fail("list not ended by two NULs");
  }
  return std::string(buf, n);
}

// Splits a NUL-separated list.
std::vector<std::string> Names(const std::string& list) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos < list.size()) {
    size_t end = list.find('\0', pos);
    if (end == std::string::npos) end = list.size();
    if (end > pos) out.push_back(list.substr(pos, end - pos));
    pos = end + 1;
  }
  return out;
}

const uint32_t kSizes[] = {0, 1, 2, 3, 5, 16, 300, 70000};

void ReadEverything(const char* section, const char* key, const char* file) {
  bool list = !section || !key;
  for (uint32_t size : kSizes) {
    Get(section, key, "default  ", size, file, list && !section);
    Get(section, key, nullptr, size, file, list && !section);
  }
  os::posix::PosixProfile().GetInt(section, key, -7, file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t control = data[0];
  Scratch& s = Dir();
  WriteFile(s.host, data + 1, size - 1);
  const char* file = s.win.c_str();
  os::Profile& ini = os::posix::PosixProfile();

  // Every name the file lists, and some that it may not.
  std::vector<std::string> sections = Names(Get(nullptr, nullptr, "", 70000, file, true));
  ReadEverything(nullptr, nullptr, file);
  ReadEverything(nullptr, "k", file);
  ReadEverything("", "", file);
  ReadEverything("s", nullptr, file);
  size_t checked = 0;
  for (const std::string& sec : sections) {
    if (++checked > 8) break;
    ReadEverything(sec.c_str(), nullptr, file);
    std::vector<std::string> keys = Names(Get(sec.c_str(), nullptr, "", 70000, file, false));
    size_t k = 0;
    for (const std::string& key : keys) {
      if (++k > 8) break;
      ReadEverything(sec.c_str(), key.c_str(), file);
    }
  }

  // A value taken from the input, without line ends and NULs, written and read back.
  std::string value;
  for (size_t i = 1; i < size && value.size() < 64; ++i) {
    char c = static_cast<char>(data[i]);
    if (c != '\r' && c != '\n' && c != '\0') value.push_back(c);
  }
  std::string section = sections.empty() ? std::string("s") : sections[control % sections.size()];
  char key[16];
  std::snprintf(key, sizeof(key), "fz%u", static_cast<unsigned>(control));
  if (!ini.WriteString(section.c_str(), key, value.c_str(), file)) Fail("write failed");
  std::string_view expect = value;
  while (!expect.empty() && IsBlank(static_cast<unsigned char>(expect.front())))
    expect.remove_prefix(1);
  while (!expect.empty() && IsBlank(static_cast<unsigned char>(expect.back())))
    expect.remove_suffix(1);
  if (expect.size() >= 2 && (expect.front() == '"' || expect.front() == '\'') &&
      expect.back() == expect.front())
    expect = expect.substr(1, expect.size() - 2);
  if (Get(section.c_str(), key, "", 70000, file, false) != expect) Fail("value not read back");
  ReadEverything(section.c_str(), nullptr, file);

  // Deletions, then every kind of read again on what is left.
  ini.WriteString(section.c_str(), key, nullptr, file);
  if (control & 1) ini.WriteString(section.c_str(), nullptr, nullptr, file);
  if (control & 2 && sections.size() > 1) ini.WriteString(sections[1].c_str(), nullptr, "x", file);
  ReadEverything(nullptr, nullptr, file);
  ReadEverything(section.c_str(), nullptr, file);
  ReadEverything(section.c_str(), key, file);

  // The same through the Windows directory and WIN.INI.
  if (control & 4) {
    ini.WriteWinIniString(section.c_str(), key, value.c_str());
    char small[4];
    uint32_t n = ini.GetWinIniString(section.c_str(), key, "", small, sizeof(small));
    if (n >= sizeof(small) || small[n] != '\0') Fail("WIN.INI result not bounded");
    ini.WriteWinIniString(section.c_str(), nullptr, nullptr);
  }
  return 0;
}
