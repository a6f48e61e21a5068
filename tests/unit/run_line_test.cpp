// Composing a command line with files: placeholders, quoting modes, the program rule and the
// length limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/command_line.h"
#include "exec/run_line.h"

namespace {

using exec::QuoteMode;

TEST(BlankPlaceholdersTest, BlanksHintsAndPlaceholdersAndChoosesTheMode) {
  struct Case {
    const char* line;
    std::string blanked;
    QuoteMode mode;
  } cases[] = {
      {"notepad.exe", "notepad.exe", QuoteMode::kAsNeeded},
      {"prog.exe \"%1\"", "prog.exe     ", QuoteMode::kAlways},
      {"prog.exe %1", "prog.exe   ", QuoteMode::kNever},
      {"prog.exe \"%1\" %2", "prog.exe" + std::string(8, ' '), QuoteMode::kNever},  // bare wins
      {"prog.exe ^.txt -x", "prog.exe       -x", QuoteMode::kAsNeeded},
      {"prog.exe %1^x", "prog.exe" + std::string(5, ' '), QuoteMode::kNever},
      {"a \"%*\"z b", "a       b", QuoteMode::kAlways},
      {"a \"x%1\"", "a \"x   ", QuoteMode::kNever},  // only a quote right before "%" counts
      // A 0x5E trail byte is no hint; a double-byte character after "%" goes whole.
      {"\x83\x5e.exe", "\x83\x5e.exe", QuoteMode::kAsNeeded},
      {"p %\x95\x5cx y", "p" + std::string(6, ' ') + "y", QuoteMode::kNever},
      {"p\t%1\tq", "p\t  \tq", QuoteMode::kNever},
      {"", "", QuoteMode::kAsNeeded},
  };
  for (const auto& c : cases) {
    std::string line = c.line;
    EXPECT_EQ(exec::BlankPlaceholders(line), c.mode) << c.line;
    EXPECT_EQ(line, c.blanked) << c.line;
  }
}

TEST(ModeForProgramTest, OnlyWin32ProgramsKeepQuotes) {
  struct Case {
    QuoteMode mode;
    bool win32;
    const char* program;
    QuoteMode result;
  } cases[] = {
      {QuoteMode::kAlways, true, "C:\\bin\\prog.exe", QuoteMode::kAlways},
      {QuoteMode::kAlways, false, "C:\\bin\\prog.exe", QuoteMode::kAsNeeded},
      {QuoteMode::kAlways, true, "C:\\tools\\hidemanu.exe", QuoteMode::kSemicolonList},
      {QuoteMode::kAlways, false, "C:\\tools\\hidemanu.exe", QuoteMode::kAsNeeded},
      {QuoteMode::kNever, true, "hidemanu.exe", QuoteMode::kNever},
      {QuoteMode::kAsNeeded, true, "hidemanu.exe", QuoteMode::kAsNeeded},
      // "H" here is the trail byte of a double-byte character: no match across it, and the
      // lower-case trail byte "h" is not turned into "H".
      {QuoteMode::kAlways, true, "\x83HIDEMANU.EXE", QuoteMode::kAlways},
      {QuoteMode::kAlways, true, "\x83hIDEMANU.EXE", QuoteMode::kAlways},
  };
  for (const auto& c : cases)
    EXPECT_EQ(exec::ModeForProgram(c.mode, c.win32, c.program), c.result) << c.program;
}

TEST(ModeForProgramTest, ExeTypeLowWordPE) {
  struct Case {
    uint32_t type;
    bool win32;
  } cases[] = {{0x04004550, true}, {0x4550, true}, {0x5A4D, false}, {0x454E, false}, {0, false},
               {0x45500000, false}};
  for (const auto& c : cases) EXPECT_EQ(exec::IsWin32ExeType(c.type), c.win32) << c.type;
}

std::vector<exec::SelectedFile> Files(std::initializer_list<const char*> names) {
  std::vector<exec::SelectedFile> files;
  for (const char* n : names) files.push_back({n, false, ""});
  return files;
}

TEST(AppendSelectedFilesTest, EachModeQuotesAsItSays) {
  const auto plain = Files({"a.txt", "b c.txt"});
  std::vector<exec::SelectedFile> withLink = Files({"a.txt"});
  withLink.push_back({"l.LFI", true, "D:\\t t\\x.doc"});
  struct Case {
    QuoteMode mode;
    std::string prefix;
    std::vector<exec::SelectedFile> files;
    std::string line;
  } cases[] = {
      {QuoteMode::kAsNeeded, "C:\\d\\", plain, "p  C:\\d\\a.txt \"C:\\d\\b c.txt\""},
      {QuoteMode::kAsNeeded, "C:\\my d\\", plain, "p \"C:\\my d\\a.txt\" \"C:\\my d\\b c.txt\""},
      {QuoteMode::kAlways, "C:\\d\\", plain, "p \"C:\\d\\a.txt\" \"C:\\d\\b c.txt\""},
      {QuoteMode::kSemicolonList, "C:\\d\\", plain, "p \"C:\\d\\a.txt\";\"C:\\d\\b c.txt\""},
      // Bare, but a name with a blank is still one name.
      {QuoteMode::kNever, "C:\\d\\", plain, "p  C:\\d\\a.txt \"C:\\d\\b c.txt\""},
      {QuoteMode::kNever, "C:\\d\\", withLink, "p  C:\\d\\a.txt \"D:\\t t\\x.doc\""},
      {QuoteMode::kAlways, "C:\\d\\", withLink, "p \"C:\\d\\a.txt\" \"D:\\t t\\x.doc\""},
      {QuoteMode::kAlways, "C:\\d\\", {}, "p "},  // nothing appended: the blank stays
      // Only a separator of ours is taken off the end, never a name's own last character.
      {QuoteMode::kAsNeeded, "C:\\d\\", Files({"x;"}), "p  C:\\d\\x;"},
      {QuoteMode::kNever, "C:\\d\\", Files({"x;"}), "p  C:\\d\\x;"},
      {QuoteMode::kSemicolonList, "C:\\d\\", Files({"x;"}), "p \"C:\\d\\x;\""},
  };
  for (const auto& c : cases) {
    std::string line = "p";
    int n = exec::AppendSelectedFiles(line, exec::kMaxAppendedFiles, c.files, c.prefix, c.mode);
    EXPECT_EQ(n, static_cast<int>(c.files.size()));
    EXPECT_EQ(line, c.line) << static_cast<int>(c.mode);
  }
}

TEST(AppendSelectedFilesTest, StopsBeforeTheLimitAndAtTheCount) {
  const std::string prefix = "C:\\dir\\";
  std::vector<exec::SelectedFile> many;
  for (int i = 0; i < 200; ++i) many.push_back({"file" + std::to_string(i) + ".txt", false, ""});
  many.push_back({"x", false, ""});  // would fit, but nothing comes after the first refusal
  for (QuoteMode mode : {QuoteMode::kAsNeeded, QuoteMode::kAlways, QuoteMode::kNever,
                         QuoteMode::kSemicolonList}) {
    for (size_t start : {size_t{1}, size_t{900}, exec::kMaxCommandLine - 1,
                         exec::kMaxCommandLine}) {
      std::string line(start, 'p');
      int n = exec::AppendSelectedFiles(line, exec::kMaxAppendedFiles, many, prefix, mode);
      EXPECT_LE(line.size(), exec::kMaxCommandLine) << start;
      EXPECT_LT(n, 200);
      EXPECT_EQ(line.find(prefix + "x"), std::string::npos);
      if (start == 1) {
        EXPECT_GT(n, 20);
      }
    }
    std::string line = "p";
    EXPECT_EQ(exec::AppendSelectedFiles(line, 3, many, prefix, mode), 3);
  }
}

TEST(AppendDroppedFilesTest, QuotesInAlwaysModeOrWhenNeeded) {
  const std::vector<std::string> files = {"C:\\a.txt", "C:\\b c.txt"};
  struct Case {
    QuoteMode mode;
    std::string line;
  } cases[] = {
      {QuoteMode::kAlways, "p \"C:\\a.txt\" \"C:\\b c.txt\""},
      {QuoteMode::kAsNeeded, "p C:\\a.txt \"C:\\b c.txt\""},
      {QuoteMode::kNever, "p C:\\a.txt \"C:\\b c.txt\""},
  };
  for (const auto& c : cases) {
    std::string line = "p";
    EXPECT_EQ(exec::AppendDroppedFiles(line, exec::kMaxAppendedFiles, files, c.mode), 2);
    EXPECT_EQ(line, c.line);
  }
  std::vector<std::string> many(100, "C:\\some\\rather\\long\\folder\\name.txt");
  std::string line(500, 'p');
  int n = exec::AppendDroppedFiles(line, exec::kMaxAppendedFiles, many, QuoteMode::kAlways);
  EXPECT_EQ(n, static_cast<int>((exec::kMaxCommandLine - 500) / (many[0].size() + 3)));
  EXPECT_LE(line.size(), exec::kMaxCommandLine);
  line = "p";
  EXPECT_EQ(exec::AppendDroppedFiles(line, 2, many, QuoteMode::kNever), 2);
}

std::string Blanks(size_t n) { return std::string(n, ' '); }

TEST(ComposeRunWithFilesTest, FilesGoWhereThePlaceholdersWere) {
  auto win32 = [](const std::string&) { return true; };
  auto dos = [](const std::string&) { return false; };
  const std::string prefix = "C:\\My Docs\\";
  struct Case {
    const char* command;
    exec::ProgramTypeCheck check;
    std::vector<exec::SelectedFile> files;
    std::string line;
  } cases[] = {
      // The quoted placeholder leaves four blanks, then the blank before the files.
      {"C:\\bin\\edit.exe \"%1\"", win32, Files({"README"}),
       "C:\\bin\\edit.exe" + Blanks(6) + "\"C:\\My Docs\\README\""},
      {"C:\\bin\\edit.exe %1", win32, Files({"README"}),
       "C:\\bin\\edit.exe" + Blanks(5) + "\"C:\\My Docs\\README\""},
      {"C:\\bin\\edit.exe \"%1\"", dos, Files({"a"}),
       "C:\\bin\\edit.exe" + Blanks(6) + "\"C:\\My Docs\\a\""},
      {"C:\\t\\HIDEMANU.EXE \"%1\"", win32, Files({"a", "b"}),
       "C:\\t\\HIDEMANU.EXE" + Blanks(6) + "\"C:\\My Docs\\a\";\"C:\\My Docs\\b\""},
      {"notepad.exe ^.txt", win32, Files({"a"}),
       "notepad.exe" + Blanks(7) + "\"C:\\My Docs\\a\""},
  };

  for (const auto& c : cases) {
    std::string line;
    ASSERT_TRUE(exec::ComposeRunWithFiles(c.command, c.check, c.files, prefix, nullptr, line));
    EXPECT_EQ(line, c.line) << c.command;
  }
  // Dropped files instead of the selection; the program's type is asked of its first token.
  std::string asked;
  std::vector<std::string> dropped = {"C:\\x y.txt"};
  std::string line;
  ASSERT_TRUE(exec::ComposeRunWithFiles(
      "\"C:\\a b\\p.exe\" \"%1\"", [&](const std::string& p) { asked = p; return true; },
      Files({"ignored"}), prefix, &dropped, line));
  EXPECT_EQ(asked, "C:\\a b\\p.exe");
  EXPECT_EQ(line, "\"C:\\a b\\p.exe\"" + Blanks(6) + "\"C:\\x y.txt\"");
  // A command that is itself too long is refused.
  std::string huge(exec::kMaxCommandLine + 1, 'x');
  EXPECT_FALSE(exec::ComposeRunWithFiles(huge.c_str(), win32, {}, prefix, nullptr, line));
  EXPECT_EQ(line, "");
}

TEST(ComposeRunWithFilesTest, SplittingGivesBackTheNames) {
  const std::vector<std::string> names = {"a.txt", "b c.txt", "\x95\x5c.txt", "d\te"};
  std::vector<exec::SelectedFile> files;
  for (const auto& n : names) files.push_back({n, false, ""});
  for (const char* command : {"p.exe", "p.exe \"%1\"", "p.exe %1", "p.exe ^x"}) {
    for (const char* prefix : {"C:\\d\\", "C:\\d d\\"}) {
      std::string line;
      ASSERT_TRUE(exec::ComposeRunWithFiles(
          command, [](const std::string&) { return true; }, files, prefix, nullptr, line));
      std::vector<std::string> expected = {"p.exe"};
      for (const auto& n : names) expected.push_back(prefix + n);
      EXPECT_EQ(config::CommandLineTokens(line.c_str()), expected) << command << " " << prefix;
    }
  }
}

}  // namespace
