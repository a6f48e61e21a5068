// The profile functions' answers and edits computed on text in memory (the posix profile
// functions and the profile snapshot hand the file's text here; the fuzz targets call it
// directly).
#include "os/ini_profile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace ini = os::ini;

const char* const kText = "[A]\r\nk=\"quoted\"\r\nn= 0x1F \r\n[B]\r\nx=1\r\n";

TEST(IniProfileTest, AnswersFromText) {
  const ini::Document doc(kText);
  struct Case {
    const char* section;
    const char* key;
    const char* def;
    uint32_t size;
    std::string expect;
  } cases[] = {
      {"A", "k", "d", 64, "quoted"},                 // one pair of quotes removed
      {"a", "K", "d", 4, "quo"},                     // cut to size-1, names in any case
      {"A", "missing", "def  ", 64, "def"},          // trailing spaces of the default go
      {"C", "k", nullptr, 64, ""},                   // no default: empty
      {nullptr, nullptr, "d", 64, std::string("A\0B\0", 4)},
      {nullptr, nullptr, "d", 4, std::string("A\0", 2)},  // a cut list ends in two NULs
      {"A", nullptr, "d", 64, std::string("k\0n\0", 4)},
      {"C", nullptr, "dflt", 64, "dflt"},            // a missing section's keys: the default
  };
  for (const Case& c : cases) {
    std::string buf(c.size, '\x7F');
    const uint32_t n = ini::GetString(&doc, c.section, c.key, c.def, buf.data(), c.size);
    EXPECT_EQ(buf.substr(0, n), c.expect) << (c.section ? c.section : "(null)") << " "
                                          << (c.key ? c.key : "(null)") << " " << c.size;
    EXPECT_EQ(buf[n], '\0');
  }
  EXPECT_EQ(ini::GetInt(&doc, "A", "n", -1), 31u);
  EXPECT_EQ(ini::GetInt(&doc, "A", "missing", -1), static_cast<uint32_t>(-1));
  EXPECT_EQ(ini::GetInt(nullptr, "A", "n", 7), 7u);  // no file
}

TEST(IniProfileTest, EditsChooseByWhatIsGiven) {
  const ini::Document doc(kText);
  struct Case {
    const char* section;
    const char* key;
    const char* value;
    bool changes;
    std::string expect;
  } cases[] = {
      {"B", "x", "2", true, "[A]\r\nk=\"quoted\"\r\nn= 0x1F \r\n[B]\r\nx=2\r\n"},
      {"B", "x", "1", false, ""},  // the same value: nothing to write
      {"A", "k", nullptr, true, "[A]\r\nn= 0x1F \r\n[B]\r\nx=1\r\n"},
      {"A", nullptr, nullptr, true, "[B]\r\nx=1\r\n"},
      {"C", nullptr, nullptr, false, ""},
      {"C", "y", "v", true, std::string(kText) + "[C]\r\ny=v\r\n"},
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(ini::Edit(doc, c.section, c.key, c.value, &out), c.changes) << c.section;
    if (c.changes) {
      EXPECT_EQ(out, c.expect) << c.section;
    }
  }
}

// WritePrivateProfileSectionA's edit: the section's lines go, the given ones take their place,
// the header, the other sections and the blank lines between them stay.
TEST(IniProfileTest, SectionEditsReplaceTheLinesOfOneSection) {
  const std::string list2("p=1\0q= two \0", 13);
  struct Case {
    const char* name;
    std::string text;
    const char* section;
    const char* lines;  // null: delete the section
    bool changes;
    std::string expect;
  } cases[] = {
      {"middle section", "[A]\r\na=1\r\n; note\r\nb=2\r\n\r\n[B]\r\nx=1\r\n", "a",
       list2.c_str(), true, "[A]\r\np=1\r\nq= two \r\n\r\n[B]\r\nx=1\r\n"},
      {"last section", kText, "B", list2.c_str(), true,
       "[A]\r\nk=\"quoted\"\r\nn= 0x1F \r\n[B]\r\np=1\r\nq= two \r\n"},
      {"header only", "[A]\r\n[B]\r\nx=1\r\n", "A", list2.c_str(), true,
       "[A]\r\np=1\r\nq= two \r\n[B]\r\nx=1\r\n"},
      {"header ends the text", "[B]\r\nx=1\r\n[A]", "A", list2.c_str(), true,
       "[B]\r\nx=1\r\n[A]\r\np=1\r\nq= two \r\n"},
      {"new section", kText, "C", list2.c_str(), true, std::string(kText) + "[C]\r\np=1\r\nq= two \r\n"},
      {"strings without = are left out", "[A]\r\na=1\r\n", "A", "junk\0r=3\0", true,
       "[A]\r\nr=3\r\n"},
      {"an empty list keeps the header", "[A]\r\na=1\r\n[B]\r\n", "A", "", true,
       "[A]\r\n[B]\r\n"},
      {"an empty list adds no section", kText, "C", "", false, ""},
      {"the same lines", "[A]\r\np=1\r\nq= two \r\n", "A", list2.c_str(), false, ""},
      {"a null list deletes", kText, "A", nullptr, true, "[B]\r\nx=1\r\n"},
  };
  for (const Case& c : cases) {
    const ini::Document doc(c.text);
    std::string out;
    EXPECT_EQ(ini::EditSection(doc, c.section, c.lines, &out), c.changes) << c.name;
    if (c.changes) {
      EXPECT_EQ(out, c.expect) << c.name;
    }
  }
}

}  // namespace
