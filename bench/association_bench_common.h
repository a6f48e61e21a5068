// The association lookup benchmark shared by the native and the Windows build: 100,000
// LookupAssociation calls over the names of a folder that holds 50 extensions (25 known to the
// registry, 25 not) against a bare enumeration of the same folder, with the registry's key
// opens counted (each extension should be read once).
#pragma once
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "exec/association_lookup.h"
#include "exec/association_store.h"
#include "os/clock.h"
#include "os/counting_registry.h"
#include "os/services.h"

namespace assocbench {

constexpr int kFiles = 100000;
constexpr int kExtensions = 50;
constexpr int kRegistered = 25;
constexpr int kRuns = 5;

inline double NowMs() { return os::MonotonicMicros() / 1000.0; }

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

inline std::string Extension(int i) {
  char ext[16];
  std::snprintf(ext, sizeof(ext), ".sab%02d", i);
  return ext;
}

// 100,000 empty files f000000.sab00 ... in dir, the extensions taking turns; made once.
inline bool MakeFiles(const std::string& dir) {
  os::FindData fd;
  if (os::Fs().FindFirst((dir + "\\f099999.sab49").c_str(), fd)) return true;
  os::Fs().CreateDir(dir.c_str());
  for (int i = 0; i < kFiles; ++i) {
    char name[32];
    std::snprintf(name, sizeof(name), "\\f%06d", i);
    const std::string path = dir + name + Extension(i % kExtensions);
    if (!os::Fs().Open(path.c_str(), os::kGenericWrite, 0, os::kCreateAlways)) return false;
  }
  return true;
}

// The first kRegistered extensions get a file type of their own; the rest stay unknown.
class RegisteredExtensions {
 public:
  RegisteredExtensions() {
    for (int i = 0; i < kRegistered; ++i) {
      uint32_t e = 0;
      const std::string key = Extension(i) + "\\shell\\open\\command";
      if (auto k = os::Reg().CreateKey(os::RegRoot::kClassesRoot, key.c_str(), &e))
        k->SetValue(nullptr, "benchprog.exe \"%1\"");
    }
  }
  ~RegisteredExtensions() {
    for (int i = 0; i < kRegistered; ++i)
      for (const char* sub : {"\\shell\\open\\command", "\\shell\\open", "\\shell", ""})
        os::Reg().DeleteKey(os::RegRoot::kClassesRoot, (Extension(i) + sub).c_str());
  }
};

struct Host {
  const char* bareName;
  std::function<long(const std::string& dir)> bareEnumerate;
};

inline void Run(const Host& host, const std::string& dir) {
  if (!MakeFiles(dir)) {
    std::printf("could not make the files in %s\n", dir.c_str());
    return;
  }
  RegisteredExtensions registered;
  std::vector<std::string> names;
  {
    os::FindData fd;
    auto f = os::Fs().FindFirst((dir + "\\*.*").c_str(), fd);
    if (f) {
      do {
        const std::string name = fd.name;
        if (name != "." && name != "..") names.push_back(name);
      } while (f->Next(fd));
    }
  }
  const std::string listing = dir + "\\";
  const std::string noConfig = dir + "\\none.cfg";  // no [ExecLink]; WIN.INI as it is
  std::vector<double> bare, cold, warm;
  int opened = 0;
  long count = 0, matched = 0;
  for (int run = 0; run < kRuns; ++run) {
    double start = NowMs();
    count = host.bareEnumerate(dir);
    bare.push_back(NowMs() - start);

    exec::Associations lists;
    exec::LoadAssociations(lists, noConfig);
    os::CountingRegistry counting;
    {
      os::ScopedServices scoped(os::Services{nullptr, nullptr, &counting, nullptr, nullptr});
      matched = 0;
      start = NowMs();
      for (const std::string& n : names)
        matched += exec::LookupAssociation(lists, listing, n.c_str()).launchClass !=
                   exec::LaunchClass::kNone;
      cold.push_back(NowMs() - start);
      start = NowMs();
      for (const std::string& n : names) exec::LookupAssociation(lists, listing, n.c_str());
      warm.push_back(NowMs() - start);
    }
    opened = counting.Opened();
    exec::FreeAssociations(lists);
  }
  const double b = Median(bare), c = Median(cold), w = Median(warm);
  std::printf("%zu lookups over %d extensions (%d registered), %ld entries enumerated\n",
              names.size(), kExtensions, kRegistered, count);
  std::printf("  %-40s %8.1f ms\n", host.bareName, b);
  std::printf("  %-40s %8.1f ms  ratio %.3f\n", "lookups, fresh lists (registry read)", c, c / b);
  std::printf("  %-40s %8.1f ms  ratio %.3f\n", "lookups, lists kept", w, w / b);
  std::printf("  registry keys opened per fresh pass: %d (extensions: %d); associated: %ld\n",
              opened, kExtensions, matched);
}

}  // namespace assocbench
