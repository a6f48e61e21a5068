// Text with a line break or a NUL never reaches a line of the configuration file or of a link
// file: the profile files are read line by line, and a file name such as
// "a\n[ExecLink]\n.txt=evil.exe %1" written as a value would add a section of its own. Every
// writer either refuses such text (nothing written, failure reported) or, where it keeps the
// first line of an answer (histories, association commands), writes that line only.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "settings/menu_sections.h"
#include "app/window_state.h"
#include "config/config_file.h"
#include "exec/association_store.h"
#include "exec/history.h"
#include "fileops/link_create.h"
#include "frame/pane_settings.h"
#include "os/last_error.h"
#include "os/services.h"
#include "table/pane_settings.h"
#include "tests/unit/app_fixture.h"

namespace {

// Every section of a profile file with its keys and values in file order. (A section written
// again moves to the end of the file; that is no change of what the file says.)
using Snapshot = std::map<std::string, std::vector<std::pair<std::string, std::string>>>;

std::vector<std::string> List(const char* section, const std::string& file) {
  std::vector<char> buf(1 << 16, '\0');
  const uint32_t n =
      os::Ini().GetString(section, nullptr, "", buf.data(), static_cast<uint32_t>(buf.size()),
                          file.c_str());
  std::vector<std::string> out;
  for (const char* p = buf.data(); p < buf.data() + n && *p; p += std::strlen(p) + 1)
    out.emplace_back(p);
  return out;
}

Snapshot Read(const std::string& file) {
  Snapshot out;
  for (const std::string& section : List(nullptr, file)) {
    out[section];
    for (const std::string& key : List(section.c_str(), file)) {
      std::vector<char> buf(1 << 12, '\0');
      const uint32_t n = os::Ini().GetString(section.c_str(), key.c_str(), "", buf.data(),
                                             static_cast<uint32_t>(buf.size()), file.c_str());
      out[section].emplace_back(key, std::string(buf.data(), n));
    }
  }
  return out;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

const std::string kHostile[] = {
    "a\rb",
    "a\nb",
    "a\r\n[S]\r\nk=v",
    "x\n[ExecLink]\n.txt=evil.exe %1",
    std::string("a\0b\r\n[S]", 8),
};

// The window's pane settings as the fixture writes them before each case.
table::PaneSettings CleanPane() {
  table::PaneSettings s;
  s.path = "C:\\data";
  s.mask = "*.txt";
  s.cursor = "read me.txt";
  s.invisibleTypes = table::InvisibleTypes::FromText("BAK TMP");
  return s;
}

// The pane settings written with one text field replaced.
bool WriteCleanPaneWith(std::string table::PaneSettings::*field, const std::string& text) {
  table::PaneSettings s = CleanPane();
  s.*field = text;
  return table::WritePaneSettings("INST1", s);
}

class ConfigLineBreakTest : public testutil::AppDirTest {
 protected:
  void SetUp() override {
    AppDirTest::SetUp();
    cfg_ = dir_.Path("sorm.cfg");
    link_ = dir_.Path("0.LFI");
  }

  // A configuration file of several sections, each written by its own writer with clean text,
  // and a link file.
  void WriteCleanFiles() {
    ASSERT_TRUE(table::WritePaneSettings("INST1", CleanPane()));
    frame::PaneSettings display;
    frame::SetFaceName(display.font, "Face");
    frame::WritePaneSettings(1, display);
    app::WriteEndMode("Quit");
    exec::History history;
    history.AddAnswer("first answer");
    ASSERT_TRUE(exec::SaveHistory(history, "HIST"));
    ASSERT_EQ(exec::SetAssociation(cfg_, "read.me", "viewer.exe %1",
                                   exec::AssociationKind::kByFullName),
              0);
    ASSERT_EQ(settings::AddMenuEntry("Mask", {"&Text", "*.txt"}), settings::SectionWrite::kWritten);
    // The Run section last, so that a rewrite of it leaves the sections in their order.
    ASSERT_EQ(settings::AddMenuEntry("Run", {"&Edit", "edit.exe"}), settings::SectionWrite::kWritten);
    ASSERT_TRUE(testutil::WriteFileBytes(link_, "[LinkInfo]\r\nLink=C:\\a.txt\r\nTitle=a\r\n"));
  }

  std::string cfg_;
  std::string link_;
};

TEST(ProfileLineText, LineBreaksAndNulsAreNoLineText) {
  struct Case {
    std::string text;
    bool ok;
  } cases[] = {
      {"", true},
      {"plain value", true},
      {"\x95\x5C\x83\x7C tab\there", true},  // trail bytes "\" and "|", a tab
      {"a\rb", false},
      {"a\nb", false},
      {"\r\n", false},
      {std::string("a\0b", 3), false},
      {std::string(1, '\0'), false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(config::IsProfileLineText(c.text), c.ok) << testing::PrintToString(c.text);
}

TEST_F(ConfigLineBreakTest, EveryWriterKeepsLineBreaksOutOfTheFile) {
  enum Outcome {
    kRefused,      // reports failure; the file is as it was
    kRefusedSilently,  // reports nothing; the file is as it was
    kRewritten,    // reports failure; the file reads as it did (a section written again)
    kFirstLine,    // the one key holds the text's first line; nothing else changes
  };
  struct Writer {
    const char* label;
    std::function<bool(const std::string& text)> write;
    Outcome outcome;
    bool takesNul;  // the writer takes a string that can hold a NUL (not a C string)
    bool linkFile;  // writes the link file, not the configuration file
    const char* section = nullptr;  // kFirstLine: the key that changes
    const char* key = nullptr;
  };
  const Writer writers[] = {
      {"value", [](const std::string& t) { return config::WriteConfigString("INST1", "Cursor", t); },
       kRefused, true, false},
      {"value as text",
       [](const std::string& t) { return config::WriteConfigString("INST1", "Cursor", t.c_str()); },
       kRefused, false, false},
      {"key", [](const std::string& t) { return config::WriteConfigString("INST1", t.c_str(), "x"); },
       kRefused, false, false},
      {"section", [](const std::string& t) { return config::WriteConfigString(t, "k", "x"); },
       kRefused, true, false},
      {"number's section", [](const std::string& t) { return config::WriteConfigLong(t, "k", 1); },
       kRefused, true, false},
      {"key deleted",
       [](const std::string& t) { return config::WriteConfigString("INST1", t.c_str(), nullptr); },
       kRefused, false, false},
      {"section deleted", [](const std::string& t) { return config::DeleteConfigSection(t); },
       kRefused, true, false},
      {"raw value",
       [this](const std::string& t) { return config::WriteProfileValue(cfg_, "Run", "&Edit", t); },
       kRefused, true, false},
      {"raw key",
       [this](const std::string& t) { return config::WriteProfileValue(cfg_, "Run", t, "x"); },
       kRefused, true, false},
      {"raw section",
       [this](const std::string& t) { return config::WriteProfileValue(cfg_, t, "k", "x"); },
       kRefused, true, false},
      {"raw key deleted",
       [this](const std::string& t) { return config::DeleteProfileKey(cfg_, "Run", t); }, kRefused,
       true, false},
      {"raw section deleted",
       [this](const std::string& t) { return config::DeleteProfileSection(cfg_, t); }, kRefused,
       true, false},
      {"pane path",
       [](const std::string& t) { return WriteCleanPaneWith(&table::PaneSettings::path, t); },
       kRefused, true, false},
      {"pane cursor",
       [](const std::string& t) { return WriteCleanPaneWith(&table::PaneSettings::cursor, t); },
       kRefused, true, false},
      {"pane mask",
       [](const std::string& t) { return WriteCleanPaneWith(&table::PaneSettings::mask, t); },
       kRefused, true, false},
      {"pane font name",
       [](const std::string& t) {
         frame::PaneSettings p;
         frame::SetFaceName(p.font, t.c_str());
         frame::WritePaneSettings(1, p);
         return false;
       },
       kRefusedSilently, false, false},
      {"end mode",
       [](const std::string& t) {
         app::WriteEndMode(t.c_str());
         return false;
       },
       kRefusedSilently, false, false},
      {"run menu title",
       [](const std::string& t) {
         return settings::AddMenuEntry("Run", {t, "x.exe"}) == settings::SectionWrite::kWritten;
       },
       kRefused, true, false},
      {"run menu command",
       [](const std::string& t) {
         return settings::AddMenuEntry("Run", {"&New", t}) == settings::SectionWrite::kWritten;
       },
       kRefused, true, false},
      {"menu editor",
       [](const std::string& t) {
         const std::vector<settings::ProfileInfo> base = settings::ReadMenuSection("Run");
         std::vector<settings::ProfileInfo> edited = base;
         edited.push_back({"&New", t});
         return settings::RewriteMenuSection("Run", base, edited) == settings::SectionWrite::kWritten;
       },
       kRewritten, true, false},
      {"association key",
       [this](const std::string& t) {
         return exec::SetAssociation(cfg_, t.c_str(), "x.exe %1",
                                     exec::AssociationKind::kByFullName) == 0;
       },
       kRefused, false, false},
      {"association command",
       [this](const std::string& t) {
         return exec::SetAssociation(cfg_, "read.me", t.c_str(),
                                     exec::AssociationKind::kByFullName) == 0;
       },
       kFirstLine, false, false, "ExecLink", "read.me"},
      {"history answer",
       [](const std::string& t) {
         exec::History h;
         h.AddAnswer("first answer");
         h.AddAnswer(t.c_str());
         return exec::SaveHistory(h, "HIST");
       },
       kFirstLine, false, false, "HIST", "1"},
      {"link title",
       [this](const std::string& t) { return fileops::WriteLinkTitle(link_.c_str(), t.c_str()) == 0; },
       kRefused, false, true},
      {"link target",
       [this](const std::string& t) { return fileops::WriteLinkTarget(link_.c_str(), t.c_str()) == 0; },
       kRefused, false, true},
      {"link directory",
       [this](const std::string& t) {
         return fileops::WriteLinkWorkingDirectory(link_.c_str(), t.c_str()) == 0;
       },
       kRefused, false, true},
  };
  WriteCleanFiles();
  const std::string cleanCfg = testutil::ReadFileBytes(cfg_);
  const std::string cleanLink = testutil::ReadFileBytes(link_);
  for (const Writer& w : writers) {
    for (const std::string& text : kHostile) {
      const bool hasNul = text.find('\0') != std::string::npos;
      if (hasNul && !w.takesNul) continue;
      const std::string label = std::string(w.label) + ", " + testing::PrintToString(text);
      ASSERT_TRUE(testutil::WriteFileBytes(cfg_, cleanCfg));
      ASSERT_TRUE(testutil::WriteFileBytes(link_, cleanLink));
      const std::string& file = w.linkFile ? link_ : cfg_;
      const std::string bytesBefore = testutil::ReadFileBytes(file);
      Snapshot expected = Read(file);

      const bool reported = w.write(text);

      const std::string bytesAfter = testutil::ReadFileBytes(file);
      EXPECT_EQ(bytesAfter.find("[S]"), std::string::npos) << label;
      EXPECT_EQ(bytesAfter.find("evil"), std::string::npos) << label;
      switch (w.outcome) {
        case kRefused:
          EXPECT_FALSE(reported) << label;
          EXPECT_EQ(bytesAfter, bytesBefore) << label;
          break;
        case kRefusedSilently:
          EXPECT_EQ(bytesAfter, bytesBefore) << label;
          break;
        case kRewritten:
          EXPECT_FALSE(reported) << label;
          break;
        case kFirstLine:
          EXPECT_TRUE(reported) << label;
          {
            auto& keys = expected[w.section];
            bool found = false;
            for (auto& [key, value] : keys) {
              if (key != w.key) continue;
              value = FirstLine(text);
              found = true;
            }
            if (!found) keys.emplace_back(w.key, FirstLine(text));
          }
          break;
      }
      EXPECT_EQ(Read(file), expected) << label;
    }
  }
}

TEST_F(ConfigLineBreakTest, ALinkFileWithALineBreakInItsTargetIsNotMade) {
  const std::string out = dir_.Path("links");
  ASSERT_TRUE(os::Fs().CreateDir(out.c_str()));
  for (const std::string& text : kHostile) {
    if (text.find('\0') != std::string::npos) continue;
    std::string made;
    EXPECT_NE(fileops::CreateLinkFile(text.c_str(), out.c_str(), "title", &made), 0)
        << testing::PrintToString(text);
    EXPECT_NE(fileops::CreateLinkFile("C:\\a.txt", out.c_str(), text.c_str(), &made), 0)
        << testing::PrintToString(text);
    os::FindData fd;
    EXPECT_FALSE(os::Fs().FindFirst((out + "\\*.LFI").c_str(), fd)) << fd.name;
  }
}

TEST_F(ConfigLineBreakTest, ARefusedWriteSaysWhy) {
  os::SetLastError(0);
  EXPECT_FALSE(config::WriteConfigString("INST1", "Cursor", "a\nb"));
  EXPECT_EQ(os::LastError(), static_cast<uint32_t>(os::kErrInvalidParameter));
  EXPECT_FALSE(testutil::FileExists(cfg_)) << "nothing written, not even an empty file";
  // Clean text still goes in.
  EXPECT_TRUE(config::WriteConfigString("INST1", "Cursor", "a b"));
  EXPECT_EQ(Cfg(), "[INST1]\r\nCursor=a b\r\n");
}

}  // namespace
