// os::Registry through os::Reg(): default values, enumeration, deletion and their return codes,
// under a key of its own in HKEY_CURRENT_USER that every test removes again.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "os/last_error.h"
#include "os/services.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "os/posix/path_map.h"
#include "tests/unit/test_util.h"
#endif

namespace {

constexpr uint32_t kBadPathname = 161;
constexpr uint32_t kKeyDeleted = 1018;

// A fresh key "Software\SormTest<n>" removed with its subkeys at the end.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[64];
    std::snprintf(name, sizeof(name), "Software\\SormTest%u_%d", os::Sys().TickCount(),
                  counter_++);
    base_ = name;
    uint32_t e = 1;
    key_ = os::Reg().CreateKey(os::RegRoot::kCurrentUser, base_.c_str(), &e);
    ASSERT_TRUE(key_);
    ASSERT_EQ(e, 0u);
  }
  void TearDown() override {
    key_.reset();
    DeleteTree(base_);
  }

  static void DeleteTree(const std::string& path) {
    uint32_t e = 0;
    auto k = os::Reg().OpenKey(os::RegRoot::kCurrentUser, path.c_str(), &e);
    if (!k) return;
    char sub[256];
    std::vector<std::string> subs;
    for (uint32_t i = 0; k->EnumKey(i, sub, sizeof(sub)) == 0; ++i) subs.push_back(sub);
    k.reset();
    for (const auto& s : subs) DeleteTree(path + "\\" + s);
    os::Reg().DeleteKey(os::RegRoot::kCurrentUser, path.c_str());
  }

  std::string Query(const char* sub, uint32_t* error = nullptr) {
    char buf[256] = "#";
    int32_t size = sizeof(buf);
    uint32_t e = key_->QueryValue(sub, buf, &size);
    if (error) *error = e;
    return e == 0 ? std::string(buf) : std::string("<error>");
  }

  std::vector<std::string> Subkeys() {
    std::vector<std::string> out;
    char sub[256];
    uint32_t i = 0, e;
    while ((e = key_->EnumKey(i++, sub, sizeof(sub))) == 0) out.push_back(sub);
    EXPECT_EQ(e, static_cast<uint32_t>(os::kErrNoMoreItems));
    return out;
  }

  std::string base_;
  std::unique_ptr<os::RegKey> key_;
  static int counter_;
};
int RegistryTest::counter_ = 0;

TEST_F(RegistryTest, SetAndQueryDefaultValues) {
  ASSERT_EQ(key_->SetValue("shell\\open\\command", "notepad.exe \"%1\""), 0u);
  EXPECT_EQ(Query("shell\\open\\command"), "notepad.exe \"%1\"");
  EXPECT_EQ(Query("SHELL\\Open\\COMMAND"), "notepad.exe \"%1\"");  // names ignore case
  // A key without a value reads as an empty string; a missing key is an error.
  EXPECT_EQ(Query("shell"), "");
  uint32_t e = 0;
  Query("nope", &e);
  EXPECT_EQ(e, static_cast<uint32_t>(os::kErrFileNotFound));
  // Values may be replaced, may be empty, and may hold CP932 text ending in a "\" byte.
  ASSERT_EQ(key_->SetValue("shell", "表"), 0u);
  EXPECT_EQ(Query("shell"), "表");
  ASSERT_EQ(key_->SetValue(nullptr, ""), 0u);
  EXPECT_EQ(Query(nullptr), "");
  ASSERT_EQ(key_->SetValue("", "self"), 0u);
  EXPECT_EQ(Query(""), "self");
}

TEST_F(RegistryTest, QueryValueSizes) {
  ASSERT_EQ(key_->SetValue("v", "hello"), 0u);
  char buf[16] = "#";
  int32_t size = 3;
  EXPECT_EQ(key_->QueryValue("v", buf, &size), static_cast<uint32_t>(os::kErrMoreData));
  EXPECT_EQ(size, 6);  // the terminator counts
  size = 0;
  EXPECT_EQ(key_->QueryValue("v", nullptr, &size), 0u);
  EXPECT_EQ(size, 6);
  size = 6;
  EXPECT_EQ(key_->QueryValue("v", buf, &size), 0u);
  EXPECT_STREQ(buf, "hello");
  EXPECT_EQ(size, 6);
  size = sizeof(buf);
  EXPECT_EQ(key_->QueryValue("novalue_missing", buf, &size),
            static_cast<uint32_t>(os::kErrFileNotFound));
}

TEST_F(RegistryTest, OpenAndCreatePaths) {
  ASSERT_EQ(key_->SetValue("a\\b", "x"), 0u);
  struct Case {
    std::string path;
    uint32_t error;
  } cases[] = {
      {base_ + "\\a\\b", 0},
      {base_ + "\\A\\B", 0},
      {base_ + "\\a\\b\\", 0},     // a trailing backslash is ignored
      {base_ + "\\\\a", 0},        // so is a doubled one
      {base_ + "\\a\\c", os::kErrFileNotFound},
      {base_ + "\\c\\b", os::kErrFileNotFound},
      {"\\" + base_, kBadPathname},
  };
  for (const Case& c : cases) {
    uint32_t e = 12345;
    auto k = os::Reg().OpenKey(os::RegRoot::kCurrentUser, c.path.c_str(), &e);
    EXPECT_EQ(e, c.error) << c.path;
    EXPECT_EQ(k != nullptr, c.error == 0) << c.path;
  }
  uint32_t e = 1;
  auto k = os::Reg().CreateKey(os::RegRoot::kCurrentUser, (base_ + "\\n1\\n2").c_str(), &e);
  ASSERT_TRUE(k);
  EXPECT_EQ(e, 0u);
  EXPECT_EQ(k->SetValue(nullptr, "deep"), 0u);
  EXPECT_EQ(Query("n1\\n2"), "deep");
}

TEST_F(RegistryTest, EnumKeysInNameOrder) {
  for (const char* n : {"zeta", "Alpha", "beta", "_u", "B2"})
    ASSERT_EQ(key_->SetValue(n, "v"), 0u);
  EXPECT_EQ(Subkeys(), (std::vector<std::string>{"_u", "Alpha", "B2", "beta", "zeta"}));
  char small[3];
  EXPECT_EQ(key_->EnumKey(1, small, sizeof(small)), static_cast<uint32_t>(os::kErrMoreData));
  char buf[16];
  EXPECT_EQ(key_->EnumKey(5, buf, sizeof(buf)), static_cast<uint32_t>(os::kErrNoMoreItems));
}

// An empty or null path opens the root itself, whose subkeys can then be listed; closing that
// key leaves the root usable.
TEST_F(RegistryTest, RootKeyEnumeratesItsSubkeys) {
  const std::string classKey = "." + base_.substr(base_.find('\\') + 1);
  ASSERT_EQ(key_->SetValue(nullptr, "v"), 0u);
  uint32_t e = 1;
  ASSERT_TRUE(os::Reg().CreateKey(os::RegRoot::kClassesRoot, classKey.c_str(), &e));
  struct Case {
    os::RegRoot root;
    const char* path;
    std::string expected;
  } cases[] = {
      {os::RegRoot::kCurrentUser, "", "software"},
      {os::RegRoot::kCurrentUser, nullptr, "software"},
      {os::RegRoot::kClassesRoot, "", classKey},
  };
  for (const Case& c : cases) {
    auto root = os::Reg().OpenKey(c.root, c.path, &e);
    ASSERT_TRUE(root) << c.expected;
    EXPECT_EQ(e, 0u);
    bool found = false;
    char name[256];
    uint32_t r = 0;
    for (uint32_t i = 0;; ++i) {
      r = root->EnumKey(i, name, sizeof(name));
      if (r == os::kErrMoreData) continue;
      if (r != 0) break;
      found = found || os::Sys().CompareNoCase(name, c.expected.c_str()) == 0;
    }
    EXPECT_EQ(r, static_cast<uint32_t>(os::kErrNoMoreItems));
    EXPECT_TRUE(found) << c.expected;
  }
  EXPECT_EQ(Query(nullptr), "v");  // the roots still work after their keys were closed
  EXPECT_EQ(os::Reg().DeleteKey(os::RegRoot::kClassesRoot, classKey.c_str()), 0u);
}

TEST_F(RegistryTest, DeleteKey) {
  ASSERT_EQ(key_->SetValue("parent\\child", "v"), 0u);
  ASSERT_EQ(key_->SetValue("leaf", "v"), 0u);
  struct Case {
    const char* sub;
    uint32_t error;
  } cases[] = {
      {"parent", os::kErrAccessDenied},  // still has a subkey
      {"missing", os::kErrFileNotFound},
      {"", os::kErrAccessDenied},
      {"parent\\child", 0},
      {"PARENT", 0},
      {"leaf\\", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(key_->DeleteKey(c.sub), c.error) << c.sub;
  EXPECT_TRUE(Subkeys().empty());
}

TEST_F(RegistryTest, HandleOfADeletedKey) {
  uint32_t e = 0;
  auto sub = os::Reg().CreateKey(os::RegRoot::kCurrentUser, (base_ + "\\gone").c_str(), &e);
  ASSERT_TRUE(sub);
  ASSERT_EQ(key_->DeleteKey("gone"), 0u);
  char buf[16];
  int32_t size = sizeof(buf);
  EXPECT_EQ(sub->QueryValue(nullptr, buf, &size), kKeyDeleted);
  EXPECT_EQ(sub->SetValue(nullptr, "x"), kKeyDeleted);
  EXPECT_EQ(sub->EnumKey(0, buf, sizeof(buf)), kKeyDeleted);
}

TEST_F(RegistryTest, RootsAreSeparate) {
  ASSERT_EQ(key_->SetValue("only_here", "v"), 0u);
  uint32_t e = 0;
  auto k = os::Reg().OpenKey(os::RegRoot::kClassesRoot, (base_ + "\\only_here").c_str(), &e);
  EXPECT_FALSE(k);
  EXPECT_EQ(e, static_cast<uint32_t>(os::kErrFileNotFound));
}

#ifndef _WIN32
// The file-backed store: several processes writing at once lose nothing, and a damaged file
// reads as whatever records survive instead of crashing.
class RegistryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("SORM_REGISTRY_DIR");
    saved_ = old ? old : "";
    hadOld_ = old != nullptr;
    host_ = os::posix::ToHostPath(dir_.Dir().c_str());
    setenv("SORM_REGISTRY_DIR", host_.c_str(), 1);
  }
  void TearDown() override {
    if (hadOld_)
      setenv("SORM_REGISTRY_DIR", saved_.c_str(), 1);
    else
      unsetenv("SORM_REGISTRY_DIR");
  }
  testutil::TempDir dir_;
  std::string host_, saved_;
  bool hadOld_ = false;
};

TEST_F(RegistryStoreTest, ConcurrentWritersLoseNothing) {
  constexpr int kProcs = 4, kKeys = 25;
  std::vector<pid_t> pids;
  for (int p = 0; p < kProcs; ++p) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int failures = 0;
      for (int i = 0; i < kKeys; ++i) {
        uint32_t e = 0;
        auto k = os::Reg().CreateKey(os::RegRoot::kCurrentUser, "Software\\Race", &e);
        std::string name = "p" + std::to_string(p) + "_" + std::to_string(i);
        if (!k || k->SetValue(name.c_str(), name.c_str()) != 0) ++failures;
      }
      _exit(failures);
    }
    pids.push_back(pid);
  }
  for (pid_t pid : pids) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  uint32_t e = 0;
  auto k = os::Reg().OpenKey(os::RegRoot::kCurrentUser, "Software\\Race", &e);
  ASSERT_TRUE(k);
  int count = 0;
  char name[64];
  while (k->EnumKey(static_cast<uint32_t>(count), name, sizeof(name)) == 0) ++count;
  EXPECT_EQ(count, kProcs * kKeys);
  char buf[64];
  int32_t size = sizeof(buf);
  EXPECT_EQ(k->QueryValue("p3_24", buf, &size), 0u);
  EXPECT_STREQ(buf, "p3_24");
}

TEST_F(RegistryStoreTest, DamagedFilesDoNotCrash) {
  static const char kBinary[] = "\0\0\xff\xfe garbage \n\n\nK 1 Good\r\nV %41%zz%\r\n";
  const std::string samples[] = {
      std::string("SORMREG 1\nK 1 Good\nV fine\nK 3 orphan\nV lost\nK 1 \nK 99999999999 x\n"),
      std::string("V value before any key\nK 1 A\\B\nK 1 ok%4\nK x y\nK 2\n"),
      std::string(100000, 'K'),
      std::string(kBinary, sizeof(kBinary) - 1),
  };
  for (const std::string& s : samples) {
    { std::ofstream(host_ + "/HKCU.reg", std::ios::binary) << s; }
    uint32_t e = 0;
    auto k = os::Reg().OpenKey(os::RegRoot::kCurrentUser, "Good", &e);
    char buf[64];
    int32_t size = sizeof(buf);
    if (k) k->QueryValue(nullptr, buf, &size);
    // Writing after reading a damaged file gives a clean file again.
    auto w = os::Reg().CreateKey(os::RegRoot::kCurrentUser, "Fresh", &e);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->SetValue(nullptr, "v"), 0u);
    auto fresh = os::Reg().OpenKey(os::RegRoot::kCurrentUser, "Fresh", &e);
    EXPECT_TRUE(fresh);
  }
  uint32_t e = 0;
  auto good = os::Reg().OpenKey(os::RegRoot::kCurrentUser, "Good", &e);
  ASSERT_TRUE(good);  // the last sample's "Good" record survived
  char buf[64];
  int32_t size = sizeof(buf);
  EXPECT_EQ(good->QueryValue(nullptr, buf, &size), 0u);
  EXPECT_STREQ(buf, "A%zz%");
}
#endif

}  // namespace
