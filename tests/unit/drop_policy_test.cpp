// The decisions of drag and drop: modes and effects from the keys, where a drop lands, which
// pane points take a drop, the questions, the association key and the drag cursors.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "fileops/drop_block.h"
#include "fileops/drop_policy.h"

using fileops::DropMode;
using fileops::DropPlace;

TEST(DropPolicyTest, ModeAndEffectsFromKeys) {
  struct Case {
    uint32_t keys;
    DropMode mode;
    uint32_t enter;
    uint32_t overAllowed;
    uint32_t overRefused;
  };
  const uint32_t S = fileops::kKeyShift, C = fileops::kKeyControl, L = fileops::kKeyLeftButton;
  const Case cases[] = {
      {L, DropMode::kCopy, 1, 1, 0},
      {L | C, DropMode::kCopy, 1, 1, 0},
      {L | S, DropMode::kMove, 2, 2, 0},
      {L | S | C, DropMode::kLink, 4, 4, 4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fileops::ModeFromKeys(c.keys & S, c.keys & C), c.mode) << c.keys;
    EXPECT_EQ(fileops::EffectFromKeyState(c.keys), c.enter) << c.keys;
    EXPECT_EQ(fileops::EffectAt(c.keys, true), c.overAllowed) << c.keys;
    EXPECT_EQ(fileops::EffectAt(c.keys, false), c.overRefused) << c.keys;
    DropMode back = DropMode::kCopy;
    EXPECT_TRUE(fileops::ModeOfTag(fileops::TagOfMode(c.mode), back));
    EXPECT_EQ(back, c.mode);
  }
  DropMode unchanged = DropMode::kMove;
  for (uint32_t other : {0u, 1u, fileops::kDropModeTag | 3u, 0x12344401u}) {
    EXPECT_FALSE(fileops::ModeOfTag(other, unchanged)) << other;
    EXPECT_EQ(unchanged, DropMode::kMove);
  }
}

TEST(DropPolicyTest, OwnPaneTakesADropOnlyOnAnEntryNotSelected) {
  struct Case {
    bool source, hit, selected, can;
  };
  const Case cases[] = {
      {false, false, false, true}, {false, true, true, true},  {false, true, false, true},
      {true, false, false, false}, {true, true, true, false},  {true, true, false, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(fileops::CanDropOnPane(c.source, c.hit, c.selected), c.can)
        << c.source << c.hit << c.selected;
}

TEST(DropPolicyTest, APointLandsOnTheListingOnlyInsideThePanesClientArea) {
  const struct {
    bool nonClient;
    long x, y;
    bool on;
  } cases[] = {
      {false, 0, 0, true},     {false, 299, 199, true}, {false, 300, 10, false},
      {false, 10, 200, false}, {false, -1, 10, false},  {false, 10, -25, false},  // the toolbar
      {true, 10, 10, false},   // a border or the caption
  };
  for (const auto& c : cases)
    EXPECT_EQ(fileops::DropPointOnPane(c.nonClient, c.x, c.y, 300, 200), c.on)
        << c.nonClient << " " << c.x << "," << c.y;
}

TEST(DropPolicyTest, WhereADropLands) {
  auto entry = [](const char* name, uint32_t attributes, uint16_t linkFlags) {
    auto d = std::make_unique<table::SM_DAT>();
    d->name = name;
    d->attributes = attributes;
    d->linkFlags = linkFlags;
    return d;
  };
  const auto folder = entry("sub", 0x10, 0);
  const auto parent = entry("..", 0x10, 0);
  const auto file = entry("tool.exe", 0x20, 0);
  const auto dirLink = entry("to dir.lnk", 0x20, table::kIsLink | table::kTargetIsDirectory);
  const auto deadLink = entry("dead.lnk", 0x20, table::kIsLink | table::kTargetIsDirectory);
  const auto fileLink = entry("doc.lnk", 0x20, table::kIsLink);
  auto lookAlike = entry("caf?.txt", 0x20, 0);
  lookAlike->unmappable = true;
  lookAlike->alias = "CAF~1.TXT";
  auto noName = entry("caf?", 0x10, 0);
  noName->unmappable = true;
  const auto relLink = entry("rel.LFI", 0x20, table::kIsLink | table::kTargetIsDirectory);
  const auto upLink = entry("up.LFI", 0x20, table::kIsLink | table::kTargetIsDirectory);
  const auto rootLink = entry("root.LFI", 0x20, table::kIsLink | table::kTargetIsDirectory);
  const auto driveLink = entry("drive.LFI", 0x20, table::kIsLink | table::kTargetIsDirectory);
  const auto uncLink = entry("unc.LFI", 0x20, table::kIsLink | table::kTargetIsDirectory);
  auto resolve = [](const char* name) {
    const std::map<std::string, std::string> targets = {
        {"to dir.lnk", "D:\\target"}, {"rel.LFI", "sub\\deeper"}, {"up.LFI", "..\\beside"},
        {"root.LFI", "\\top"},       {"drive.LFI", "D:there"},      {"unc.LFI", "\\\\s\\share"}};
    const auto found = targets.find(name);
    return found == targets.end() ? std::string() : found->second;
  };
  struct Case {
    const char* what;
    const table::SM_DAT* hit;
    DropPlace::Kind kind;
    const char* path;
  };
  const Case cases[] = {
      {"empty space", nullptr, DropPlace::kDirectory, "C:\\t"},
      {"folder", folder.get(), DropPlace::kDirectory, "C:\\t\\sub"},
      {"parent", parent.get(), DropPlace::kDirectory, "C:\\t\\.."},
      {"program", file.get(), DropPlace::kProgram, "C:\\t\\tool.exe"},
      {"link to folder", dirLink.get(), DropPlace::kDirectory, "D:\\target"},
      {"link whose target is gone", deadLink.get(), DropPlace::kRefused, "dead.lnk"},
      {"link to a file", fileLink.get(), DropPlace::kProgram, "C:\\t\\doc.lnk"},
      // A relative target is the link file's directory's, never the current directory's.
      {"relative link", relLink.get(), DropPlace::kDirectory, "C:\\t\\sub\\deeper"},
      {"relative link upwards", upLink.get(), DropPlace::kDirectory, "C:\\t\\..\\beside"},
      {"link from the root", rootLink.get(), DropPlace::kRefused, "root.LFI"},
      {"link to a drive alone", driveLink.get(), DropPlace::kRefused, "drive.LFI"},
      {"link to a share", uncLink.get(), DropPlace::kDirectory, "\\\\s\\share"},
      {"look-alike file by alias", lookAlike.get(), DropPlace::kProgram, "C:\\t\\CAF~1.TXT"},
      {"folder without usable name", noName.get(), DropPlace::kRefused, "caf?"},
  };
  for (const Case& c : cases) {
    const DropPlace p = fileops::PlaceOfDrop("C:\\t\\", c.hit, resolve);
    EXPECT_EQ(p.kind, c.kind) << c.what;
    EXPECT_EQ(p.path, c.path) << c.what;
  }
}

// Empty space takes the drop into the table's directory, named as its path reads: without the
// directory string's closing backslash, except on a drive's root.
TEST(DropPolicyTest, EmptySpaceNamesTheDirectoryWithoutItsClosingBackslash) {
  struct Case {
    const char* directory;  // the table's directory string
    const char* named;
  } cases[] = {
      {"C:\\dir\\", "C:\\dir"},
      {"C:\\a b\\sub\\", "C:\\a b\\sub"},
      {"C:\\", "C:\\"},
      {"\\\\server\\share\\", "\\\\server\\share"},
      // 表 ends in the byte 0x5C: the character stays whole, only the separator goes.
      {"C:\\\x95\x5c\\", "C:\\\x95\x5c"},
      {"C:\\\x95\x5c", "C:\\\x95\x5c"},
  };
  for (const Case& c : cases) {
    const DropPlace p = fileops::PlaceOfDrop(c.directory, nullptr, nullptr);
    EXPECT_EQ(p.kind, DropPlace::kDirectory) << c.directory;
    EXPECT_EQ(p.path, c.named) << c.directory;
    EXPECT_EQ(fileops::DropQuestion(fileops::DropMode::kCopy, p.path, 4),
              std::string("ファイルを ") + c.named + " へコピーします。よろしいですか?");
  }
}

TEST(DropPolicyTest, QuestionTexts) {
  struct Case {
    DropMode mode;
    uint32_t major;
    const char* text;
  };
  const Case cases[] = {
      {DropMode::kCopy, 4, "ファイルを C:\\x へコピーします。よろしいですか?"},
      {DropMode::kMove, 4, "ファイルを C:\\x へ移動します。よろしいですか?"},
      {DropMode::kLink, 4, "ｼｮｰﾄｶｯﾄを C:\\x に作成します。よろしいですか?"},
      {DropMode::kLink, 3, "リンクを C:\\x に作成します。よろしいですか?"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(fileops::DropQuestion(c.mode, "C:\\x", c.major), c.text);
  EXPECT_EQ(fileops::ProgramQuestion(DropMode::kCopy, "C:\\p\\ed.exe"),
            "C:\\p\\ed.exe を起動します。よろしいですか?");
  for (DropMode m : {DropMode::kMove, DropMode::kLink})
    EXPECT_EQ(fileops::ProgramQuestion(m, "ed.exe"),
              "選択されたファイルを ed.exe と関連付けます。よろしいですか?");
  // A "%" in a path is text, not a format.
  EXPECT_EQ(fileops::DropQuestion(DropMode::kCopy, "C:\\100%s", 4),
            "ファイルを C:\\100%s へコピーします。よろしいですか?");
}

TEST(DropPolicyTest, AssociationKeyAndDragPaths) {
  struct Case {
    const char* path;
    bool byExtension;
    const char* key;
  };
  const Case cases[] = {
      {"C:\\d\\read.me.txt", true, ".txt"},
      {"C:\\d.x\\Makefile", false, "Makefile"},
      {"C:\\d\\\x95\x5C.dat", true, ".dat"},
  };
  for (const Case& c : cases) {
    bool byExtension = !c.byExtension;
    EXPECT_EQ(fileops::AssociationKeyOf(c.path, byExtension), c.key) << c.path;
    EXPECT_EQ(byExtension, c.byExtension) << c.path;
  }

  table::SM_DAT plain, link, shortcut, lookAlike, noName, parent;
  parent.name = "..";
  parent.attributes = 0x10;
  plain.name = "a.txt";
  link.name = "1.LFI";
  link.linkFlags = table::kIsLink;
  link.link = std::make_unique<table::LinkTexts>();
  link.link->target = "D:\\real\\b.txt";
  // A shortcut's arguments are no part of the file it leads to.
  shortcut.name = "s.lnk";
  shortcut.linkFlags = table::kIsLink | table::kIsShortcut;
  shortcut.link = std::make_unique<table::LinkTexts>();
  shortcut.link->target = "D:\\d\\x.txt";
  shortcut.link->arguments = "-y";
  lookAlike.name = "caf?.txt";
  lookAlike.unmappable = true;
  lookAlike.alias = "CAF~1.TXT";
  noName.name = "x?";
  noName.unmappable = true;
  const std::vector<const table::SM_DAT*> all = {&parent, &plain, &link, &shortcut, &lookAlike,
                                                 &noName};
  size_t count = 0;
  EXPECT_EQ(fileops::DragPathList("C:\\t\\", all, true, &count),
            fileops::JoinDropPaths({"C:\\t\\a.txt", "C:\\t\\1.LFI", "C:\\t\\s.lnk",
                                    "C:\\t\\CAF~1.TXT"}));
  EXPECT_EQ(count, 4u);
  EXPECT_EQ(fileops::DragPathList("C:\\t\\", all, false),
            fileops::JoinDropPaths({"C:\\t\\a.txt", "D:\\real\\b.txt", "D:\\d\\x.txt",
                                    "C:\\t\\CAF~1.TXT"}));
  EXPECT_EQ(fileops::DragPathOf("C:\\t\\", noName, true), "");
}

TEST(DropPolicyTest, CursorsAndTheClickSquare) {
  struct Case {
    DropMode mode;
    bool one;
    int id;
  };
  const Case cases[] = {{DropMode::kMove, true, 24001}, {DropMode::kCopy, true, 24002},
                        {DropMode::kMove, false, 24003}, {DropMode::kCopy, false, 24004},
                        {DropMode::kLink, false, 24006}, {DropMode::kLink, true, 24007}};
  for (const Case& c : cases) EXPECT_EQ(fileops::DragCursorId(c.mode, c.one), c.id);
  struct Move {
    int dx, dy;
    bool started;
  };
  const Move moves[] = {{0, 0, false},  {8, 8, false},  {-8, -8, false}, {9, 0, true},
                        {0, -9, true},  {-9, 3, true},  {8, -9, true}};
  for (const Move& m : moves)
    EXPECT_EQ(fileops::DragHasStarted(100, 100, 100 + m.dx, 100 + m.dy), m.started)
        << m.dx << "," << m.dy;
}
