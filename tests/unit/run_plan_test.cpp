// What opening a file and running a typed line decide: the "#" rule, the line per launch class,
// its fallback, the start directory, the length limit, which part is kept as written and the
// program a typed line names.
#include <gtest/gtest.h>

#include <string>

#include "exec/run_plan.h"
#include "os/services.h"
#include "tests/unit/test_util.h"

namespace {

using exec::LaunchClass;

TEST(ParseRunAnswerTest, HashRunsTheRestDirectly) {
  struct Case {
    const char* answer;
    bool direct;
    const char* line;
  } cases[] = {
      {"#notepad", true, "notepad"},
      {"#  \tnotepad a.txt", true, "notepad a.txt"},
      {"#", true, ""},
      {"notepad #1", false, "notepad #1"},
      {" #notepad", false, " #notepad"},  // only a "#" at the very start counts
      {"", false, ""},
  };
  // A run-menu item reads the same; only its direct line falls back to the shell.
  for (const auto& c : cases) {
    const exec::RunRequest r = exec::ParseRunAnswer(c.answer);
    EXPECT_EQ(r.direct, c.direct) << c.answer;
    EXPECT_EQ(r.line, c.line) << c.answer;
    EXPECT_FALSE(r.shellFallback) << c.answer;
    const exec::RunRequest m = exec::ParseRunMenuCommand(c.answer);
    EXPECT_EQ(m.direct, c.direct) << c.answer;
    EXPECT_EQ(m.line, c.line) << c.answer;
    EXPECT_EQ(m.shellFallback, c.direct) << c.answer;
    EXPECT_EQ(r.source, exec::LineSource::kTyped) << c.answer;
    EXPECT_EQ(m.source, exec::LineSource::kCommand) << c.answer;
  }
}

// The run dialog's first words, blanks included, are one name when they name what exists in
// the table's folder; the longest such run wins.
TEST(SplitTypedLineInTest, LeadingWordsThatNameAnExistingFileAreTheProgram) {
  testutil::TempDir dir;
  for (const char* f : {"my report.doc", "my report.doc v2.txt", "my", "plain.txt"})
    ASSERT_TRUE(testutil::WriteFileBytes(dir.Path(f), "x")) << f;
  ASSERT_TRUE(os::Fs().CreateDir(dir.Path("old stuff").c_str()));
  const std::string full = dir.Path("my report.doc");
  struct Case {
    std::string typed;
    std::string line, program, parameters;
  } cases[] = {
      {"my report.doc", "\"my report.doc\"", "my report.doc", ""},
      {"  my report.doc -p 2", "\"my report.doc\" -p 2", "my report.doc", " -p 2"},
      {"my report.doc v2.txt", "\"my report.doc v2.txt\"", "my report.doc v2.txt", ""},
      {"my report.doc v3.txt", "\"my report.doc\" v3.txt", "my report.doc", " v3.txt"},
      {"old stuff", "\"old stuff\"", "old stuff", ""},
      {full + " x", "\"" + full + "\" x", full, " x"},
      // Nothing longer exists: split at the first blank as before.
      {"my other.doc", "my other.doc", "my", " other.doc"},
      {"plain.txt a b", "plain.txt a b", "plain.txt", " a b"},
      {"notepad my report.doc", "notepad my report.doc", "notepad", " my report.doc"},
      // Quoted as typed, or relative to another folder than the table's: as it splits.
      {"\"my\" report.doc", "\"my\" report.doc", "my", " report.doc"},
      {"\\my report.doc", "\\my report.doc", "\\my", " report.doc"},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    const exec::TypedLine t = exec::SplitTypedLineIn(c.typed.c_str(), dir.Dir());
    EXPECT_EQ(t.line, c.line) << c.typed;
    EXPECT_EQ(t.program, c.program) << c.typed;
    EXPECT_EQ(t.parameters, c.parameters) << c.typed;
  }
  // Without the table's folder, a relative name is never looked for.
  EXPECT_EQ(exec::SplitTypedLineIn("my report.doc", "").program, "my");
}

TEST(SplitTypedLineTest, SkipsLeadingBlanks) {
  exec::TypedLine t = exec::SplitTypedLine("  \"C:\\a b\\p.exe\" x \"y z\"");
  EXPECT_EQ(t.line, "\"C:\\a b\\p.exe\" x \"y z\"");
  EXPECT_EQ(t.program, "C:\\a b\\p.exe");
  EXPECT_EQ(t.parameters, " x y z");
}

exec::AssociationMatch Match(LaunchClass c, std::string command, std::string target = "",
                             std::string arguments = "") {
  exec::AssociationMatch m;
  m.launchClass = c;
  m.command = std::move(command);
  m.file.path = std::move(target);
  m.file.arguments = std::move(arguments);
  return m;
}

TEST(PlanTypedRunTest, LinePerClassAndFallback) {
  const exec::TypedLine typed = exec::SplitTypedLine("prog.LFI -a -b");
  const std::string table = "C:\\table";
  struct Case {
    exec::AssociationMatch match;
    std::string own;  // the link's or shortcut's working directory
    std::string line, fallbackFile, fallbackParameters, directory;
    bool restore;
  } cases[] = {
      {Match(LaunchClass::kLinkByExtension, "ed.exe", "C:\\t\\r.txt"), "D:\\w",
       "ed.exe C:\\t\\r.txt  -a -b", "ed.exe", "C:\\t\\r.txt", "D:\\w", true},
      {Match(LaunchClass::kLinkByName, "ed.exe", "C:\\my t\\r"), "",
       "ed.exe \"C:\\my t\\r\"  -a -b", "ed.exe", "\"C:\\my t\\r\"", table, true},
      {Match(LaunchClass::kLinkExecutable, "\"C:\\p.exe\" ", "C:\\p.exe"), "D:\\w",
       "\"C:\\p.exe\"   -a -b", "\"C:\\p.exe\" ", " -a -b", "D:\\w", true},
      {Match(LaunchClass::kShortcutByFullName, "ed.exe", "C:\\r.txt", "-s"), "E:\\s",
       "ed.exe C:\\r.txt -s  -a -b", "ed.exe", "C:\\r.txt", "E:\\s", true},
      {Match(LaunchClass::kShortcutExecutable, "\"C:\\p.exe\" -s", "C:\\p.exe", "-s"), "",
       "\"C:\\p.exe\" -s  -a -b", "\"C:\\p.exe\" -s", " -a -b", table, true},
      {Match(LaunchClass::kByExtension, "ed.exe \"%1\""), "D:\\ignored",
       "ed.exe \"%1\" prog.LFI -a -b", "prog.LFI -a -b", "", table, false},
      {Match(LaunchClass::kByFullName, "ed.exe"), "", "ed.exe prog.LFI -a -b",
       "prog.LFI -a -b", "", table, false},
      {Match(LaunchClass::kNone, ""), "", "prog.LFI -a -b", "prog.LFI", " -a -b", table, false},
      {Match(LaunchClass::kExecutable, "\"prog.exe\" "), "", "prog.LFI -a -b", "prog.LFI",
       " -a -b", table, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.match.launchClass));
    exec::TypedRunPlan plan =
        exec::PlanTypedRun(typed, c.match, table, c.own, exec::LineSource::kTyped);
    EXPECT_FALSE(plan.tooLong);
    EXPECT_EQ(plan.run.Whole(), c.line);
    // Only the association's command is a command; what follows is kept as written, and a
    // line run as typed is written text whole.
    const bool asTyped = c.match.launchClass == LaunchClass::kNone ||
                         c.match.launchClass == LaunchClass::kExecutable;
    EXPECT_EQ(plan.run.command, asTyped ? std::string() : c.match.command);
    const exec::TypedRunPlan asCommand =
        exec::PlanTypedRun(typed, c.match, table, c.own, exec::LineSource::kCommand);
    EXPECT_EQ(asCommand.run.command, c.line);
    EXPECT_EQ(asCommand.run.written, "");
    EXPECT_EQ(plan.fallbackFile, c.fallbackFile);
    EXPECT_EQ(plan.fallbackParameters, c.fallbackParameters);
    EXPECT_EQ(plan.directory, c.directory);
    EXPECT_EQ(plan.restoreTableDirectory, c.restore);
  }
}

TEST(PlanTypedRunTest, LongLinesAreRefused) {
  const std::string param(exec::kMaxCommandLine - 6, 'x');  // the typed line fills it
  const exec::TypedLine typed = exec::SplitTypedLine(("a.txt " + param).c_str());
  struct Case {
    LaunchClass c;
    std::string command;
    bool tooLong;
  } cases[] = {
      {LaunchClass::kNone, "", false},  // the line as typed fits
      {LaunchClass::kByExtension, "edit.exe", true},
      {LaunchClass::kByExtension, "e", true},  // "e " and the line: two over
      {LaunchClass::kByName, "", true},
  };
  for (const auto& c : cases) {
    for (exec::LineSource source : {exec::LineSource::kTyped, exec::LineSource::kCommand}) {
      exec::TypedRunPlan plan =
          exec::PlanTypedRun(typed, Match(c.c, c.command), "C:\\", "", source);
      EXPECT_EQ(plan.tooLong, c.tooLong) << c.command;
      EXPECT_EQ(plan.run.Whole().empty(), c.tooLong);
      EXPECT_LE(plan.run.Whole().size(), exec::kMaxCommandLine);
    }
  }
}

TEST(PlanOpenFileTest, ActionPerClass) {
  exec::ExecLinkInfo printVerb(".txt", "ed.exe");
  printVerb.verb = "print";
  struct Case {
    exec::AssociationMatch match;
    const exec::ExecLinkInfo* record;
    bool oldShell;
    exec::OpenAction action;
    std::string verb, file, command, directory;
  } cases[] = {
      {Match(LaunchClass::kNone, ""), nullptr, false, exec::OpenAction::kShellExecute, "",
       "C:\\t\\f.x", "", "C:\\t"},
      {Match(LaunchClass::kExecutable, "\"C:\\t\\f.exe\" "), nullptr, false,
       exec::OpenAction::kShellExecute, "", "C:\\t\\f.x", "", "C:\\t"},
      {Match(LaunchClass::kByExtension, "ed.exe"), &printVerb, false,
       exec::OpenAction::kInvokeVerb, "print", "C:\\t\\f.x", "", "C:\\t"},
      {Match(LaunchClass::kByExtension, "ed.exe"), nullptr, false,
       exec::OpenAction::kInvokeVerb, "open", "C:\\t\\f.x", "", "C:\\t"},
      {Match(LaunchClass::kShortcutByExtension, "ed.exe"), nullptr, true,
       exec::OpenAction::kShellExecute, "", "C:\\t\\f.x", "", "C:\\t"},
      {Match(LaunchClass::kByExtension, "ed.exe"), &printVerb, true,
       exec::OpenAction::kShellExecute, "print", "C:\\t\\f.x", "", "C:\\t"},
      {Match(LaunchClass::kByName, "ed.exe \"%1\""), nullptr, false,
       exec::OpenAction::kRunWithFiles, "", "C:\\t\\f.x", "ed.exe \"%1\"", "C:\\t"},
      {Match(LaunchClass::kShortcutByName, "ed.exe"), nullptr, false,
       exec::OpenAction::kRunWithFiles, "", "C:\\t\\f.x", "ed.exe", "C:\\t"},
      {Match(LaunchClass::kLinkByFullName, "ed.exe"), nullptr, false,
       exec::OpenAction::kRunWithFiles, "", "C:\\t\\f.x", "ed.exe", "D:\\own"},
      {Match(LaunchClass::kLinkExecutable, "\"C:\\a b\\p.exe\" "), nullptr, false,
       exec::OpenAction::kShellExecute, "", "C:\\a b\\p.exe", "", "D:\\own"},
      {Match(LaunchClass::kShortcutExecutable, "\"C:\\p.exe\" "), nullptr, false,
       exec::OpenAction::kShellExecute, "", "C:\\t\\f.x", "", "D:\\own"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.match.launchClass));
    c.match.record = const_cast<exec::ExecLinkInfo*>(c.record);
    exec::OpenPlan plan = exec::PlanOpenFile(c.match, "C:\\t", "f.x", "D:\\own", c.oldShell);
    EXPECT_EQ(plan.action, c.action);
    EXPECT_EQ(plan.verb, c.verb);
    EXPECT_EQ(plan.file, c.file);
    EXPECT_EQ(plan.command, c.command);
    EXPECT_EQ(plan.directory, c.directory);
  }
}

TEST(StartDirectoryTest, OwnDirectoryOnlyForLinksThatNameOne) {
  struct Case {
    LaunchClass c;
    const char* own;
    const char* directory;
  } cases[] = {
      {LaunchClass::kByName, "D:\\own", "C:\\t"},
      {LaunchClass::kLinkByName, "D:\\own", "D:\\own"},
      {LaunchClass::kLinkByName, "", "C:\\t"},
      {LaunchClass::kShortcutExecutable, "D:\\own", "D:\\own"},
      {LaunchClass::kShortcutExecutable, "", "C:\\t"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(exec::StartDirectory(c.c, "C:\\t", c.own), c.directory) << static_cast<int>(c.c);
}

}  // namespace
