// A program named without a path is found in the program's folder, the system folders and
// PATH, never in the current directory (the table's folder, where a planted copy may lie).
#include "exec/program_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "os/services.h"
#include "tests/unit/engine_test_support.h"
#include "tests/unit/test_util.h"

TEST(ProgramSearchTest, DirectoriesComeOnceInOrderAndOnlyFullOnes) {
  struct Case {
    const char* programDir;
    const char* path;
    std::vector<std::string> expect;
  } cases[] = {
      {"C:\\sorm\\", "C:\\WINDOWS\\system32;C:\\WINDOWS", {"C:\\sorm\\", "C:\\WINDOWS\\system32\\", "C:\\WINDOWS\\"}},
      {"C:\\sorm\\", "c:\\SORM;C:\\sorm\\;;  ;\"C:\\Program Files\\x\"", {"C:\\sorm\\", "C:\\Program Files\\x\\"}},
      // Relative folders would be looked up from the current directory.
      {"", "bin;.;C:bin;\\bin;..\\x;D:\\tools", {"D:\\tools\\"}},
      {"", "\\\\server\\share\\bin", {"\\\\server\\share\\bin\\"}},
      // A folder ending in a double-byte character whose trail byte is 0x5C gets its "\".
      {"C:\\\x95\x5C", "", {"C:\\\x95\x5C\\"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(exec::ProgramSearchDirectories(c.programDir, c.path), c.expect) << c.path;
}

TEST(ProgramSearchTest, BareProgramsBecomeTheFullPathFoundAndTheRestStaysAsWritten) {
  testutil::TempDir dir;
  const std::string planted = dir.Path("download\\"), system = dir.Path("system\\"),
                    blanks = dir.Path("with blank\\");
  for (const std::string& d : {planted, system, blanks})
    ASSERT_TRUE(os::Fs().CreateDir(d.substr(0, d.size() - 1).c_str()));
  for (const std::string& f : {planted + "notepad.exe", system + "notepad.exe",
                               blanks + "tool.exe", system + "readme"})
    ASSERT_TRUE(testutil::WriteFileBytes(f, "MZ")) << f;
  ASSERT_TRUE(os::Fs().CreateDir((system + "folder.exe").c_str()));
  ASSERT_TRUE(testutil::WriteFileBytes(blanks + "folder.exe", "MZ"));
  // The planted folder is the current one and is never searched.
  enginetest::CwdGuard cwd;
  ASSERT_TRUE(os::Fs().SetCurrentDir(planted.c_str()));
  const std::vector<std::string> dirs = {system, blanks};
  struct Case {
    std::string line;
    bool found;
    std::string expect;  // the line after resolving
  } cases[] = {
      {"notepad.exe readme.txt", true, system + "notepad.exe readme.txt"},
      {"notepad", true, system + "notepad.exe"},
      {"  NOTEPAD.EXE  \"a b.txt\" %1", true, system + "NOTEPAD.EXE  \"a b.txt\" %1"},
      {"\"notepad.exe\" x", true, system + "notepad.exe x"},
      {"tool x", true, "\"" + blanks + "tool.exe\" x"},
      {"readme", false, "readme"},           // no "readme.exe" anywhere
      {"folder.exe", true, "\"" + blanks + "folder.exe\""},  // a folder of that name is no program
      {"missing.exe a", false, "missing.exe a"},
      {planted + "notepad.exe x", true, planted + "notepad.exe x"},  // named with its folder
      {".\\notepad.exe", true, ".\\notepad.exe"},  // a relative path the user wrote stays
      {"\"notepad.exe", false, "\"notepad.exe"},  // an unclosed quote names nothing
      {"", false, ""},
  };
  for (const Case& c : cases) {
    std::string line = c.line;
    EXPECT_EQ(exec::ResolveLineProgram(line, dirs, 1024), c.found) << c.line;
    EXPECT_EQ(line, c.expect) << c.line;
  }
  // A line that the full path would make too long is refused, not cut.
  std::string line = "notepad " + std::string(1000, 'x');
  EXPECT_FALSE(exec::ResolveLineProgram(line, dirs, 1008));
  EXPECT_EQ(line, "notepad " + std::string(1000, 'x'));
}

// The file whose program type decides the quoting: the one the start runs, never the name as
// written looked up from wherever the process's current directory happens to be.
TEST(ProgramSearchTest, TheProgramOfALineIsPlacedWhereItsStartFindsIt) {
  testutil::TempDir dir;
  const std::string system = dir.Path("system\\");
  ASSERT_TRUE(os::Fs().CreateDir(system.substr(0, system.size() - 1).c_str()));
  ASSERT_TRUE(testutil::WriteFileBytes(system + "edit.exe", "MZ"));
  const std::vector<std::string> folders = {system};
  struct Case {
    std::string program;
    std::string directory;  // where the line starts
    std::string expect;
  } cases[] = {
      {"edit.exe", "C:\\work", system + "edit.exe"},
      {"EDIT", "C:\\work", system + "EDIT.exe"},
      {"missing.exe", "C:\\work", "missing.exe"},  // found nowhere: the start fails as well
      {"bin\\tool.exe", "C:\\work", "C:\\work\\bin\\tool.exe"},
      {"bin\\tool.exe", "C:\\", "C:\\bin\\tool.exe"},
      {"..\\tool.exe", "D:\\a\\b", "D:\\a\\b\\..\\tool.exe"},
      {"bin/tool.exe", "\\\\server\\share\\w", "\\\\server\\share\\w\\bin/tool.exe"},
      {"\\tools\\x.exe", "D:\\work", "D:\\tools\\x.exe"},  // the start directory's drive root
      {"\\tools\\x.exe", "\\\\server\\share", "\\tools\\x.exe"},
      {"c:tool.exe", "C:\\work", "C:\\work\\tool.exe"},
      {"E:tool.exe", "C:\\work", "E:tool.exe"},  // another drive's current directory
      {"C:\\full\\x.exe", "D:\\work", "C:\\full\\x.exe"},
      {"\\\\server\\s\\x.exe", "D:\\work", "\\\\server\\s\\x.exe"},
      // 表 ends in the byte 0x5C: the directory gets its separator all the same.
      {"bin\\tool.exe", "C:\\\x95\x5C", "C:\\\x95\x5C\\bin\\tool.exe"},
      {"", "C:\\work", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(exec::ProgramPathIn(c.program, c.directory, folders), c.expect)
        << c.program << " in " << c.directory;
}
