// os::FileSystem through os::Fs(): paths, attributes, opening with share modes, moves and
// drives. The same cases run natively (posix emulation) and under Wine (kernel32).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "os/last_error.h"
#include "os/services.h"
#include "tests/unit/test_util.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "os/posix/dos_attr_posix.h"
#include "os/posix/path_map.h"
#endif

namespace {

using testutil::TempDir;

constexpr uint32_t kRW = os::kGenericRead | os::kGenericWrite;

std::string CurrentDir() {
  char buf[os::kMaxPath];
  uint32_t n = os::Fs().GetCurrentDir(buf, sizeof(buf));
  return n > 0 && n < sizeof(buf) ? std::string(buf, n) : std::string();
}

// Restores the current directory when a test changed it.
class CwdGuard {
 public:
  CwdGuard() : saved_(CurrentDir()) {}
  ~CwdGuard() { os::Fs().SetCurrentDir(saved_.c_str()); }

 private:
  std::string saved_;
};

std::string FullPath(const std::string& path) {
  char buf[os::kMaxPath];
  uint32_t n = os::Fs().GetFullPath(path.c_str(), buf, sizeof(buf));
  return n > 0 && n < sizeof(buf) ? std::string(buf, n) : std::string("<failed>");
}

std::string NoSlash(const std::string& dir) { return dir.substr(0, dir.size() - 1); }

uint32_t ErrorOf(bool ok) { return ok ? 0 : os::LastError(); }

TEST(FileSystemTest, FullPathCollapsesLikeTheSystem) {
  TempDir dir;
  CwdGuard guard;
  ASSERT_TRUE(os::Fs().SetCurrentDir(dir.Dir().c_str()));
  const std::string cwd = NoSlash(dir.Dir());
  const std::string drive = cwd.substr(0, 2);
  struct Case {
    std::string in, out;
  } cases[] = {
      {"a\\b\\..\\c.", cwd + "\\a\\c"},
      {"a. \\b", cwd + "\\a. \\b"},   // only dots go from inner names
      {"a..\\b", cwd + "\\a.\\b"},    // and only one of them
      {"a\\.\\b\\.", cwd + "\\a\\b"},
      {"a/b//c", cwd + "\\a\\b\\c"},
      {"a\\b\\", cwd + "\\a\\b\\"},
      {"x \\y .. ", cwd + "\\x \\y"},
      {"\\foo", drive + "\\foo"},
      {drive, cwd + "\\"},
      {drive + "x", cwd + "\\x"},
      {drive + "\\..\\..", drive + "\\"},
      {"表", cwd + "\\表"},
      {"ソ\\..\\a", cwd + "\\a"},       // the trail byte of ソ is not a separator
      {"能.\\表.", cwd + "\\能\\表"},
  };
  for (const Case& c : cases) EXPECT_EQ(FullPath(c.in), c.out) << c.in;

  // Too small a buffer: the size needed, terminator included, and the buffer untouched.
  char small[4] = "###";
  const std::string expect = cwd + "\\abc";
  EXPECT_EQ(os::Fs().GetFullPath("abc", small, sizeof(small)), expect.size() + 1);
  EXPECT_STREQ(small, "###");
}

TEST(FileSystemTest, CurrentDirectory) {
  TempDir dir;
  CwdGuard guard;
  ASSERT_TRUE(testutil::WriteFileBytes(dir.Path("file.txt"), "x"));
  ASSERT_TRUE(os::Fs().CreateDir(dir.Path("sub").c_str()));
  ASSERT_TRUE(os::Fs().SetCurrentDir(dir.Path("sub\\").c_str()));
  EXPECT_EQ(CurrentDir(), dir.Path("sub"));  // no trailing backslash
  char small[3] = "##";
  EXPECT_EQ(os::Fs().GetCurrentDir(small, sizeof(small)), dir.Path("sub").size() + 1);
  EXPECT_STREQ(small, "##");
  // Relative names now resolve against it.
  EXPECT_TRUE(testutil::FileExists("..\\file.txt"));
  ASSERT_TRUE(os::Fs().SetCurrentDir(".."));
  EXPECT_EQ(CurrentDir(), NoSlash(dir.Dir()));
  const std::string root = dir.Dir().substr(0, 3);
  ASSERT_TRUE(os::Fs().SetCurrentDir(root.c_str()));
  EXPECT_EQ(CurrentDir(), root);  // a root keeps its backslash

  EXPECT_FALSE(os::Fs().SetCurrentDir(dir.Path("missing").c_str()));
  EXPECT_EQ(os::LastError(), static_cast<uint32_t>(os::kErrFileNotFound));
  EXPECT_FALSE(os::Fs().SetCurrentDir(dir.Path("file.txt").c_str()));
  EXPECT_EQ(os::LastError(), static_cast<uint32_t>(os::kErrDirectory));
}

TEST(FileSystemTest, TempDirEndsWithABackslash) {
  char buf[os::kMaxPath];
  uint32_t n = os::Fs().GetTempDir(buf, sizeof(buf));
  ASSERT_GT(n, 3u);
  ASSERT_LT(n, sizeof(buf));
  EXPECT_EQ(std::strlen(buf), n);
  EXPECT_EQ(buf[1], ':');
  EXPECT_EQ(buf[n - 1], '\\');
  EXPECT_NE(os::Fs().GetAttributes(buf) & os::kAttrDirectory, 0u);
  char small[2];
  EXPECT_EQ(os::Fs().GetTempDir(small, sizeof(small)), n + 1);
}

#ifndef _WIN32
TEST(FileSystemTest, TempDirHonoursTmpdir) {
  TempDir dir;
  const std::string host = os::posix::ToHostPath(dir.Dir().c_str());
  const char* old = std::getenv("TMPDIR");
  const std::string saved = old ? old : "";
  setenv("TMPDIR", host.c_str(), 1);
  char buf[os::kMaxPath];
  os::Fs().GetTempDir(buf, sizeof(buf));
  if (old)
    setenv("TMPDIR", saved.c_str(), 1);
  else
    unsetenv("TMPDIR");
  EXPECT_STREQ(buf, dir.Dir().c_str());
}
#endif

TEST(FileSystemTest, AttributesOfFilesAndDirectories) {
  TempDir dir;
  const std::string file = dir.Path("file.txt");
  ASSERT_TRUE(testutil::WriteFileBytes(file, "x"));
  ASSERT_TRUE(os::Fs().CreateDir(dir.Path("sub").c_str()));
  EXPECT_EQ(os::Fs().GetAttributes(file.c_str()), static_cast<uint32_t>(os::kAttrArchive));
  EXPECT_EQ(os::Fs().GetAttributes(dir.Path("sub").c_str()),
            static_cast<uint32_t>(os::kAttrDirectory));

  ASSERT_TRUE(os::Fs().SetAttributes(file.c_str(), os::kAttrReadOnly));
  EXPECT_EQ(os::Fs().GetAttributes(file.c_str()), os::kAttrReadOnly | os::kAttrArchive);
  ASSERT_TRUE(os::Fs().SetAttributes(file.c_str(), os::kAttrNormal));
  EXPECT_EQ(os::Fs().GetAttributes(file.c_str()), static_cast<uint32_t>(os::kAttrArchive));

  // Names resolve without regard to case, and trailing dots and spaces are dropped.
  EXPECT_NE(os::Fs().GetAttributes(dir.Path("FILE.TXT").c_str()), os::kInvalidAttributes);
  EXPECT_NE(os::Fs().GetAttributes(dir.Path("file.txt. .").c_str()), os::kInvalidAttributes);
}

TEST(FileSystemTest, HiddenAndSystemAreKept) {
  TempDir dir;
  const std::string file = dir.Path("secret.dat");
  ASSERT_TRUE(testutil::WriteFileBytes(file, "x"));
#ifndef _WIN32
  if (!os::posix::XattrSupported(os::posix::ToHostPath(file.c_str())))
    GTEST_SKIP() << "this file system keeps no extended attributes";
#endif
  ASSERT_TRUE(os::Fs().SetAttributes(file.c_str(), os::kAttrHidden | os::kAttrSystem));
  EXPECT_EQ(os::Fs().GetAttributes(file.c_str()),
            os::kAttrHidden | os::kAttrSystem | os::kAttrArchive);
  ASSERT_TRUE(os::Fs().SetAttributes(file.c_str(), os::kAttrHidden | os::kAttrReadOnly));
  EXPECT_EQ(os::Fs().GetAttributes(file.c_str()),
            os::kAttrHidden | os::kAttrReadOnly | os::kAttrArchive);
  os::FindData fd;
  auto f = os::Fs().FindFirst(file.c_str(), fd);
  ASSERT_TRUE(f);
  EXPECT_EQ(fd.attributes, os::kAttrHidden | os::kAttrReadOnly | os::kAttrArchive);
  ASSERT_TRUE(os::Fs().SetAttributes(file.c_str(), 0));
  EXPECT_EQ(os::Fs().GetAttributes(file.c_str()), static_cast<uint32_t>(os::kAttrArchive));
}

// A listing reads HIDDEN and SYSTEM of each entry on its own, whatever its neighbours have.
TEST(FileSystemTest, ListingReportsEachEntrysHiddenAndSystem) {
  TempDir dir;
  ASSERT_TRUE(testutil::WriteFileBytes(dir.Path("plain.txt"), "x"));
#ifndef _WIN32
  if (!os::posix::XattrSupported(os::posix::ToHostPath(dir.Path("plain.txt").c_str())))
    GTEST_SKIP() << "this file system keeps no extended attributes";
#endif
  struct Entry {
    const char* name;
    uint32_t set;
    bool directory;
  } entries[] = {
      {"a hidden.txt", os::kAttrHidden, false}, {"b.txt", 0, false},
      {"c system.txt", os::kAttrSystem, false}, {"d.txt", os::kAttrHidden | os::kAttrSystem, false},
      {"e hidden dir", os::kAttrHidden, true},  {"f dir", 0, true},
  };
  for (const Entry& e : entries) {
    if (e.directory) {
      ASSERT_TRUE(os::Fs().CreateDir(dir.Path(e.name).c_str())) << e.name;
    } else {
      ASSERT_TRUE(testutil::WriteFileBytes(dir.Path(e.name), "x")) << e.name;
    }
    if (e.set) {
      ASSERT_TRUE(os::Fs().SetAttributes(dir.Path(e.name).c_str(), e.set)) << e.name;
    }
  }
  int found = 0;
  os::FindData fd;
  auto f = os::Fs().FindFirst(dir.Path("*").c_str(), fd);
  ASSERT_TRUE(f);
  do {
    const std::string name = fd.name;
    if (name == "plain.txt") {
      EXPECT_EQ(fd.attributes, static_cast<uint32_t>(os::kAttrArchive));
      ++found;
    }
    for (const Entry& e : entries) {
      if (name != e.name) continue;
      ++found;
      const uint32_t base = e.directory ? os::kAttrDirectory : os::kAttrArchive;
      // Windows may add ARCHIVE to a directory; the stored bits must be exactly these.
      EXPECT_EQ(fd.attributes & ~os::kAttrArchive, (base | e.set) & ~os::kAttrArchive) << name;
      EXPECT_EQ(fd.attributes & base, base) << name;
    }
  } while (f->Next(fd));
  EXPECT_EQ(found, 7);
}

#ifndef _WIN32
// A leading dot means nothing on Windows. (Wine reports Unix dot files as hidden unless
// ShowDotFiles is set, so this is checked on the emulation only.)
TEST(FileSystemTest, DotFilesAreNotHidden) {
  TempDir dir;
  ASSERT_TRUE(testutil::WriteFileBytes(dir.Path(".profile"), "x"));
  EXPECT_EQ(os::Fs().GetAttributes(dir.Path(".profile").c_str()),
            static_cast<uint32_t>(os::kAttrArchive));
}
#endif

TEST(FileSystemTest, AttributeErrors) {
  TempDir dir;
  ASSERT_TRUE(testutil::WriteFileBytes(dir.Path("file.txt"), "x"));
  struct Case {
    std::string path;
    uint32_t error;
  } cases[] = {
      {dir.Path("missing.txt"), os::kErrFileNotFound},
      {dir.Path("missing\\x.txt"), os::kErrPathNotFound},
      {dir.Path("file.txt\\x"), os::kErrPathNotFound},
      {dir.Path("a*b"), os::kErrInvalidName},
      {dir.Path("a?b"), os::kErrInvalidName},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(os::Fs().GetAttributes(c.path.c_str()), os::kInvalidAttributes) << c.path;
    EXPECT_EQ(os::LastError(), c.error) << c.path;
  }
}

TEST(FileSystemTest, OpenDispositions) {
  struct Case {
    const char* what;
    bool exists;
    uint32_t disposition;
    bool ok;
    uint32_t error;  // LastError after the call
    const char* contentAfter;
  } cases[] = {
      {"create new, missing", false, os::kCreateNew, true, 0, ""},
      {"create new, existing", true, os::kCreateNew, false, os::kErrFileExists, "old"},
      {"create always, missing", false, os::kCreateAlways, true, 0, ""},
      {"create always, existing", true, os::kCreateAlways, true, os::kErrAlreadyExists, ""},
      {"open existing, missing", false, os::kOpenExisting, false, os::kErrFileNotFound, nullptr},
      {"open existing, existing", true, os::kOpenExisting, true, 0, "old"},
      {"open always, missing", false, os::kOpenAlways, true, 0, ""},
      {"open always, existing", true, os::kOpenAlways, true, os::kErrAlreadyExists, "old"},
      {"truncate, missing", false, os::kTruncateExisting, false, os::kErrFileNotFound, nullptr},
      {"truncate, existing", true, os::kTruncateExisting, true, 0, ""},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.Path("f.txt");
    if (c.exists) {
      ASSERT_TRUE(testutil::WriteFileBytes(path, "old"));
    }
    os::SetLastError(12345);
    auto f = os::Fs().Open(path.c_str(), kRW, os::kShareRead, c.disposition);
    EXPECT_EQ(f != nullptr, c.ok) << c.what;
    EXPECT_EQ(os::LastError(), c.error) << c.what;
    f.reset();
    if (c.contentAfter)
      EXPECT_EQ(testutil::ReadFileBytes(path), c.contentAfter) << c.what;
    else
      EXPECT_FALSE(testutil::FileExists(path)) << c.what;
  }
}

TEST(FileSystemTest, OpenRefusals) {
  TempDir dir;
  const std::string ro = dir.Path("ro.txt");
  ASSERT_TRUE(testutil::WriteFileBytes(ro, "data"));
  ASSERT_TRUE(os::Fs().SetAttributes(ro.c_str(), os::kAttrReadOnly));
  struct Case {
    std::string path;
    uint32_t access, disposition;
    uint32_t error;
  } cases[] = {
      {ro, os::kGenericWrite, os::kOpenExisting, os::kErrAccessDenied},
      {ro, kRW, os::kCreateAlways, os::kErrAccessDenied},
      {NoSlash(dir.Dir()), os::kGenericRead, os::kOpenExisting, os::kErrAccessDenied},
      {dir.Path("missing\\f.txt"), os::kGenericWrite, os::kCreateAlways, os::kErrPathNotFound},
      {dir.Path("missing\\f.txt"), os::kGenericRead, os::kOpenExisting, os::kErrPathNotFound},
      {dir.Path("bad*name"), os::kGenericWrite, os::kCreateAlways, os::kErrInvalidName},
  };
  for (const Case& c : cases) {
#ifdef _WIN32
    // Wine lets root write read-only files (the test run is root under CI); Windows does not.
    if (c.path == ro) continue;
#endif
    EXPECT_EQ(os::Fs().Open(c.path.c_str(), c.access, os::kShareRead, c.disposition), nullptr)
        << c.path;
    EXPECT_EQ(os::LastError(), c.error) << c.path;
  }
  // Reading a read-only file is fine, and it is left intact.
  EXPECT_NE(os::Fs().Open(ro.c_str(), os::kGenericRead, os::kShareRead, os::kOpenExisting),
            nullptr);
  EXPECT_EQ(testutil::ReadFileBytes(ro), "data");
  os::Fs().SetAttributes(ro.c_str(), 0);
}

TEST(FileSystemTest, ShareModesBetweenOpeners) {
  constexpr uint32_t R = os::kGenericRead, W = os::kGenericWrite;
  constexpr uint32_t SR = os::kShareRead, SW = os::kShareWrite, SRW = SR | SW;
  struct Case {
    uint32_t access1, share1, access2, share2;
    bool secondOk;
  } cases[] = {
      {R | W, SR, R | W, SR, false},  // the configuration lock
      {R, SR, R, SR, true},
      {R, SR, W, SRW, false},         // the first does not share writing
      {R, SRW, W, SRW, true},
      {W, SR, R, SR, false},          // the second does not share the first's writing
      {W, SRW, R, SR, false},
      {R, 0, R, SRW, false},
      {R, SRW, R, 0, false},
      {W, SRW, W, SRW, true},
  };
  TempDir dir;
  const std::string path = dir.Path("shared.dat");
  ASSERT_TRUE(testutil::WriteFileBytes(path, "x"));
  for (const Case& c : cases) {
    auto first = os::Fs().Open(path.c_str(), c.access1, c.share1, os::kOpenExisting);
    ASSERT_TRUE(first);
    auto second = os::Fs().Open(path.c_str(), c.access2, c.share2, os::kOpenExisting);
    EXPECT_EQ(second != nullptr, c.secondOk)
        << c.access1 << "/" << c.share1 << " then " << c.access2 << "/" << c.share2;
    if (!c.secondOk) {
      EXPECT_EQ(os::LastError(), static_cast<uint32_t>(os::kErrSharingViolation));
      // Once the first handle is closed the same open succeeds.
      first.reset();
      EXPECT_TRUE(os::Fs().Open(path.c_str(), c.access2, c.share2, os::kOpenExisting));
    }
  }
}

TEST(FileSystemTest, DeleteAndMoveRespectShareDelete) {
  TempDir dir;
  const std::string path = dir.Path("busy.txt");
  ASSERT_TRUE(testutil::WriteFileBytes(path, "x"));
  {
    auto f = os::Fs().Open(path.c_str(), os::kGenericRead, os::kShareRead | os::kShareWrite,
                           os::kOpenExisting);
    ASSERT_TRUE(f);
    EXPECT_FALSE(os::Fs().DeleteFile(path.c_str()));
    EXPECT_EQ(os::LastError(), static_cast<uint32_t>(os::kErrSharingViolation));
    EXPECT_FALSE(os::Fs().MoveFile(path.c_str(), dir.Path("moved.txt").c_str()));
    EXPECT_EQ(os::LastError(), static_cast<uint32_t>(os::kErrSharingViolation));
  }
  {
    auto f = os::Fs().Open(path.c_str(), os::kGenericRead,
                           os::kShareRead | os::kShareWrite | os::kShareDelete, os::kOpenExisting);
    ASSERT_TRUE(f);
    EXPECT_TRUE(os::Fs().MoveFile(path.c_str(), dir.Path("moved.txt").c_str()));
  }
  EXPECT_TRUE(os::Fs().DeleteFile(dir.Path("moved.txt").c_str()));
}

#ifndef _WIN32
// Share modes hold between processes too: a child cannot take the lock the parent holds.
TEST(FileSystemTest, ShareModesAcrossProcesses) {
  TempDir dir;
  const std::string path = dir.Path("smlock");
  ASSERT_TRUE(testutil::WriteFileBytes(path, ""));
  auto held = os::Fs().Open(path.c_str(), kRW, os::kShareRead, os::kOpenExisting);
  ASSERT_TRUE(held);
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    auto f = os::Fs().Open(path.c_str(), kRW, os::kShareRead, os::kOpenExisting);
    _exit(!f && os::LastError() == os::kErrSharingViolation ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
#endif

TEST(FileSystemTest, ReadWriteSeekAndEnd) {
  TempDir dir;
  const std::string path = dir.Path("rw.bin");
  auto f = os::Fs().Open(path.c_str(), kRW, 0, os::kCreateNew);
  ASSERT_TRUE(f);
  uint32_t done = 0;
  ASSERT_TRUE(f->Write("hello world", 11, &done));
  EXPECT_EQ(done, 11u);
  uint64_t size = 0;
  ASSERT_TRUE(f->Size(&size));
  EXPECT_EQ(size, 11u);
  ASSERT_TRUE(f->Seek(6));
  char buf[16] = {};
  ASSERT_TRUE(f->Read(buf, sizeof(buf), &done));
  EXPECT_EQ(std::string(buf, done), "world");
  ASSERT_TRUE(f->Read(buf, sizeof(buf), &done));  // at the end: success, nothing read
  EXPECT_EQ(done, 0u);
  ASSERT_TRUE(f->Seek(5));
  ASSERT_TRUE(f->SetEnd());
  ASSERT_TRUE(f->Size(&size));
  EXPECT_EQ(size, 5u);
  // Seeking past the end and writing leaves a gap of zeros.
  ASSERT_TRUE(f->Seek(8));
  ASSERT_TRUE(f->Write("!", 1, &done));
  f.reset();
  EXPECT_EQ(testutil::ReadFileBytes(path), std::string("hello\0\0\0!", 9));

  auto ro = os::Fs().Open(path.c_str(), os::kGenericRead, os::kShareRead, os::kOpenExisting);
  ASSERT_TRUE(ro);
  EXPECT_FALSE(ro->Write("x", 1, &done));
  EXPECT_EQ(os::LastError(), static_cast<uint32_t>(os::kErrAccessDenied));
  EXPECT_EQ(done, 0u);
  EXPECT_FALSE(ro->SetEnd());
  auto wo = os::Fs().Open(path.c_str(), os::kGenericWrite, os::kShareRead, os::kOpenExisting);
  ASSERT_FALSE(wo);  // the read-only handle above does not share writing
  ro.reset();
  wo = os::Fs().Open(path.c_str(), os::kGenericWrite, os::kShareRead, os::kOpenExisting);
  ASSERT_TRUE(wo);
  EXPECT_FALSE(wo->Read(buf, 1, &done));
  EXPECT_EQ(os::LastError(), static_cast<uint32_t>(os::kErrAccessDenied));
}

TEST(FileSystemTest, TimesRoundTrip) {
  TempDir dir;
  const std::string path = dir.Path("t.txt");
  ASSERT_TRUE(testutil::WriteFileBytes(path, "x"));
  // 2001-02-03 04:05:06.5 UTC
  const os::FileTime when = 126255135065000000ULL;
  {
    auto f = os::Fs().Open(path.c_str(), os::kGenericWrite, os::kShareRead, os::kOpenExisting);
    ASSERT_TRUE(f);
    ASSERT_TRUE(f->SetTimes(nullptr, nullptr, &when));
    os::FileTime write = 0;
    ASSERT_TRUE(f->GetTimes(nullptr, nullptr, &write));
    EXPECT_EQ(write, when);
  }
  os::FindData fd;
  auto finder = os::Fs().FindFirst(path.c_str(), fd);
  ASSERT_TRUE(finder);
  EXPECT_EQ(fd.lastWriteTime, when);
}

// A file or a directory is opened to change its times, unshared; the listing shows the new
// time.
TEST(FileSystemTest, OpenForTimesTakesFilesAndDirectories) {
  TempDir dir;
  ASSERT_TRUE(testutil::WriteFileBytes(dir.Path("f.txt"), "x"));
  ASSERT_TRUE(os::Fs().CreateDir(dir.Path("sub").c_str()));
  const os::FileTime when = 126255135060000000ULL;  // 2001-02-03 04:05:06 UTC
  for (const char* name : {"f.txt", "sub"}) {
    const std::string path = dir.Path(name);
    {
      auto f = os::Fs().OpenForTimes(path.c_str());
      ASSERT_TRUE(f) << name << " error " << os::LastError();
      ASSERT_TRUE(f->SetTimes(nullptr, nullptr, &when)) << name;
      if (std::strcmp(name, "f.txt") == 0) {
        EXPECT_EQ(os::Fs().Open(path.c_str(), os::kGenericRead,
                                os::kShareRead | os::kShareWrite, os::kOpenExisting),
                  nullptr);
        EXPECT_EQ(os::LastError(), os::kErrSharingViolation);
      }
    }
    os::FindData fd;
    auto finder = os::Fs().FindFirst(path.c_str(), fd);
    ASSERT_TRUE(finder) << name;
    EXPECT_EQ(fd.lastWriteTime, when) << name;
  }
  struct Case {
    std::string path;
    uint32_t error;
  } refused[] = {
      {dir.Path("missing.txt"), os::kErrFileNotFound},
      {dir.Path("missing\\f.txt"), os::kErrPathNotFound},
  };
  for (const Case& c : refused) {
    EXPECT_EQ(os::Fs().OpenForTimes(c.path.c_str()), nullptr) << c.path;
    EXPECT_EQ(os::LastError(), c.error) << c.path;
  }
}

TEST(FileSystemTest, IdentityTellsFilesAndDirectoriesApart) {
  TempDir dir;
  ASSERT_TRUE(testutil::WriteFileBytes(dir.Path("f.txt"), "x"));
  ASSERT_TRUE(testutil::WriteFileBytes(dir.Path("g.txt"), "x"));
  ASSERT_TRUE(os::Fs().CreateDir(dir.Path("sub").c_str()));
  ASSERT_TRUE(os::Fs().CreateDir(dir.Path("other").c_str()));
  const struct Case {
    std::string first, second;
    bool same;
  } cases[] = {
      {dir.Path("f.txt"), dir.Path("F.TXT"), true},
      {dir.Path("f.txt"), dir.Path("sub\\..\\f.txt"), true},
      {dir.Path("sub"), dir.Path("SUB\\"), true},
      {dir.Path("sub"), dir.Path("other\\..\\sub"), true},
      {dir.Path("f.txt"), dir.Path("g.txt"), false},
      {dir.Path("sub"), dir.Path("other"), false},
      {dir.Path("sub"), dir.Path("f.txt"), false},
  };
  for (const Case& c : cases) {
    os::FileIdentity a, b;
    ASSERT_TRUE(os::Fs().GetIdentity(c.first.c_str(), a)) << c.first << " " << os::LastError();
    ASSERT_TRUE(os::Fs().GetIdentity(c.second.c_str(), b)) << c.second;
    EXPECT_EQ(a == b, c.same) << c.first << " / " << c.second;
  }
  // Asking changes nothing: the file keeps its times and can be opened unshared at once.
  os::FindData before, after;
  ASSERT_TRUE(os::Fs().FindFirst(dir.Path("f.txt").c_str(), before));
  os::FileIdentity id;
  ASSERT_TRUE(os::Fs().GetIdentity(dir.Path("f.txt").c_str(), id));
  ASSERT_TRUE(os::Fs().FindFirst(dir.Path("f.txt").c_str(), after));
  EXPECT_EQ(after.lastWriteTime, before.lastWriteTime);
  EXPECT_TRUE(os::Fs().Open(dir.Path("f.txt").c_str(), kRW, os::kShareNone, os::kOpenExisting));
  const struct Refused {
    std::string path;
    uint32_t error;
  } refused[] = {
      {dir.Path("missing.txt"), os::kErrFileNotFound},
      {dir.Path("missing\\f.txt"), os::kErrPathNotFound},
  };
  for (const Refused& c : refused) {
    EXPECT_FALSE(os::Fs().GetIdentity(c.path.c_str(), id)) << c.path;
    EXPECT_EQ(os::LastError(), c.error) << c.path;
  }
}

TEST(FileSystemTest, WritingToAFullDiskFails) {
  auto f = os::Fs().Open("Z:\\dev\\full", os::kGenericWrite, os::kShareRead | os::kShareWrite,
                         os::kOpenExisting);
  if (!f) GTEST_SKIP() << "no /dev/full";
  uint32_t done = 99;
  EXPECT_FALSE(f->Write("data", 4, &done));
  EXPECT_EQ(os::LastError(), static_cast<uint32_t>(os::kErrDiskFull));
  EXPECT_EQ(done, 0u);
}

TEST(FileSystemTest, DirectoriesAndDeletion) {
  TempDir dir;
  const std::string sub = dir.Path("sub");
  const std::string file = dir.Path("sub\\f.txt");
  ASSERT_TRUE(os::Fs().CreateDir(sub.c_str()));
  ASSERT_TRUE(testutil::WriteFileBytes(file, "x"));
  EXPECT_EQ(ErrorOf(os::Fs().CreateDir(sub.c_str())), static_cast<uint32_t>(os::kErrAlreadyExists));
  EXPECT_EQ(ErrorOf(os::Fs().CreateDir(file.c_str())), static_cast<uint32_t>(os::kErrAlreadyExists));
  EXPECT_EQ(ErrorOf(os::Fs().CreateDir(dir.Path("no\\x").c_str())),
            static_cast<uint32_t>(os::kErrPathNotFound));
  EXPECT_EQ(ErrorOf(os::Fs().RemoveDir(sub.c_str())), static_cast<uint32_t>(os::kErrDirNotEmpty));
  EXPECT_EQ(ErrorOf(os::Fs().RemoveDir(file.c_str())), static_cast<uint32_t>(os::kErrDirectory));
  EXPECT_EQ(ErrorOf(os::Fs().DeleteFile(sub.c_str())), static_cast<uint32_t>(os::kErrAccessDenied));
  EXPECT_EQ(ErrorOf(os::Fs().DeleteFile(dir.Path("none").c_str())),
            static_cast<uint32_t>(os::kErrFileNotFound));

  ASSERT_TRUE(os::Fs().SetAttributes(file.c_str(), os::kAttrReadOnly));
  EXPECT_EQ(ErrorOf(os::Fs().DeleteFile(file.c_str())), static_cast<uint32_t>(os::kErrAccessDenied));
  ASSERT_TRUE(os::Fs().SetAttributes(file.c_str(), 0));
  EXPECT_TRUE(os::Fs().DeleteFile(file.c_str()));
  EXPECT_TRUE(os::Fs().RemoveDir(sub.c_str()));
  EXPECT_FALSE(testutil::FileExists(sub));
}

TEST(FileSystemTest, MoveFile) {
  TempDir dir;
  const std::string a = dir.Path("a.txt"), b = dir.Path("b.txt");
  ASSERT_TRUE(testutil::WriteFileBytes(a, "A"));
  ASSERT_TRUE(testutil::WriteFileBytes(b, "B"));
  ASSERT_TRUE(os::Fs().CreateDir(dir.Path("d").c_str()));
  ASSERT_TRUE(testutil::WriteFileBytes(dir.Path("d\\in.txt"), "in"));
  struct Case {
    std::string from, to;
    uint32_t error;
  } cases[] = {
      {a, b, os::kErrAlreadyExists},
      {a, dir.Path("d"), os::kErrAlreadyExists},
      {dir.Path("none"), dir.Path("x"), os::kErrFileNotFound},
      {a, dir.Path("nodir\\x.txt"), os::kErrPathNotFound},
      {a, dir.Path("x*.txt"), os::kErrInvalidName},
      {dir.Path("d"), dir.Path("d\\inner"), os::kErrInvalidParameter},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorOf(os::Fs().MoveFile(c.from.c_str(), c.to.c_str())), c.error)
        << c.from << " -> " << c.to;
  }
  EXPECT_EQ(testutil::ReadFileBytes(b), "B");
  EXPECT_TRUE(os::Fs().MoveFile(a.c_str(), a.c_str()));  // onto itself
  EXPECT_EQ(testutil::ReadFileBytes(a), "A");

  // A rename may change only the case.
  ASSERT_TRUE(os::Fs().MoveFile(a.c_str(), dir.Path("A.TXT").c_str()));
  EXPECT_EQ(testutil::ReadFileBytes(dir.Path("A.TXT")), "A");
#ifndef _WIN32  // Wine keeps the old case on disk
  os::FindData fd;
  auto f = os::Fs().FindFirst(dir.Path("a.txt").c_str(), fd);
  ASSERT_TRUE(f);
  EXPECT_STREQ(fd.name, "A.TXT");
#endif

  // Directories move with their contents.
  ASSERT_TRUE(os::Fs().MoveFile(dir.Path("d").c_str(), dir.Path("e").c_str()));
  EXPECT_EQ(testutil::ReadFileBytes(dir.Path("e\\in.txt")), "in");
}

TEST(FileSystemTest, ReplaceFile) {
  TempDir dir;
  const std::string a = dir.Path("new.tmp"), b = dir.Path("target.txt");
  ASSERT_TRUE(testutil::WriteFileBytes(a, "new"));
  ASSERT_TRUE(testutil::WriteFileBytes(b, "old"));
  ASSERT_TRUE(os::Fs().ReplaceFile(a.c_str(), b.c_str()));
  EXPECT_EQ(testutil::ReadFileBytes(b), "new");
  EXPECT_FALSE(testutil::FileExists(a));
  // Onto a missing name it is a plain move.
  ASSERT_TRUE(os::Fs().ReplaceFile(b.c_str(), a.c_str()));
  EXPECT_EQ(testutil::ReadFileBytes(a), "new");
  // Never over a directory.
  ASSERT_TRUE(os::Fs().CreateDir(dir.Path("d").c_str()));
  EXPECT_EQ(ErrorOf(os::Fs().ReplaceFile(a.c_str(), dir.Path("d").c_str())),
            static_cast<uint32_t>(os::kErrAccessDenied));
  EXPECT_EQ(ErrorOf(os::Fs().ReplaceFile(dir.Path("none").c_str(), b.c_str())),
            static_cast<uint32_t>(os::kErrFileNotFound));
}

TEST(FileSystemTest, DrivesAndFreeSpace) {
  TempDir dir;
  const std::string root = dir.Dir().substr(0, 3);
  EXPECT_EQ(os::Fs().GetDriveType(root.c_str()), static_cast<uint32_t>(os::kDriveFixed));
  EXPECT_EQ(os::Fs().GetDriveType("Z:\\"), static_cast<uint32_t>(os::kDriveFixed));
  EXPECT_EQ(os::Fs().GetDriveType("Q:\\"), static_cast<uint32_t>(os::kDriveNoRootDir));
  const uint32_t drives = os::Fs().GetLogicalDrives();
  EXPECT_NE(drives & (1u << 25), 0u);
  EXPECT_NE(drives & (1u << ((root[0] & ~0x20) - 'A')), 0u);
  EXPECT_EQ(drives & (1u << ('Q' - 'A')), 0u);

  uint64_t freeBytes = 0, total = 0;
  ASSERT_TRUE(os::Fs().GetDiskFree(dir.Dir().c_str(), &freeBytes, &total));
  EXPECT_GT(total, 0u);
  EXPECT_LE(freeBytes, total);
  EXPECT_TRUE(os::Fs().GetDiskFree(dir.Dir().c_str(), nullptr, &total));  // outputs optional
}

#ifndef _WIN32
// SORM_DRIVE_X maps another drive letter onto a host directory.
TEST(FileSystemTest, MappedDriveLetters) {
  TempDir dir;
  const std::string host = os::posix::ToHostPath(dir.Dir().c_str());
  setenv("SORM_DRIVE_Y", host.c_str(), 1);
  EXPECT_TRUE(testutil::WriteFileBytes("Y:\\mapped.txt", "m"));
  EXPECT_EQ(testutil::ReadFileBytes(dir.Path("mapped.txt")), "m");
  EXPECT_NE(os::Fs().GetLogicalDrives() & (1u << 24), 0u);
  EXPECT_EQ(os::Fs().GetDriveType("Y:\\"), static_cast<uint32_t>(os::kDriveFixed));
  EXPECT_EQ(os::posix::ToWinPath(host + "/x"), "Y:\\x");
  unsetenv("SORM_DRIVE_Y");
  EXPECT_EQ(os::Fs().GetAttributes("Y:\\mapped.txt"), os::kInvalidAttributes);
}
#endif

}  // namespace
