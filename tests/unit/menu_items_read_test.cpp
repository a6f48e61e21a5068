// The menus read their sections with bounded buffers: what a menu cannot use is never read.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/menu_sections.h"
#include "os/services.h"
#include "tests/unit/app_fixture.h"
#include "tests/unit/forwarding_profile.h"

namespace {

using settings::ProfileInfo;

// Passes every call on and records the buffer sizes the reads asked for.
class RecordingProfile : public testutil::ForwardingProfile {
 public:
  explicit RecordingProfile(os::Profile& inner) : ForwardingProfile(inner) {}
  uint32_t GetString(const char* section, const char* key, const char* def, char* buf,
                     uint32_t size, const char* file) override {
    reads.push_back({key ? key : "<keys>", size});
    return ForwardingProfile::GetString(section, key, def, buf, size, file);
  }

  struct Read {
    std::string key;
    uint32_t size;
  };
  std::vector<Read> reads;

  uint64_t BytesAsked() const {
    uint64_t total = 0;
    for (const Read& r : reads) total += r.size;
    return total;
  }
  uint32_t LargestAsked() const {
    uint32_t most = 0;
    for (const Read& r : reads) most = std::max(most, r.size);
    return most;
  }
  bool AskedFor(const std::string& key) const {
    return std::any_of(reads.begin(), reads.end(), [&](const Read& r) { return r.key == key; });
  }
};

class MenuItemsReadTest : public testutil::AppDirTest {
 protected:
  // Writes the file as given and reads the menu's items through the recorder.
  std::vector<ProfileInfo> ReadItems(const std::string& cfg, const char* section = "Run") {
    EXPECT_TRUE(testutil::WriteFileBytes(dir_.Path("sorm.cfg"), cfg));
    os::Services s;
    s.profile = &recorder_;
    os::ScopedServices scope(s);
    return settings::ReadMenuItems(section);
  }
  RecordingProfile recorder_{os::Ini()};
};

std::string Entries(int count, const std::string& valuePrefix) {
  std::string out;
  for (int i = 0; i < count; ++i) out += "k" + std::to_string(i) + "=" + valuePrefix + std::to_string(i) + "\r\n";
  return out;
}

TEST_F(MenuItemsReadTest, ValueLengthsAtAndOverTheLimit) {
  const std::size_t max = settings::kMenuValueMax;
  std::string pairs;  // 表 (0x95 0x5C) repeated to the limit: no "\" to stop at
  while (pairs.size() < max) pairs += "\x95\x5C";
  struct Case {
    const char* name;
    std::string value;  // as it stands in the file
    std::string want;   // the item's value; empty: no item
  } cases[] = {
      {"short", "c:\\ed.exe", "c:\\ed.exe"},
      {"one under", std::string(max - 1, 'a'), std::string(max - 1, 'a')},
      {"at the limit", std::string(max, 'b'), std::string(max, 'b')},
      {"one over", std::string(max + 1, 'c'), ""},
      {"two over", std::string(max + 2, 'd'), ""},
      // Quotes the reading strips do not count: the value is the limit's length.
      {"quoted at the limit", "\"" + std::string(max, 'e') + "\"", std::string(max, 'e')},
      {"quoted one over", "\"" + std::string(max + 1, 'f') + "\"", ""},
      {"quoted two over", "\"" + std::string(max + 2, 'f') + "\"", ""},
      {"quoted three over", "\"" + std::string(max + 3, 'f') + "\"", ""},
      // A command whose first part alone fits is not run as that part.
      {"a command with long arguments", "c:\\ed.exe " + std::string(max, 'g'), ""},
      {"double-byte at the limit", pairs, pairs},
      {"double-byte one over", pairs + "a", ""},
  };
  for (const Case& c : cases) {
    const std::vector<ProfileInfo> items =
        ReadItems("[Run]\r\nfirst=" + c.value + "\r\nnext=n.exe\r\n");
    std::vector<ProfileInfo> want;
    if (!c.want.empty()) want.push_back({"first", c.want});
    want.push_back({"next", "n.exe"});
    EXPECT_EQ(items, want) << c.name;
  }
}

TEST_F(MenuItemsReadTest, TakesFortyAndReadsNoFurther) {
  struct Case {
    const char* name;
    std::string section;
    std::size_t items;
    int valueReads;  // at most
  } cases[] = {
      {"39 entries", Entries(39, "v"), 39, 39},
      {"40 entries", Entries(40, "v"), 40, 40},
      {"41 entries", Entries(41, "v"), 40, 40},
      {"500 entries", Entries(500, "v"), 40, 40},
      {"empty values do not count", "e1=\r\ne2=\r\n" + Entries(45, "v"), 40, 42},
  };
  for (const Case& c : cases) {
    recorder_.reads.clear();
    const std::vector<ProfileInfo> items = ReadItems("[Mask]\r\n" + c.section, "Mask");
    ASSERT_EQ(items.size(), c.items) << c.name;
    for (std::size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i].title, "k" + std::to_string(i)) << c.name;
      EXPECT_EQ(items[i].value, "v" + std::to_string(i)) << c.name;
    }
    int valueReads = 0;
    for (const RecordingProfile::Read& r : recorder_.reads) valueReads += r.key != "<keys>";
    EXPECT_LE(valueReads, c.valueReads) << c.name;
    EXPECT_FALSE(recorder_.AskedFor("k40")) << c.name;
  }
}

TEST_F(MenuItemsReadTest, HugeValueIsSkippedWithoutLargeReads) {
  const std::string huge(3u << 20, 'x');  // 3 MiB on one line
  const std::vector<ProfileInfo> items =
      ReadItems("[Run]\r\nbig=" + huge + "\r\nsmall=s.exe\r\n");
  EXPECT_EQ(items, (std::vector<ProfileInfo>{{"small", "s.exe"}}));
  EXPECT_LE(recorder_.LargestAsked(), settings::kMenuKeyListBytes);
  // The key list and two values of at most the limit and the cut's margin.
  EXPECT_LE(recorder_.BytesAsked(), settings::kMenuKeyListBytes + 2 * (settings::kMenuValueMax + 3));
}

TEST_F(MenuItemsReadTest, KeyListCutInsideAKeyDropsThatKey) {
  // 60 keys of 250 bytes with empty values fill 15,060 bytes of the list; the list is cut 938
  // bytes into the long key after them. A key of just those 938 bytes, later in the file,
  // must not be read in its place.
  std::string cfg = "[Run]\r\n";
  std::size_t listed = 0;
  for (int i = 0; i < 60; ++i) {
    std::string key = "e" + std::to_string(i);
    key.resize(250, 'p');
    cfg += key + "=\r\n";
    listed += key.size() + 1;
  }
  ASSERT_LT(listed, settings::kMenuKeyListBytes - 2);
  const std::string longKey = "cut" + std::string(2000, 'q');
  const std::string prefix = longKey.substr(0, settings::kMenuKeyListBytes - 2 - listed);
  cfg += longKey + "=right.exe\r\n" + prefix + "=wrong.exe\r\n";
  const std::vector<ProfileInfo> items = ReadItems(cfg);
  EXPECT_TRUE(items.empty()) << items.size() << " " << (items.empty() ? "" : items[0].value);
  EXPECT_FALSE(recorder_.AskedFor(prefix));
  EXPECT_LE(recorder_.LargestAsked(), settings::kMenuKeyListBytes);
}

}  // namespace
