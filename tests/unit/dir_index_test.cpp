// The directory index behind case-insensitive path look-ups of the posix emulation: creating a
// file costs the same in a large directory as in a small one, and the index never answers with
// a directory's past (changes made beside the emulation are seen at once).
#ifndef _WIN32
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "os/clock.h"
#include "os/posix/dir_index.h"
#include "os/posix/path_map.h"
#include "os/posix/short_name.h"
#include "os/services.h"
#include "tests/unit/test_util.h"

namespace {

using testutil::TempDir;

bool CreateNew(const std::string& path) {
  return os::Fs().Open(path.c_str(), os::kGenericWrite, 0, os::kCreateNew) != nullptr;
}

// Microseconds taken to create files first..last-1 ("f<n>.dat") in dir.
uint64_t TimeCreates(const TempDir& dir, int first, int last) {
  const uint64_t start = os::MonotonicMicros();
  for (int i = first; i < last; ++i)
    EXPECT_TRUE(CreateNew(dir.Path("f" + std::to_string(i) + ".dat"))) << i;
  return os::MonotonicMicros() - start;
}

bool HostExists(const std::string& host) {
  struct stat st;
  return lstat(host.c_str(), &st) == 0;
}

void HostCreate(const std::string& host) {
  int fd = open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  ASSERT_GE(fd, 0) << host;
  close(fd);
}

TEST(DirIndexTest, CreatingInALargeDirectoryCostsAsMuchAsInASmallOne) {
  TempDir dir;
  // Listing the directory per create makes the 100 creates after 4,000 files some forty times
  // slower than the first 100; the bound (the fastest of three batches each, and ten times)
  // leaves room for a machine busy with other work.
  uint64_t early = UINT64_MAX;
  for (int batch = 0; batch < 3; ++batch)
    early = std::min(early, TimeCreates(dir, batch * 100, batch * 100 + 100));
  TimeCreates(dir, 300, 4000);
  uint64_t late = UINT64_MAX;
  for (int batch = 0; batch < 3; ++batch)
    late = std::min(late, TimeCreates(dir, 4000 + batch * 100, 4100 + batch * 100));
  EXPECT_LT(late, 10 * early + 2000) << "first 100: " << early << " us, after 4,000: " << late
                                    << " us";
}

TEST(DirIndexTest, LookUpsSeeChangesMadeBesideTheEmulation) {
  TempDir dir;
  const std::string host = os::posix::ToHostPath(dir.Dir().c_str());
  ASSERT_FALSE(host.empty());
  struct Case {
    const char* what;
    const char* hostBefore;  // made on the host before the index is built ("" none)
    const char* viaEmulation;  // then created through the emulation (builds the index)
    const char* hostAction;  // "create NAME", "remove NAME" or "rename FROM TO" on the host
    const char* hostAfter;
    const char* lookUp;      // then opened through the emulation in another case
    const char* expectHost;  // the host name that must exist afterwards
    bool opens;              // whether kOpenExisting finds it
  } cases[] = {
      {"created beside", "", "Seed1.txt", "create Beta.TXT", "", "beta.txt", "Beta.TXT", true},
      {"removed beside", "", "Gamma.txt", "remove Gamma.txt", "", "GAMMA.TXT", "", false},
      {"renamed beside", "", "Delta.txt", "rename Delta.txt DELTA.dat", "", "delta.DAT",
       "DELTA.dat", true},
      {"made before", "Eps.Txt", "Seed2.txt", "", "", "EPS.TXT", "Eps.Txt", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (*c.hostBefore) HostCreate(host + "/" + c.hostBefore);
    ASSERT_TRUE(CreateNew(dir.Path(c.viaEmulation)));
    // A look-up in another case builds (or uses) the index.
    std::string other = c.viaEmulation;
    for (char& ch : other) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    ASSERT_NE(os::Fs().GetAttributes(dir.Path(other).c_str()), os::kInvalidAttributes);
    char verb[16] = {}, a[64] = {}, b[64] = {};
    std::sscanf(c.hostAction, "%15s %63s %63s", verb, a, b);
    if (std::string(verb) == "create") HostCreate(host + "/" + a);
    if (std::string(verb) == "remove") ASSERT_EQ(unlink((host + "/" + a).c_str()), 0);
    if (std::string(verb) == "rename")
      ASSERT_EQ(rename((host + "/" + a).c_str(), (host + "/" + b).c_str()), 0);
    auto f = os::Fs().Open(dir.Path(c.lookUp).c_str(), os::kGenericRead, os::kShareRead,
                           os::kOpenExisting);
    EXPECT_EQ(f != nullptr, c.opens);
    if (*c.expectHost) EXPECT_TRUE(HostExists(host + "/" + c.expectHost));
  }
  // A removed name is not brought back in its old case: creating it again uses the new case.
  ASSERT_TRUE(CreateNew(dir.Path("gamma.txt")));
  EXPECT_TRUE(HostExists(host + "/gamma.txt"));
  EXPECT_FALSE(HostExists(host + "/Gamma.txt"));
}

TEST(DirIndexTest, AnswersAsAFreshListingDoes) {
  TempDir dir;
  const std::string host = os::posix::ToHostPath(dir.Dir().c_str());
  const char* names[] = {"LongFileName.html", "Another long name.text", "short.txt",
                         "MixedCase.Doc"};
  // Created one by one through the emulation, each looked up by its folded name and by its
  // 8.3 alias right away: the index takes every create in, aliases included.
  for (const char* n : names) {
    ASSERT_TRUE(CreateNew(dir.Path(n)));
    std::string lower = n;
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_EQ(os::posix::FindEntryNoCase(host, lower), n);
    const std::string alias = os::posix::ShortAlias(n);
    if (!alias.empty()) EXPECT_EQ(os::posix::FindEntryNoCase(host, alias), n) << alias;
  }
  EXPECT_EQ(os::posix::FindEntryNoCase(host, "absent.txt"), "");
  std::string answers[4];
  for (int i = 0; i < 4; ++i) answers[i] = os::posix::FindEntryNoCase(host, names[i]);
  os::posix::ForgetDirectoryIndexes();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(os::posix::FindEntryNoCase(host, names[i]), answers[i]);
}

}  // namespace
#endif
