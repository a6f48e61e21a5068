// The association dialog's decisions: the key, the first answer and what an answer means.
#include <gtest/gtest.h>

#include <memory>

#include "exec/association_edit.h"

namespace {

using exec::AssociationKind;

TEST(AssociationKeyTest, KeyPerKind) {
  struct Case {
    const char* name;
    AssociationKind kind;
    bool ok;
    const char* key;
  } cases[] = {
      {"README.TXT", AssociationKind::kByExtension, true, ".TXT"},
      {"README.TXT", AssociationKind::kByName, true, "README"},
      {"README.TXT", AssociationKind::kByFullName, true, "README.TXT"},
      {"archive.tar.gz", AssociationKind::kByExtension, true, ".gz"},
      {"archive.tar.gz", AssociationKind::kByName, true, "archive.tar"},
      {"README", AssociationKind::kByExtension, false, ""},
      {"README", AssociationKind::kByName, true, "README"},
      {".profile", AssociationKind::kByName, true, ""},
      {"\x83.x", AssociationKind::kByExtension, false, ""},  // the "." is a trail byte
  };
  for (const auto& c : cases) {
    std::string key = "unset";
    EXPECT_EQ(exec::AssociationKeyFor(c.name, c.kind, key), c.ok) << c.name;
    if (c.ok) {
      EXPECT_EQ(key, c.key) << c.name;
    }
  }
}

exec::FileTypeList Types() {
  exec::FileTypeList types;
  auto add = [&](const char* key, const char* command, const char* description) {
    types.push_back(std::make_unique<exec::ExecLinkInfo>(key, command));
    types.back()->description = description;
  };
  add("txtfile", "C:\\WIN\\NOTEPAD.EXE %1", "Text Document");
  add("docfile", "\"C:\\Program Files\\ed\\ed.exe\" \"%1\"", "Document");
  add("nodesc", "other.exe", "");
  return types;
}

TEST(InitialAnswerTest, DescriptionWhereOneIsKnown) {
  const exec::FileTypeList types = Types();
  exec::Associations lists;
  lists.extensions.Append(".TXT", "notepad.exe").description = "Text Document";
  lists.extensions.Append(".LOG", "viewer.exe %1");
  lists.names.Append("README", "c:\\win\\notepad.exe %1");
  lists.fullNames.Append("A.B", "own.exe");
  struct Case {
    const char* key;
    AssociationKind kind;
    const char* answer;
  } cases[] = {
      {".txt", AssociationKind::kByExtension, "Text Document"},
      {".log", AssociationKind::kByExtension, "viewer.exe %1"},
      {".none", AssociationKind::kByExtension, ""},
      {"readme", AssociationKind::kByName, "Text Document"},  // same command, other case
      {"a.b", AssociationKind::kByFullName, "own.exe"},
      {"README", AssociationKind::kByFullName, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(exec::InitialAnswer(lists, types, c.key, c.kind), c.answer) << c.key;
}

TEST(ResolveAnswerTest, TypeByDescriptionOrProgramElseACommand) {
  const exec::FileTypeList types = Types();
  struct Case {
    const char* answer;
    const char* type;  // null: a command
    const char* command;
  } cases[] = {
      {"text document", "txtfile", ""},
      {"C:\\win\\notepad.exe", "txtfile", ""},
      {"C:\\Program Files\\ed\\ed.exe", "docfile", ""},
      {"notepad", nullptr, "notepad.EXE"},
      {"notepad.com", nullptr, "notepad.com"},
      {"\x83.x", nullptr, "\x83.x.EXE"},  // no period of its own
      {"", nullptr, ""},
  };
  for (const auto& c : cases) {
    exec::AnswerChoice choice = exec::ResolveAnswer(c.answer, types);
    if (c.type) {
      ASSERT_TRUE(choice.type) << c.answer;
      EXPECT_EQ(choice.type->key, c.type);
    } else {
      EXPECT_EQ(choice.type, nullptr) << c.answer;
    }
    EXPECT_EQ(choice.command, c.command) << c.answer;
  }
}

}  // namespace
