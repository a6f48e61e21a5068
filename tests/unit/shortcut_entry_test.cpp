// A shortcut with arguments as the commands take it: its target path is the file it leads to
// (for associations, appended names, drags and entering a folder), and its arguments join the
// path only where a command line is offered (the run dialog's first answer).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "exec/association_edit.h"
#include "exec/open_entries.h"
#include "exec/run_line.h"
#include "fileops/drop_policy.h"
#include "os/services.h"
#include "table/selection.h"
#include "tests/unit/table_test_support.h"

namespace {

// A shell whose every shortcut leads to one target with one argument line.
class OneTargetLinks : public os::ShellLinks {
 public:
  bool Read(const char*, os::ShellLinkData& out) override {
    out = os::ShellLinkData();
    out.path = target;
    out.gotPath = true;
    out.pathData.attributes = folder ? os::kAttrDirectory : os::kAttrArchive;
    out.arguments = arguments;
    out.gotArguments = true;
    out.gotWorkingDirectory = true;
    return true;
  }
  bool Write(const char*, const os::ShellLinkFields&) override { return false; }
  std::string target;
  std::string arguments;
  bool folder = false;
};

class ShortcutEntryTest : public tabletest::TableTest {};

TEST_F(ShortcutEntryTest, TheTargetPathAndTheArgumentsStayApart) {
  MakeDir("folder");
  MakeFile("s.lnk");
  struct Case {
    const char* what;
    std::string target;
    const char* arguments;
    bool folder;
    const char* extension;  // the key of an association by extension
  } cases[] = {
      {"a program with a switch", "C:\\app\\app.exe", "-x", false, ".exe"},
      // The arguments name a document: its extension is not the shortcut's.
      {"a program given a document", "C:\\app\\app.exe", "C:\\docs\\a.txt", false, ".exe"},
      {"a document with a switch", "C:\\d\\x.txt", "-y", false, ".txt"},
      {"a program without arguments", "C:\\app\\tool.exe", "", false, ".exe"},
      {"a folder with a switch", dir_.Path("folder"), "/e", true, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OneTargetLinks shell;
    shell.target = c.target;
    shell.arguments = c.arguments;
    shell.folder = c.folder;
    os::Services services;
    services.shellLinks = &shell;
    os::ScopedServices scope(services);
    auto t = Open();
    table::BINFO* e = Entry(*t, "s.lnk");
    ASSERT_NE(e, nullptr);
    const table::SM_DAT& d = *e->Data();
    ASSERT_NE(d.link, nullptr);
    EXPECT_EQ(std::string(d.Target()), c.target);
    EXPECT_EQ(d.link->arguments, c.arguments);
    const std::string line = *c.arguments ? c.target + " " + c.arguments : c.target;
    EXPECT_EQ(d.link->TargetLine(), line);

    // The association dialog's name and key are the target's.
    const std::string name = exec::AssociationNameOf(d);
    EXPECT_EQ(name, c.target.substr(c.target.rfind('\\') + 1));
    std::string key;
    if (c.extension) {
      ASSERT_TRUE(exec::AssociationKeyFor(name.c_str(), exec::AssociationKind::kByExtension, key));
      EXPECT_EQ(key, c.extension);
    }

    // The run dialog offers the command line; every other command takes the path.
    table::DeselectAll(*t, nullptr);
    t->SetCursor(e);
    EXPECT_EQ(exec::RunDialogAnswer(*t), line);
    EXPECT_EQ(fileops::DragPathOf(t->DirectoryString(), d, false), c.target);
    EXPECT_EQ(exec::EntryPath(*t, d), c.folder ? c.target : t->DirectoryString() + "s.lnk");
    table::Select(*t, e, nullptr);
    const std::vector<exec::SelectedFile> files = exec::SelectedFilesOf(*t);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(files[0].isLink);
    EXPECT_EQ(files[0].target, c.target);
    // Appended to a program's line for a quoted placeholder: one name, in its own quotes.
    std::string appended = "edit.exe";
    exec::AppendSelectedFiles(appended, exec::kMaxAppendedFiles, files, t->DirectoryString(),
                              exec::QuoteMode::kAlways);
    EXPECT_EQ(appended, "edit.exe \"" + c.target + "\"");
  }
}

}  // namespace
