// Composing a command line with files: placeholders, quoting modes, the program rule, the
// length limit, the text kept as written and the names refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/command_line.h"
#include "exec/run_line.h"
#include "os/services.h"
#include "tests/unit/test_util.h"

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

// A line of exactly 1,024 characters takes the file that brings it there; one character more
// and that file stays out.
TEST(AppendFilesTest, ALineOfExactly1024CharactersTakesTheLastFile) {
  const std::string prefix = "C:\\d\\";
  const std::string name(250 - prefix.size(), 'n');  // each file's text: 250 characters
  const std::vector<exec::SelectedFile> selected(4, exec::SelectedFile{name, false, ""});
  const std::vector<std::string> dropped(4, prefix + name);
  const struct {
    const char* what;
    size_t start;  // the line's length before the files
    bool dropped;
    int appended;
  } cases[] = {
      // selected: one blank, then " " + text for each: start + 1 + 4 * 251
      {"selected, exactly 1024", 19, false, 4},
      {"selected, 1025", 20, false, 3},
      // dropped: " " + text for each: start + 4 * 251
      {"dropped, exactly 1024", 20, true, 4},
      {"dropped, 1025", 21, true, 3},
  };
  for (const auto& c : cases) {
    std::string line(c.start, 'p');
    const int n = c.dropped
                      ? exec::AppendDroppedFiles(line, exec::kMaxAppendedFiles, dropped,
                                                 QuoteMode::kNever)
                      : exec::AppendSelectedFiles(line, exec::kMaxAppendedFiles, selected, prefix,
                                                  QuoteMode::kNever);
    EXPECT_EQ(n, c.appended) << c.what;
    EXPECT_LE(line.size(), 1024u) << c.what;
    if (c.appended == 4) EXPECT_EQ(line.size(), 1024u) << c.what;
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

// The composed line, or "<too long>" / "<refused: name>".
std::string Compose(const exec::RunLine& run, const exec::ProgramTypeCheck& check,
                    const std::vector<exec::SelectedFile>& files, const std::string& prefix,
                    const std::vector<std::string>* dropped = nullptr) {
  exec::ComposedLine out;
  switch (exec::ComposeRunWithFiles(run, check, files, prefix, dropped, out)) {
    case exec::ComposeResult::kComposed:
      EXPECT_EQ(out.refusal, exec::NameRefusal::kNone);
      return out.line;
    case exec::ComposeResult::kTooLong:
      EXPECT_EQ(out.line, "");
      return "<too long>";
    case exec::ComposeResult::kRefused:
      EXPECT_EQ(out.line, "");
      EXPECT_NE(out.refusal, exec::NameRefusal::kNone);
      return "<refused: " + out.refusedName + ">";
  }
  return "<?>";
}

exec::RunLine Command(const char* command) { return exec::RunLine{command, ""}; }

const exec::ProgramTypeCheck kWin32 = [](const std::string&) { return true; };

TEST(ComposeRunWithFilesTest, FilesGoWhereThePlaceholdersWere) {
  auto dos = [](const std::string&) { return false; };
  const std::string prefix = "C:\\My Docs\\";
  struct Case {
    const char* command;
    exec::ProgramTypeCheck check;
    std::vector<exec::SelectedFile> files;
    std::string line;
  } cases[] = {
      // The quoted placeholder leaves four blanks, then the blank before the files.
      {"C:\\bin\\edit.exe \"%1\"", kWin32, Files({"README"}),
       "C:\\bin\\edit.exe" + Blanks(6) + "\"C:\\My Docs\\README\""},
      {"C:\\bin\\edit.exe %1", kWin32, Files({"README"}),
       "C:\\bin\\edit.exe" + Blanks(5) + "\"C:\\My Docs\\README\""},
      {"C:\\bin\\edit.exe \"%1\"", dos, Files({"a"}),
       "C:\\bin\\edit.exe" + Blanks(6) + "\"C:\\My Docs\\a\""},
      {"C:\\t\\HIDEMANU.EXE \"%1\"", kWin32, Files({"a", "b"}),
       "C:\\t\\HIDEMANU.EXE" + Blanks(6) + "\"C:\\My Docs\\a\";\"C:\\My Docs\\b\""},
      {"notepad.exe ^.txt", kWin32, Files({"a"}),
       "notepad.exe" + Blanks(7) + "\"C:\\My Docs\\a\""},
  };

  for (const auto& c : cases)
    EXPECT_EQ(Compose(Command(c.command), c.check, c.files, prefix), c.line) << c.command;
  // Dropped files instead of the selection; the program's type is asked of its first token.
  std::string asked;
  std::vector<std::string> dropped = {"C:\\x y.txt"};
  EXPECT_EQ(Compose(Command("\"C:\\a b\\p.exe\" \"%1\""),
                    [&](const std::string& p) { asked = p; return true; }, Files({"ignored"}),
                    prefix, &dropped),
            "\"C:\\a b\\p.exe\"" + Blanks(6) + "\"C:\\x y.txt\"");
  EXPECT_EQ(asked, "C:\\a b\\p.exe");
  // A command that is itself too long is refused; so is one whose written text makes it so.
  const std::string huge(exec::kMaxCommandLine + 1, 'x');
  EXPECT_EQ(Compose(Command(huge.c_str()), kWin32, {}, prefix), "<too long>");
  EXPECT_EQ(Compose(exec::RunLine{"p", huge.substr(1)}, kWin32, {}, prefix), "<too long>");
}

// A name with a blank gets exactly one pair of quotes whether the placeholder was bare or
// quoted; a name without one is bare only where the placeholder was bare and the program does
// not ask otherwise.
TEST(ComposeRunWithFilesTest, OnePairOfQuotesForBareAndQuotedPlaceholders) {
  const std::string prefix = "C:\\d\\";
  const auto files = Files({"a b.txt", "c.txt"});
  struct Case {
    const char* command;
    std::string line;
  } cases[] = {
      {"ed.exe %1", "ed.exe" + Blanks(5) + "\"C:\\d\\a b.txt\" C:\\d\\c.txt"},
      {"ed.exe \"%1\"", "ed.exe" + Blanks(6) + "\"C:\\d\\a b.txt\" \"C:\\d\\c.txt\""},
      {"ed.exe \"%1\" -n", "ed.exe" + Blanks(6) + "-n \"C:\\d\\a b.txt\" \"C:\\d\\c.txt\""},
      // A placeholder inside quotes of its own text: the quote it leaves open is closed before
      // the names, so theirs pair as written.
      {"ed.exe \"/o:%1\"", "ed.exe \"/o:" + Blanks(3) + "\"  \"C:\\d\\a b.txt\" C:\\d\\c.txt"},
  };
  for (const auto& c : cases) {
    const std::string line = Compose(Command(c.command), kWin32, files, prefix);
    EXPECT_EQ(line, c.line) << c.command;
    EXPECT_EQ(line.find("\"\""), std::string::npos) << c.command;
    const std::vector<std::string> tokens = config::CommandLineTokens(line.c_str());
    ASSERT_GE(tokens.size(), 2u) << c.command;
    EXPECT_EQ(tokens[tokens.size() - 2], prefix + "a b.txt") << c.command;
    EXPECT_EQ(tokens.back(), prefix + "c.txt") << c.command;
  }
}

TEST(ComposeRunWithFilesTest, WrittenTextIsKeptAndOnlyTheCommandIsBlanked) {
  struct Case {
    exec::RunLine run;
    std::string line;
  } cases[] = {
      {{"", "type 100%.txt"}, "type 100%.txt  C:\\d\\a"},
      {{"ed.exe \"%1\"", " 50%^off.txt"}, "ed.exe" + Blanks(5) + " 50%^off.txt \"C:\\d\\a\""},
      {{"ed.exe ^.txt %1", " %PATH%"}, "ed.exe" + Blanks(9) + " %PATH%  C:\\d\\a"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Compose(c.run, kWin32, Files({"a"}), "C:\\d\\"), c.line) << c.run.Whole();
}

TEST(ComposeRunWithFilesTest, UnsafeNamesRefuseTheWholeStart) {
  std::vector<exec::SelectedFile> link = Files({"ok.txt"});
  link.push_back({"l.LFI", true, "C:\\t\\x\ty.doc"});
  struct Case {
    const char* command;
    std::vector<exec::SelectedFile> files;
    std::vector<std::string> dropped;  // used when not empty
    std::string result;
  } cases[] = {
      {"ed.exe %1", Files({"ok.txt", "a\"b.txt"}), {}, "<refused: C:\\d\\a\"b.txt>"},
      {"ed.exe %1", link, {}, "<refused: C:\\t\\x\ty.doc>"},
      {"ed.exe", {}, {"C:\\x\"y", "C:\\z"}, "<refused: C:\\x\"y>"},
      {"ed.exe", {}, {"C:\\ok", "C:\\a\rb"}, "<refused: C:\\a\rb>"},
      // A lead byte without its trail byte would swallow the quote or blank after it.
      {"ed.exe", {}, {"C:\\a\x83"}, "<refused: C:\\a\x83>"},
      {"ed.exe", {}, {"C:\\a\x83 b"}, "<refused: C:\\a\x83 b>"},
      // Batch files: the interpreter would run what follows "&" as a command of its own.
      {"C:\\t\\run.bat %1", Files({"a&calc.txt"}), {}, "<refused: C:\\d\\a&calc.txt>"},
      {"\"C:\\t t\\RUN.CMD\" \"%1\"", Files({"50%.txt"}), {}, "<refused: C:\\d\\50%.txt>"},
      {"cmd /c type", {}, {"C:\\a|b"}, "<refused: C:\\a|b>"},
      {"run.bat", {}, {"C:\\a^b", "C:\\c"}, "<refused: C:\\a^b>"},
      {"run.bat", Files({"x<y", "z"}), {}, "<refused: C:\\d\\x<y>"},
      // The same names go to other programs; a "|" or "^" trail byte is part of its character.
      {"ed.exe %1", Files({"a&calc.txt"}), {}, "ed.exe" + Blanks(3) + "  C:\\d\\a&calc.txt"},
      {"run.bat", Files({"\x95\x7c\x83\x5e.txt"}), {}, "run.bat  C:\\d\\\x95\x7c\x83\x5e.txt"},
      {"run.batch", Files({"a&b"}), {}, "run.batch  C:\\d\\a&b"},
  };
  for (const auto& c : cases) {
    const std::vector<std::string>* dropped = c.dropped.empty() ? nullptr : &c.dropped;
    EXPECT_EQ(Compose(Command(c.command), kWin32, c.files, "C:\\d\\", dropped), c.result)
        << c.command;
  }
}

TEST(CheckAppendedNameTest, CharactersPerProgramKind) {
  using exec::NameRefusal;
  struct Case {
    const char* text;
    NameRefusal plain, batch;
  } cases[] = {
      {"C:\\a b\\c.txt", NameRefusal::kNone, NameRefusal::kNone},
      {"C:\\R&D\\c.txt", NameRefusal::kNone, NameRefusal::kBatchCharacter},
      {"a>b", NameRefusal::kNone, NameRefusal::kBatchCharacter},
      {"a\"b", NameRefusal::kUnsafeCharacter, NameRefusal::kUnsafeCharacter},
      {"a\x1f", NameRefusal::kUnsafeCharacter, NameRefusal::kUnsafeCharacter},
      {"a\x7f\xa0", NameRefusal::kNone, NameRefusal::kNone},
      {"\x95\x5c\x83\x7c", NameRefusal::kNone, NameRefusal::kNone},
      {"\x81\x20", NameRefusal::kUnsafeCharacter, NameRefusal::kUnsafeCharacter},
      // A "&" after a whole character still counts; a quote never hides in a character.
      {"\x95\x5c&", NameRefusal::kNone, NameRefusal::kBatchCharacter},
      {"\x95\"", NameRefusal::kUnsafeCharacter, NameRefusal::kUnsafeCharacter},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(exec::CheckAppendedName(c.text, false), c.plain) << c.text;
    EXPECT_EQ(exec::CheckAppendedName(c.text, true), c.batch) << c.text;
  }
}

TEST(IsBatchProgramTest, BatchFilesAndTheInterpreter) {
  struct Case {
    const char* program;
    bool batch;
  } cases[] = {
      {"run.bat", true}, {"C:\\t t\\Run.Cmd", true}, {"cmd", true}, {"C:\\WINDOWS\\CMD.EXE", true},
      {"run.exe", false}, {"bat", false}, {"xcmd.exe", false}, {"run.bat.exe", false},
      {"notcmd", false}, {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(exec::IsBatchProgram(c.program), c.batch) << c.program;
}

TEST(FirstMissingPathTest, NamesTheFirstPathThatDoesNotExist) {
  testutil::TempDir dir;
  ASSERT_TRUE(testutil::WriteFileBytes(dir.Path("here.txt"), "x"));
  ASSERT_TRUE(os::Fs().CreateDir(dir.Path("folder").c_str()));
  const std::vector<std::string> present = {dir.Path("here.txt"), dir.Path("folder")};
  EXPECT_EQ(exec::FirstMissingPath(present), nullptr);
  const std::vector<std::string> paths = {dir.Path("here.txt"), dir.Path("gone.txt"),
                                          dir.Path("also gone")};
  const std::string* missing = exec::FirstMissingPath(paths);
  ASSERT_NE(missing, nullptr);
  EXPECT_EQ(*missing, dir.Path("gone.txt"));
}

TEST(RefusalMessageTest, NamesTheFileWithControlCharactersShown) {
  for (exec::NameRefusal why : {exec::NameRefusal::kUnsafeCharacter,
                                exec::NameRefusal::kBatchCharacter, exec::NameRefusal::kMissing}) {
    const std::string text = exec::RefusalMessage(why, "C:\\a\tb&c");
    EXPECT_NE(text.find("C:\\a?b&c"), std::string::npos) << static_cast<int>(why);
  }
  EXPECT_NE(exec::RefusalMessage(exec::NameRefusal::kBatchCharacter, "x"),
            exec::RefusalMessage(exec::NameRefusal::kMissing, "x"));
}

TEST(ComposeRunWithFilesTest, SplittingGivesBackTheNames) {
  const std::vector<std::string> names = {"a.txt", "b c.txt", "\x95\x5c.txt", "d  e"};
  std::vector<exec::SelectedFile> files;
  for (const auto& n : names) files.push_back({n, false, ""});
  for (const char* command : {"p.exe", "p.exe \"%1\"", "p.exe %1", "p.exe ^x"}) {
    for (const char* prefix : {"C:\\d\\", "C:\\d d\\"}) {
      const std::string line = Compose(Command(command), kWin32, files, prefix);
      std::vector<std::string> expected = {"p.exe"};
      for (const auto& n : names) expected.push_back(prefix + n);
      EXPECT_EQ(config::CommandLineTokens(line.c_str()), expected) << command << " " << prefix;
    }
  }
}

}  // namespace
