#include "config/command_line.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
  const char* line;
  const char* program;
  const char* parameters;
};

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, SplitsProgramAndParameters) {
  const SplitCase& c = GetParam();
  std::string program = "marker", params = "marker";
  config::SplitCommandLine(c.line, program, params);
  EXPECT_EQ(program, c.program) << "line: [" << c.line << "]";
  EXPECT_EQ(params, c.parameters) << "line: [" << c.line << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitCommandLineTest,
    ::testing::Values(
        SplitCase{"notepad.exe", "notepad.exe", ""},
        SplitCase{"notepad.exe a.txt", "notepad.exe", " a.txt"},
        SplitCase{"  notepad.exe    a.txt   b.txt  ", "notepad.exe", " a.txt b.txt"},
        SplitCase{"\tprog\t\targ", "prog", " arg"},
        // a quoted program path with blanks is the whole program
        SplitCase{"\"C:\\Program Files\\ed.exe\" x", "C:\\Program Files\\ed.exe", " x"},
        // a quoted parameter loses its quotes, so a later split sees two words
        SplitCase{"ed \"my file.txt\" -r", "ed", " my file.txt -r"},
        // blanks right after an opening quote are skipped
        SplitCase{"ed \"   spaced name\"", "ed", " spaced name"},
        // a quote followed only by blanks and a quote opens nothing
        SplitCase{"ed \"  \" x", "ed", " x"},
        SplitCase{"ed \"\" x", "ed", " x"},
        // an unterminated quote runs to the end of the line
        SplitCase{"ed \"open ended", "ed", " open ended"},
        // quotes inside a word join the quoted part to it
        SplitCase{"ab\"c d\"e f", "abc de", " f"},
        // no token at all: the whole line is the program
        SplitCase{"", "", ""}, SplitCase{"   ", "   ", ""}, SplitCase{"\"\"", "\"\"", ""},
        // Shift-JIS names whose trail byte is a backslash or a bar
        SplitCase{"\x95\x5C.exe \x83\x5C\x94\x5C", "\x95\x5C.exe", " \x83\x5C\x94\x5C"},
        SplitCase{"\"\x95\x7C dir\\a b\" c", "\x95\x7C dir\\a b", " c"}));

TEST(SplitCommandLine, NullLineGivesEmptyProgram) {
  std::string program = "x", params = "y";
  config::SplitCommandLine(nullptr, program, params);
  EXPECT_EQ(program, "");
  EXPECT_EQ(params, "");
}

TEST(SplitCommandLine, HugeLineIsSplitWithoutLimit) {
  std::string line = "prog";
  for (int i = 0; i < 5000; ++i) line += " \"arg " + std::to_string(i) + "\"";
  std::vector<std::string> t = config::CommandLineTokens(line.c_str());
  ASSERT_EQ(t.size(), 5001u);
  EXPECT_EQ(t[4999], "arg 4998");
}

}  // namespace
