// A configuration value written with the program's writer and read back with the profile
// functions: it comes back byte for byte, or it is refused (a line break or a NUL) and the file
// stays as it was. Either way no section and no key appears that the write did not name.
// Input: one control byte (which section and key), then the value.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "config/config_file.h"
#include "os/posix/path_map.h"
#include "os/services.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "fuzz_config_value: %s\n", what);
  std::abort();
}

const char kBase[] =
    "[Sorumo32]\r\nINSTID=3\r\nopt=  spaced  \r\n"
    "[Run]\r\n&Edit=c:\\ed.exe\r\nq=\"\"quoted\"\"\r\n"
    "[ExecLink]\r\n.txt=notepad.exe\r\n";
const char* const kSections[] = {"Sorumo32", "Run", "ExecLink", "New"};
const char* const kKeys[] = {"INSTID", "&Edit", ".txt", "fresh", "q", "opt"};

struct Scratch {
  std::string dir, host, win;
  Scratch() {
    char tmpl[] = "/tmp/sorm-fuzz-value-XXXXXX";
    if (!mkdtemp(tmpl)) Fail("mkdtemp");
    dir = tmpl;
    host = dir + "/sorm.cfg";
    win = os::posix::ToWinPath(host);
    setenv("SORM_WINDIR", dir.c_str(), 1);
  }
  ~Scratch() {
    unlink(host.c_str());
    rmdir(dir.c_str());
  }
};

Scratch& Dir() {
  static Scratch s;
  return s;
}

void WriteBase(const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) Fail("cannot create the file");
  if (write(fd, kBase, sizeof(kBase) - 1) != static_cast<ssize_t>(sizeof(kBase) - 1))
    Fail("cannot write the file");
  close(fd);
}

std::string Get(const char* section, const char* key, const std::string& file) {
  std::vector<char> buf(1 << 16, '\0');
  const uint32_t n = os::Ini().GetString(section, key, "\x01missing", buf.data(),
                                         static_cast<uint32_t>(buf.size()), file.c_str());
  return std::string(buf.data(), n);
}

// Every section with every key and value, as the profile functions list them.
std::string Snapshot(const std::string& file, const char* skipSection, const char* skipKey) {
  std::string out;
  const std::string sections = Get(nullptr, nullptr, file);
  for (const char* s = sections.c_str(); *s; s += std::strlen(s) + 1) {
    out += '[';
    out += s;
    out += "]\n";
    const std::string keys = Get(s, nullptr, file);
    for (const char* k = keys.c_str(); *k; k += std::strlen(k) + 1) {
      out += k;
      out += '=';
      if (skipSection && !strcasecmp(s, skipSection) && !strcasecmp(k, skipKey))
        out += "<written>";
      else
        out += Get(s, k, file);
      out += '\n';
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 8192) return 0;
  const uint8_t control = data[0];
  const char* section = kSections[control % 4];
  const char* key = kKeys[(control / 4) % 6];
  const std::string value(reinterpret_cast<const char*>(data + 1), size - 1);
  Scratch& s = Dir();
  WriteBase(s.host);

  const std::string before = Snapshot(s.win, nullptr, nullptr);
  const bool existed = Get(section, key, s.win) != "\x01missing";
  const bool written = config::WriteProfileValue(s.win, section, key,
                                                 config::QuoteForProfile(value));
  const bool lineText = value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
  if (written != lineText) Fail(written ? "a line break or NUL was written" : "a value was refused");
  if (!written) {
    if (Snapshot(s.win, nullptr, nullptr) != before) Fail("a refused write changed the file");
    return 0;
  }
  if (Get(section, key, s.win) != value) Fail("the value did not read back as written");
  // The rest of the file: as before, with the written key in its place (or one new key).
  std::string expected = before;
  if (existed) {
    expected = Snapshot(s.win, section, key);
    WriteBase(s.host);
    if (Snapshot(s.win, section, key) != expected) Fail("another key or section changed");
  } else {
    const std::string after = Snapshot(s.win, section, key);
    // The new key is the only line the snapshot gained.
    std::string gained = after;
    const std::string line = std::string(key) + "=<written>\n";
    const size_t at = gained.find(line);
    if (at == std::string::npos) Fail("the new key is not listed");
    gained.erase(at, line.size());
    const std::string header = std::string("[") + section + "]\n";
    if (gained != before && gained != before + header) Fail("a key or section appeared");
  }
  return 0;
}
