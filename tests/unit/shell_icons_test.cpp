// The icon loader against the backend's real shell (under Wine: SHGetFileInfoA and
// ExtractIconA): every icon handle it obtains is given back exactly once, and a thousand
// rescans of a folder with icons leave no more handles alive than one.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <atomic>
#include <cstdlib>
#include <mutex>

#include "exec/icon_loading.h"
#include "tests/unit/table_test_support.h"

namespace {

std::atomic<int> g_made{0};
std::atomic<int> g_destroyed{0};
std::atomic<int> g_failedDestroys{0};

// The system's shell, counting the icons it hands out.
class CountingShell : public os::ShellIcons {
 public:
  bool FileIcons(const std::string& path, void** large, void** small) override {
    bool ok = os::SystemShellIcons().FileIcons(path, large, small);
    g_made += (*large ? 1 : 0) + (*small ? 1 : 0);
    return ok;
  }
  void* ExtractIcon(const std::string& path) override {
    void* icon = os::SystemShellIcons().ExtractIcon(path);
    if (icon) ++g_made;
    return icon;
  }
  std::string SearchPath(const std::string& name) override {
    return os::SystemShellIcons().SearchPath(name);
  }
};

void DestroyCounted(void* icon) {
  ++g_destroyed;
#ifdef _WIN32
  if (!::DestroyIcon(static_cast<HICON>(icon))) ++g_failedDestroys;
#endif
}

class ShellIconsTest : public tabletest::TableTest {
 protected:
  void SetUp() override {
    TableTest::SetUp();
    g_made = g_destroyed = g_failedDestroys = 0;
    table::SetIconReleaseHooks(&DestroyCounted, nullptr);
  }
  void TearDown() override {
    table::SetIconReleaseHooks(nullptr, nullptr);
    TableTest::TearDown();
  }
  void LoadAll(table::Sorm& t, exec::EntryIconLoader& loader) {
    std::lock_guard<std::mutex> g(t.lock());
    for (table::BINFO* e : t.Entries()) loader.LoadIcons(t, t.DirectoryString(), *e);
  }
};

// SORM_ICON_ROUNDS=1000 for the full count; CI runs fewer rounds (each costs about 20 ms of
// shell calls under Wine).
TEST_F(ShellIconsTest, RepeatedRescansLeaveNoIconHandleBehind) {
  const char* env = std::getenv("SORM_ICON_ROUNDS");
  const int rounds = env && *env ? std::atoi(env) : 200;
  MakeDir("folder");
  for (const char* f : {"a.txt", "b.txt", "c.qqq", "README", "LICENSE", "setup.exe"})
    MakeFile(f, 10);
  CountingShell shell;
  int liveAfterFirst = -1;
  {
    exec::Associations lists;
    lists.extensions.Append(".TXT", "notepad.exe %1");
    exec::EntryIconLoader loader(lists, shell, 4);
    auto t = Open();
    for (int round = 0; round < rounds; ++round) {
      LoadAll(*t, loader);
      const int live = g_made - g_destroyed;
      if (round == 0) {
        liveAfterFirst = live;
        // Files of one association share one pair of icons.
        EXPECT_EQ(Entry(*t, "a.txt")->Data()->largeIcon, Entry(*t, "b.txt")->Data()->largeIcon);
      }
      ASSERT_EQ(live, liveAfterFirst) << "round " << round;
      t->Reload();
    }
  }
  EXPECT_EQ(g_made.load(), g_destroyed.load());
  EXPECT_EQ(g_failedDestroys.load(), 0) << "an icon was destroyed twice or was not ours";
#ifdef _WIN32
  // Under the real shell the files do have icons: the test measured something.
  EXPECT_GT(liveAfterFirst, 0);
#endif
}

}  // namespace
