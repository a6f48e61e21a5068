// Classifying files for opening: the order of the three lists, the cached registry answer, the
// executables, link files and shortcuts.
#include <gtest/gtest.h>

#include <string>

#include "exec/association_lookup.h"
#include "os/services.h"
#include "tests/unit/association_test_support.h"
#include "tests/unit/test_util.h"

namespace {

using exec::LaunchClass;

TEST(SplitFileNameTest, NameAndExtensionFromTheLastDot) {
  struct Case {
    const char* path;
    const char* name;
    const char* ext;
  } cases[] = {
      {"C:\\d\\README.TXT", "README", ".TXT"},
      {"archive.tar.gz", "archive.tar", ".gz"},
      {".profile", "", ".profile"},
      {"C:\\d.x\\README", "README", ""},
      {"C:\\\x95\x5c\\a.b", "a", ".b"},   // 表 ends in a "\" byte
      {"\x83.txt", "\x83.txt", ""},     // the "." is a trail byte
      {"C:\\a\\", "", ""},
  };
  for (const auto& c : cases) {
    exec::FileNameParts p = exec::SplitFileName(c.path);
    EXPECT_EQ(p.name, c.name) << c.path;
    EXPECT_EQ(p.extension, c.ext) << c.path;
  }
}

TEST(ExecutableKindTest, TheFourProgramExtensions) {
  struct Case {
    const char* ext;
    exec::ExecutableKind kind;
  } cases[] = {
      {".EXE", exec::ExecutableKind::kProgram},
      {".exe", exec::ExecutableKind::kProgram},
      {".bat", exec::ExecutableKind::kProgramWithRecord},
      {".PIF", exec::ExecutableKind::kProgramWithRecord},
      {".Com", exec::ExecutableKind::kProgramWithRecord},
      {".cmd", exec::ExecutableKind::kNotExecutable},
      {".TXT", exec::ExecutableKind::kNotExecutable},
      {"", exec::ExecutableKind::kNotExecutable},
  };
  for (const auto& c : cases) EXPECT_EQ(exec::ExecutableKindOf(c.ext), c.kind) << c.ext;
}

class LookupTest : public testutil::ClassesFixture {
 protected:
  void SetUp() override {
    fullName_ = &lists_.fullNames.Append("README.TXT", "full.exe \"%1\"");
    name_ = &lists_.names.Append("README", "name.exe %1");
    lists_.names.Append("", "never.exe");  // an empty name is never looked for
    ext_ = &lists_.extensions.Append(".TXT", "ext.exe \"%1\"");
    lists_.extensions.Append(".PROFILE", "prof.exe");
    lists_.extensions.Append(".EXE", "\"%1\" %*");
    lists_.extensions.Append(".COM", "\"%1\"");
    lists_.extensions.Append(".BAT", "");  // found empty: no association
    lists_.extensions.Append(".DAT", "\"%1\"");
  }
  exec::AssociationMatch Lookup(const char* name) {
    return exec::LookupAssociation(lists_, dir_.Dir(), name);
  }
  std::string Write(const std::string& name, const std::string& content) {
    EXPECT_TRUE(testutil::WriteFileBytes(dir_.Path(name), content));
    return dir_.Path(name);
  }

  testutil::TempDir dir_;
  exec::Associations lists_;
  exec::ExecLinkInfo *fullName_ = nullptr, *name_ = nullptr, *ext_ = nullptr;
};

TEST_F(LookupTest, FullNameThenNameThenExtension) {
  struct Case {
    std::string file;
    LaunchClass c;
    std::string command;
    const exec::ExecLinkInfo* record;
  } cases[] = {
      {"C:\\d\\readme.txt", LaunchClass::kByFullName, "full.exe \"%1\"", fullName_},
      {"C:\\d\\README.DOC", LaunchClass::kByName, "name.exe %1", name_},
      {"NOTES.TXT", LaunchClass::kByExtension, "ext.exe \"%1\"", ext_},
      {".profile", LaunchClass::kByExtension, "prof.exe", lists_.extensions.Find(".PROFILE")},
      {"C:\\d\\tool.exe", LaunchClass::kExecutable, "\"C:\\d\\tool.exe\" ", nullptr},
      {"run.com", LaunchClass::kExecutable, "\"" + dir_.Path("run.com") + "\" ",
       lists_.extensions.Find(".COM")},
      {"x.bat", LaunchClass::kNone, "", lists_.extensions.Find(".BAT")},
      {"x.dat", LaunchClass::kNone, "", nullptr},  // a program type, but not a program
      {"C:\\d\\NOEXT", LaunchClass::kNone, "", nullptr},
  };
  for (const auto& c : cases) {
    exec::AssociationMatch m = Lookup(c.file.c_str());
    EXPECT_EQ(m.launchClass, c.c) << c.file;
    EXPECT_EQ(m.command, c.command) << c.file;
    EXPECT_EQ(m.record, c.record) << c.file;
    EXPECT_EQ(m.file.source, exec::LaunchSource::kPlainFile);
  }
}

TEST_F(LookupTest, MatchesMoveToTheFront) {
  lists_.names.Append("NOTES", "notes.exe");
  Lookup("C:\\d\\notes.doc");
  EXPECT_EQ(lists_.names.begin()->get()->key, "NOTES");
  Lookup("C:\\d\\x.exe");
  EXPECT_EQ(lists_.extensions.begin()->get()->key, ".EXE");
  Lookup("C:\\d\\readme");
  EXPECT_EQ(lists_.names.begin()->get(), name_);
}

TEST_F(LookupTest, AnUnknownExtensionIsAskedOnceAndRemembered) {
  const std::string ext = "." + Unique("u");
  const std::string file = "C:\\d\\a" + ext;
  const size_t before = lists_.extensions.Size();
  exec::AssociationMatch m = Lookup(file.c_str());
  EXPECT_EQ(m.launchClass, LaunchClass::kNone);
  ASSERT_EQ(lists_.extensions.Size(), before + 1);
  const exec::ExecLinkInfo* cached = lists_.extensions.Find(ext.c_str());
  ASSERT_TRUE(cached);
  EXPECT_EQ(cached->command, "");
  // The registry learns of the extension now, but the list keeps its answer until reloaded.
  SetClassValue(ext, "");
  SetClassValue(ext + "\\shell\\open\\command", "late.exe %1");
  m = Lookup(file.c_str());
  EXPECT_EQ(m.launchClass, LaunchClass::kNone);
  EXPECT_EQ(m.record, cached);
  EXPECT_EQ(lists_.extensions.Size(), before + 1);
  exec::Associations fresh;
  m = exec::LookupAssociation(fresh, "", file.c_str());
  EXPECT_EQ(m.launchClass, LaunchClass::kByExtension);
  EXPECT_EQ(m.command, "late.exe %1");
}

TEST_F(LookupTest, ProgramsWithoutARecordGetAQuotedPlaceholder) {
  exec::Associations lists;
  lists.extensions.Append(".EXE", "");
  // An empty record found for a program extension means no association.
  EXPECT_EQ(exec::LookupAssociation(lists, "", "C:\\p.exe").launchClass, LaunchClass::kNone);
  // A program extension met for the first time is remembered as a program, whether the
  // registry knows it as a program type or not at all.
  exec::Associations fresh;
  const std::string program = "C:\\" + Unique("p") + ".pif";
  exec::AssociationMatch m = exec::LookupAssociation(fresh, "", program.c_str());
  EXPECT_EQ(m.launchClass, LaunchClass::kExecutable);
  EXPECT_EQ(m.command, "\"" + program + "\" ");
  const exec::ExecLinkInfo* pif = fresh.extensions.Find(".pif");
  ASSERT_TRUE(pif);
  EXPECT_EQ(m.record, pif);
  EXPECT_EQ(pif->command.substr(0, 4), "\"%1\"");
}

TEST_F(LookupTest, LinkFilesAreClassifiedByTheirFinalTarget) {
  Write("to readme.LFI", "[Link]\r\nLink=C:\\t\\README.TXT\r\n");
  Write("chain.LFI", "[Link]\r\nLink=" + dir_.Path("to readme.LFI") + "\r\n");
  Write("to doc.LFI", "[Link]\r\nLink=C:\\t\\README.DOC\r\n");
  Write("to notes.lfi", "[Link]\r\nLink=C:\\t\\NOTES.TXT\r\n");
  Write("to tool.LFI", "[Link]\r\nLink=C:\\t t\\tool.exe\r\n");
  Write("to nothing.LFI", "[Other]\r\nLink=C:\\t\\README.TXT\r\n");
  struct Case {
    const char* name;
    LaunchClass c;
    std::string command;
    std::string target;
  } cases[] = {
      {"to readme.LFI", LaunchClass::kLinkByFullName, "full.exe \"%1\"", "C:\\t\\README.TXT"},
      {"chain.LFI", LaunchClass::kLinkByFullName, "full.exe \"%1\"", "C:\\t\\README.TXT"},
      {"to doc.LFI", LaunchClass::kLinkByName, "name.exe %1", "C:\\t\\README.DOC"},
      {"to notes.lfi", LaunchClass::kLinkByExtension, "ext.exe \"%1\"", "C:\\t\\NOTES.TXT"},
      {"to tool.LFI", LaunchClass::kLinkExecutable, "\"C:\\t t\\tool.exe\" ", "C:\\t t\\tool.exe"},
      {"to nothing.LFI", LaunchClass::kNone, "", ""},
  };
  for (const auto& c : cases) {
    // A bare name is taken in the given directory, whatever the current one is.
    exec::AssociationMatch m = Lookup(c.name);
    EXPECT_EQ(m.launchClass, c.c) << c.name;
    EXPECT_EQ(m.command, c.command) << c.name;
    EXPECT_EQ(m.file.source, exec::LaunchSource::kLinkFile);
    EXPECT_EQ(m.file.path, c.target) << c.name;
  }
}

TEST_F(LookupTest, ShortcutsAreClassifiedByTheirTarget) {
  struct Case {
    const char* name;
    std::string target;
    std::string arguments;
    LaunchClass c;
  } cases[] = {
      {"a.lnk", dir_.Path("README.TXT"), "", LaunchClass::kShortcutByFullName},
      {"b.lnk", dir_.Path("README.DOC"), "", LaunchClass::kShortcutByName},
      {"c.lnk", dir_.Path("NOTES.TXT"), "", LaunchClass::kShortcutByExtension},
      {"d.lnk", dir_.Path("tool.exe"), "-x y", LaunchClass::kShortcutExecutable},
  };
  for (const auto& c : cases) {
    Write(c.target.substr(dir_.Dir().size()), "");
    os::ShellLinkFields wanted;
    wanted.target = c.target;
    wanted.arguments = c.arguments;
    if (!os::Links().Write(dir_.Path(c.name).c_str(), wanted)) GTEST_SKIP() << "no shell links";
    exec::AssociationMatch m = Lookup(c.name);
    EXPECT_EQ(m.launchClass, c.c) << c.name;
    EXPECT_EQ(m.file.source, exec::LaunchSource::kShortcut);
    EXPECT_EQ(os::Sys().CompareNoCase(m.file.path.c_str(), c.target.c_str()), 0) << m.file.path;
    EXPECT_EQ(m.file.arguments, c.arguments);
    if (c.c == LaunchClass::kShortcutExecutable) {
      EXPECT_EQ(m.command, "\"" + m.file.path + "\" -x y");
    }
  }
}

TEST_F(LookupTest, AnUnreadableShortcutHasNoAssociation) {
  Write("bad.lnk", "not a shortcut");
  exec::AssociationMatch m = Lookup("bad.lnk");
  EXPECT_EQ(m.launchClass, LaunchClass::kNone);
  EXPECT_EQ(m.file.source, exec::LaunchSource::kShortcut);
  EXPECT_EQ(m.record, nullptr);
}

}  // namespace
