// One write per destination path in a command: on a folder that tells case apart, `A.txt` and
// `a.txt` lead to one destination where the file system does not. Moved together with
// "overwrite all", the second must not replace the first (a move then deletes both sources,
// and the first file's bytes exist nowhere): every original content stays somewhere.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>

#include "fileops/engine.h"
#include "tests/unit/engine_test_support.h"

#ifndef _WIN32
#include <dirent.h>

#include "os/posix/path_map.h"

namespace {

using enginetest::ScriptedOverwrite;

// Case twins can only be made below the Win32 layer (it would open the existing file).
void MakeHostFile(const std::string& winDir, const char* name, const std::string& bytes) {
  const std::string path = os::posix::ToHostPath(winDir.c_str()) + "/" + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// The contents of every file below a folder, read on the host (twins included).
void CollectContents(const std::string& hostDir, std::multiset<std::string>& out) {
  DIR* d = opendir(hostDir.c_str());
  if (!d) return;
  while (dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = hostDir + "/" + name;
    if (DIR* sub = opendir(path.c_str())) {
      closedir(sub);
      CollectContents(path, out);
      continue;
    }
    std::string bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
      char buf[256];
      size_t n;
      while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
      std::fclose(f);
    }
    out.insert(bytes);
  }
  closedir(d);
}

std::multiset<std::string> ContentsBelow(const std::string& winDir) {
  std::multiset<std::string> out;
  CollectContents(os::posix::ToHostPath(winDir.c_str()), out);
  return out;
}

}  // namespace

TEST(EngineWrittenTwiceTest, CaseTwinsKeepEveryContent) {
  using Run = std::function<void(const fileops::OperationUi&, const std::string& src,
                                 const std::string& dst, char* buffer)>;
  // Each way a command hands the twins to the engine: per selected file (move by rename, move
  // by copy, copy), or a folder holding both (tree move onto an existing folder, tree copy).
  const auto perFile = [](auto call) -> Run {
    return [call](const fileops::OperationUi& ui, const std::string& src, const std::string& dst,
                  char* buffer) {
      for (const char* name : {"A.txt", "a.txt"})
        call(ui, (src + name).c_str(), (dst + name).c_str(), buffer);
    };
  };
  struct Case {
    const char* what;
    Run run;
    size_t leftInSource;  // a copy leaves both; a tree move whose copy failed deletes nothing
  } cases[] = {
      {"move by rename", perFile([](const fileops::OperationUi& ui, const char* s, const char* d,
                                    char* b) {
         fileops::MoveOneFile(ui, s, d, b, fileops::kCopyBufferSize, true);
       }), 1},
      {"move by copy", perFile([](const fileops::OperationUi& ui, const char* s, const char* d,
                                  char* b) {
         fileops::MoveOneFile(ui, s, d, b, fileops::kCopyBufferSize, false);
       }), 1},
      {"copy", perFile([](const fileops::OperationUi& ui, const char* s, const char* d, char* b) {
         fileops::CopyOneFile(ui, s, d, b, fileops::kCopyBufferSize);
       }), 2},
      {"tree move", [](const fileops::OperationUi& ui, const std::string& src,
                       const std::string& dst, char* b) {
         ASSERT_TRUE(os::Fs().CreateDir((dst + "tree").c_str()));
         std::string s = src.substr(0, src.size() - 1);
         fileops::MoveTree(ui, s.c_str(), (dst + "tree").c_str(), b, fileops::kCopyBufferSize);
       }, 2},
      {"tree copy", [](const fileops::OperationUi& ui, const std::string& src,
                       const std::string& dst, char* b) {
         std::string s = src.substr(0, src.size() - 1);
         fileops::CopyTree(ui, s.c_str(), (dst + "tree").c_str(), b, fileops::kCopyBufferSize);
       }, 2},
  };
  for (const Case& c : cases) {
    testutil::TempDir dir;
    const std::string src = dir.Path("src\\"), dst = dir.Path("dst\\");
    ASSERT_TRUE(os::Fs().CreateDir(dir.Path("src").c_str()));
    ASSERT_TRUE(os::Fs().CreateDir(dir.Path("dst").c_str()));
    MakeHostFile(dir.Path("src"), "A.txt", "AAAA");
    MakeHostFile(dir.Path("src"), "a.txt", "BBBBBB");
    ScriptedOverwrite overwrite({fileops::kOverwriteAll, fileops::kOverwriteAll});
    fileops::WrittenPaths written;
    fileops::OperationUi ui = enginetest::Ui();
    ui.written = &written;
    std::string buffer(fileops::kCopyBufferSize, '\0');
    c.run(ui, src, dst, buffer.data());

    // Every original content still exists, and the refused twin stayed in the source.
    const std::multiset<std::string> all = ContentsBelow(dir.Dir());
    EXPECT_GE(all.count("AAAA"), 1u) << c.what;
    EXPECT_GE(all.count("BBBBBB"), 1u) << c.what;
    EXPECT_EQ(ContentsBelow(src).size(), c.leftInSource) << c.what;
    EXPECT_EQ(written.LastRefusal().second, src + "a.txt") << c.what;
    EXPECT_EQ(fileops::LastCopyError(), fileops::kErrnoWrittenTwice) << c.what;
  }
}
#endif

TEST(EngineWrittenTwiceTest, LedgerFoldsCaseAndCoversMovedTrees) {
  fileops::WrittenPaths w;
  EXPECT_TRUE(w.ClaimFile("C:\\d\\Makefile", "C:\\s\\Makefile"));
  // The same source again (the copy under a move) is no second write.
  EXPECT_TRUE(w.ClaimFile("C:\\d\\Makefile", "C:\\s\\Makefile"));
  EXPECT_FALSE(w.ClaimFile("C:\\D\\makefile", "C:\\s\\makefile"));
  EXPECT_EQ(w.LastRefusal().first, "C:\\s\\Makefile");
  EXPECT_EQ(w.LastRefusal().second, "C:\\s\\makefile");
  EXPECT_TRUE(w.ClaimFile("C:\\d\\Makefile2", "C:\\s\\x"));
  // A folder moved in whole covers everything below it; its neighbours stay free.
  EXPECT_TRUE(w.ClaimTree("C:\\d\\Photos", "C:\\a\\Photos"));
  EXPECT_FALSE(w.IsFree("C:\\d\\photos\\1.jpg", "C:\\b\\photos\\1.jpg"));
  EXPECT_FALSE(w.ClaimTree("C:\\d\\PHOTOS", "C:\\b\\PHOTOS"));
  EXPECT_TRUE(w.IsFree("C:\\d\\Photos2\\1.jpg", "C:\\b\\1.jpg"));
  // Double-byte names: a trail byte 0x5C is no separator, and the full-width letters fold.
  EXPECT_TRUE(w.ClaimTree("C:\\d\\表", "C:\\s\\表"));
  EXPECT_TRUE(w.IsFree("C:\\d\\表x", "C:\\t\\表x"));
  EXPECT_FALSE(w.IsFree("C:\\d\\表\\x", "C:\\t\\x"));
  EXPECT_TRUE(w.ClaimFile("C:\\d\\ＡＢ.txt", "C:\\s\\ＡＢ.txt"));
  EXPECT_FALSE(w.ClaimFile("C:\\d\\ａｂ.txt", "C:\\s\\ａｂ.txt"));
}
