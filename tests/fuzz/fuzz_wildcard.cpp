// Fuzzes the directory-search name matching and the path helpers of the posix emulation.
// The input is "mask NUL name NUL path".
// Checked: nothing crashes or runs away (matching is memoised); "*" matches every name; a name
// used as its own mask (no wildcards, no trailing dot or space) matches itself, in any case;
// a full path starts with "X:\" and its host path holds no "." or ".." component; an 8.3
// alias fits 12 bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "os/posix/cp932_units.h"
#include "os/posix/path_map.h"
#include "os/posix/short_name.h"
#include "os/posix/wildcard_match.h"
#include "tests/fuzz/input_parts.h"

namespace {

using fuzzparts::NextPart;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "fuzz_wildcard: %s\n", what);
  std::abort();
}

bool UsableAsOwnMask(std::string_view name) {
  if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
  for (uint16_t u : os::posix::ToUnits(name))
    if (u == '*' || u == '?' || u == '<' || u == '>' || u == '"' || u == 0) return false;
  return name != "..";
}

void CheckFullPath(std::string_view path) {
  std::string full;
  if (!os::posix::MakeFullPath(path, "Z:\\work\\dir", full)) return;
  if (full.size() < 3 || full[1] != ':' || full[2] != '\\') Fail("full path without a root");
  // Whatever the full path holds, its host path never climbs out through "." or "..".
  const std::string host = os::posix::HostFromFull(full);
  for (std::string_view c : {"/./", "/../"})
    if (host.find(c) != std::string::npos) Fail("dot component in a host path");
  if (host.size() >= 3 && (host.compare(host.size() - 3, 3, "/..") == 0 ||
                           host.compare(host.size() - 2, 2, "/.") == 0))
    Fail("dot component at the end of a host path");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::string_view mask = NextPart(in);
  const std::string_view name = NextPart(in);
  const std::string_view path = NextPart(in);
  if (name.size() > 300 || mask.size() > 300) return 0;

  os::posix::WildcardMask m(mask);
  (void)m.Matches(name);
  if (!name.empty() && !os::posix::WildcardMask("*").Matches(name)) Fail("* missed a name");
  if (UsableAsOwnMask(name)) {
    if (!os::posix::WildcardMask(name).Matches(name)) Fail("a name does not match itself");
    os::posix::Units upper = os::posix::ToUnits(name);
    for (auto& u : upper) u = os::posix::FoldUnit(u);
    if (!os::posix::WildcardMask(os::posix::FromUnits(upper)).Matches(name))
      Fail("matching depends on case");
  }
  if (os::posix::ShortAlias(name).size() > 12) Fail("alias longer than 8.3");
  CheckFullPath(path);
  return 0;
}
