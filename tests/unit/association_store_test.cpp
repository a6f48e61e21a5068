// Loading and storing associations: [ExecLink] of the configuration file, WIN.INI
// [Extensions] and the file types under HKEY_CLASSES_ROOT. Registry keys and WIN.INI entries
// get names of their own and are removed again.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <cstdio>
#include <string>
#include <vector>

#include "exec/association_edit.h"
#include "exec/association_registry.h"
#include "exec/association_store.h"
#include "os/registry.h"
#include "os/services.h"
#include "tests/unit/association_test_support.h"
#include "tests/unit/test_util.h"

namespace {

using exec::AssociationKind;
using testutil::ClassesFixture;

std::vector<std::pair<std::string, std::string>> Entries(const exec::AssociationList& list) {
  std::vector<std::pair<std::string, std::string>> out;
  for (const auto& r : list) out.emplace_back(r->key, r->command);
  return out;
}

using Entries_t = std::vector<std::pair<std::string, std::string>>;

class AssociationStoreTest : public ClassesFixture {
 protected:
  testutil::TempDir dir_;
  std::string config_ = dir_.Path("sorm.cfg");
};

TEST_F(AssociationStoreTest, LoadsExecLinkInFileOrderByKind) {
  ASSERT_TRUE(testutil::WriteFileBytes(config_,
                                       "[Other]\r\nX=nothing\r\n"
                                       "[ExecLink]\r\n"
                                       "README=edit.exe \"%1\"\r\n"
                                       "README.TXT=view.exe ^.txt\r\n"
                                       "EMPTY=\r\n"
                                       "CARET=^only\r\n"
                                       "archive.tar=tar.exe -x\r\n"
                                       "Q=\"\"C:\\a b\\p.exe\" %1\"\r\n"
                                       "\x95\x5c=hyo.exe\r\n"));
  exec::Associations lists;
  lists.names.Append("stale", "gone.exe");  // loading starts from empty lists
  exec::LoadAssociations(lists, config_);
  EXPECT_EQ(Entries(lists.names), (Entries_t{{"README", "edit.exe \"%1\""},
                                             {"Q", "\"C:\\a b\\p.exe\" %1"},
                                             {"\x95\x5c", "hyo.exe"}}));
  EXPECT_EQ(Entries(lists.fullNames),
            (Entries_t{{"README.TXT", "view.exe "}, {"archive.tar", "tar.exe -x"}}));
  exec::FreeAssociations(lists);
  EXPECT_TRUE(lists.names.Empty() && lists.fullNames.Empty() && lists.extensions.Empty());
}

TEST_F(AssociationStoreTest, LoadsWinIniExtensionsWithTheirDot) {
  const std::string a = Unique("sa"), b = Unique("sb"), c = Unique("sc");
  AddWinIniExtension(a, "notepad.exe ^." + a);
  AddWinIniExtension(b, "");
  AddWinIniExtension(c, "\"C:\\x y\\v.exe\" %1");
  exec::Associations lists;
  exec::LoadAssociations(lists, config_);
  const exec::ExecLinkInfo* ra = lists.extensions.Find(("." + a).c_str());
  ASSERT_TRUE(ra);
  EXPECT_EQ(ra->key, "." + a);
  EXPECT_EQ(ra->command, "notepad.exe ");
  EXPECT_FALSE(lists.extensions.Find(("." + b).c_str()));
  ASSERT_TRUE(lists.extensions.Find(("." + c).c_str()));
  EXPECT_EQ(lists.extensions.Find(("." + c).c_str())->command, "\"C:\\x y\\v.exe\" %1");
  EXPECT_FALSE(lists.names.Find(a.c_str()));
}

TEST(ExecLinkKeyTest, WhatAProfileKeyCanHold) {
  struct Case {
    const char* key;
    bool storable;
    AssociationKind kind;
  } cases[] = {
      {"README", true, AssociationKind::kByName},
      {"README.TXT", true, AssociationKind::kByFullName},
      {"archive.tar", true, AssociationKind::kByFullName},
      {"\x95\x5c", true, AssociationKind::kByName},
      {"\x83.", true, AssociationKind::kByName},  // the "." is a trail byte
      {"a=b.txt", false, AssociationKind::kByFullName},
      {"[x", false, AssociationKind::kByName},
      {";x", false, AssociationKind::kByName},
      {" a", false, AssociationKind::kByName},
      {"a ", false, AssociationKind::kByName},
      {"a\r\nb", false, AssociationKind::kByName},
      {"", false, AssociationKind::kByName},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(exec::IsStorableProfileKey(c.key), c.storable) << c.key;
    EXPECT_EQ(exec::KindOfExecLinkKey(c.key), c.kind) << c.key;
  }
  EXPECT_FALSE(exec::IsStorableProfileKey(std::string(261, 'k').c_str()));
}

TEST_F(AssociationStoreTest, StoredCommandsReadBackUnchanged) {
  std::string longCommand(400, 'c');
  std::string splitAtLimit = std::string(259, 'd') + "\x95\x5c";  // 表 would straddle 260
  struct Case {
    std::string command;
    std::string readBack;
  } cases[] = {
      {"edit.exe", "edit.exe"},
      {"\"C:\\a b\\edit.exe\" \"%1\"", "\"C:\\a b\\edit.exe\" \"%1\""},
      {"\"C:\\a b\\edit.exe\"", "\"C:\\a b\\edit.exe\""},
      {"'quoted'", "'quoted'"},
      {"v.exe ^.txt", "v.exe "},
      {longCommand, longCommand.substr(0, exec::kMaxStoredCommand)},
      {splitAtLimit, splitAtLimit.substr(0, 259)},
      // A line break would start a line of its own: the command ends there.
      {"a.exe\r\nevil.txt=bad.exe", "a.exe"},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string key = "K" + std::to_string(n++);
    ASSERT_EQ(exec::SetAssociation(config_, key.c_str(), c.command.c_str(),
                                   AssociationKind::kByName), 0)
        << c.command;
    EXPECT_LE(exec::ExecLinkValueForStorage(c.command.c_str()).size(),
              exec::kMaxStoredCommand + 2);
  }
  exec::Associations lists;
  exec::LoadAssociations(lists, config_);
  EXPECT_TRUE(lists.fullNames.Empty());  // nothing was smuggled in as a key of its own
  n = 0;
  for (const auto& c : cases) {
    const std::string key = "K" + std::to_string(n++);
    const exec::ExecLinkInfo* r = lists.names.Find(key.c_str());
    ASSERT_TRUE(r) << key;
    EXPECT_EQ(r->command, c.readBack) << c.command;
  }
}

TEST_F(AssociationStoreTest, ByNameAndFullNameStoreAndRemove) {
  ASSERT_EQ(exec::SetAssociation(config_, "README", "edit.exe", AssociationKind::kByName), 0);
  ASSERT_EQ(exec::SetAssociation(config_, "archive.tar", "tar.exe", AssociationKind::kByName),
            0);
  ASSERT_EQ(exec::SetAssociation(config_, "NOTES.TXT", "v.exe", AssociationKind::kByFullName),
            0);
  exec::Associations lists;
  exec::LoadAssociations(lists, config_);
  EXPECT_EQ(Entries(lists.names), (Entries_t{{"README", "edit.exe"}}));
  // A name key with a "." reads back as a full name.
  EXPECT_EQ(Entries(lists.fullNames),
            (Entries_t{{"archive.tar", "tar.exe"}, {"NOTES.TXT", "v.exe"}}));
  ASSERT_EQ(exec::SetAssociation(config_, "README", "", AssociationKind::kByName), 0);
  ASSERT_EQ(exec::SetAssociation(config_, "NOTES.TXT", nullptr, AssociationKind::kByFullName),
            0);
  exec::LoadAssociations(lists, config_);
  EXPECT_TRUE(lists.names.Empty());
  EXPECT_EQ(Entries(lists.fullNames), (Entries_t{{"archive.tar", "tar.exe"}}));
  // Keys the file cannot hold are refused and nothing is written.
  const std::string before = testutil::ReadFileBytes(config_);
  for (const char* bad : {"a=b.txt", "[x", ";x", "", " a"})
    EXPECT_EQ(exec::SetAssociation(config_, bad, "p.exe", AssociationKind::kByFullName), -1)
        << bad;
  EXPECT_EQ(testutil::ReadFileBytes(config_), before);
}

TEST_F(AssociationStoreTest, ReadsFileTypesFromTheRegistry) {
  const std::string t1 = Unique("T"), t2 = Unique("T"), t3 = Unique("T"), t5 = Unique("T"),
                    t7 = Unique("T");
  const std::string e1 = "." + Unique("e"), e2 = "." + Unique("e"), e3 = "." + Unique("e"),
                    e4 = "." + Unique("e"), e5 = "." + Unique("e"), e6 = "." + Unique("e"),
                    e7 = "." + Unique("e"), e8 = "." + Unique("e");
  SetClassValue(e1, t1);
  SetClassValue(t1, "Type one");
  SetClassValue(t1 + "\\shell", "edit");
  SetClassValue(t1 + "\\shell\\edit\\command", "e.exe %1^x");
  SetClassValue(t1 + "\\shell\\open\\command", "wrong.exe");
  SetClassValue(e2, t2);
  SetClassValue(t2, "Type two");
  SetClassValue(t2 + "\\shell\\open\\command", "o.exe \"%1\"");
  SetClassValue(e3, t3);
  SetClassValue(t3, "Type three");
  SetClassValue(t3 + "\\shell\\print\\command", "pr.exe %1");
  SetClassValue(e4, "");
  SetClassValue(e4 + "\\shell\\open\\command", "self.exe %1");
  SetClassValue(e5, t5);  // the type itself is missing
  SetClassValue(e6, "");  // no command at all
  SetClassValue(e7, t7);
  SetClassValue(t7, "Type seven");
  SetClassValue(t7 + "\\shell\\open\\command", std::string(300, 'x'));  // unreadable in 256
  struct Case {
    std::string ext;
    bool found;
    const char *command, *description, *verb;
  } cases[] = {
      {e1, true, "e.exe %1", "Type one", "edit"},
      {e2, true, "o.exe \"%1\"", "Type two", ""},
      {e3, true, "pr.exe %1", "Type three", "print"},
      {e4, true, "self.exe %1", "", ""},
      {e5, false, "", "", ""},
      {e6, false, "", "", ""},
      {e7, false, "", "", ""},
      {e8, false, "", "", ""},
  };
  for (const auto& c : cases) {
    exec::ExecLinkInfo r;
    r.command = "untouched";
    ASSERT_EQ(exec::ReadExtensionFromRegistry(c.ext.c_str(), r), c.found) << c.ext;
    if (!c.found) {
      EXPECT_EQ(r.command, "untouched");
      continue;
    }
    EXPECT_EQ(r.key, c.ext);
    EXPECT_EQ(r.command, c.command);
    EXPECT_EQ(r.description, c.description);
    EXPECT_EQ(r.verb, c.verb);
  }
  // The registered types: every type with a readable first verb and description.
  std::vector<std::string> listed;
  for (const auto& t : exec::RegisteredFileTypes()) {
    for (const std::string* mine : {&t1, &t2, &t3, &t5, &t7})
      if (t->key == *mine) listed.push_back(t->key + "=" + t->command + "|" + t->description);
  }
  std::sort(listed.begin(), listed.end());
  std::vector<std::string> expected = {t1 + "=e.exe %1|Type one", t2 + "=o.exe \"%1\"|Type two",
                                       t3 + "=pr.exe %1|Type three"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(listed, expected);
}

TEST_F(AssociationStoreTest, ByExtensionStoresTheCommandInTheRegistry) {
  const std::string e1 = "." + Unique("x"), e2 = "." + Unique("x"), t = Unique("T");
  Track(e1);
  Track(e2);
  SetClassValue(e2, t);
  SetClassValue(t, "Some type");
  SetClassValue(t + "\\shell\\open\\command", "old.exe %1");
  AddWinIniExtension(e2.substr(1), "legacy.exe");
  struct Case {
    std::string ext;
    const char* command;
    const char* stored;
  } cases[] = {
      {e1, "notepad.EXE", "notepad.EXE %1"},
      {e1, "\"C:\\a b\\v.exe\" \"%1\" -r", "\"C:\\a b\\v.exe\" \"%1\" -r"},
      {e2, "new.exe", "new.exe %1"},  // the extension stops naming the type
  };
  for (const auto& c : cases) {
    ASSERT_EQ(exec::SetAssociation(config_, c.ext.c_str(), c.command,
                                   AssociationKind::kByExtension), 0);
    exec::ExecLinkInfo r;
    ASSERT_TRUE(exec::ReadExtensionFromRegistry(c.ext.c_str(), r)) << c.ext;
    EXPECT_EQ(r.command, c.stored);
    EXPECT_EQ(r.description, "");
  }
  // Removing takes the key and the WIN.INI entry.
  for (const std::string& ext : {e1, e2}) {
    EXPECT_EQ(exec::SetAssociation(config_, ext.c_str(), "", AssociationKind::kByExtension), 0);
    exec::ExecLinkInfo r;
    EXPECT_FALSE(exec::ReadExtensionFromRegistry(ext.c_str(), r)) << ext;
  }
  exec::Associations lists;
  exec::LoadAssociations(lists, config_);
  EXPECT_FALSE(lists.extensions.Find(e2.c_str()));
  // What the registry could not hold or read back is refused.
  EXPECT_EQ(exec::SetAssociation(config_, "noDot", "a.exe", AssociationKind::kByExtension), -1);
  EXPECT_EQ(exec::SetAssociation(config_, ".", "a.exe", AssociationKind::kByExtension), -1);
  EXPECT_EQ(exec::SetAssociation(config_, (e1 + "\\shell").c_str(), "a.exe",
                                 AssociationKind::kByExtension), -1);
  EXPECT_EQ(exec::SetAssociation(config_, e1.c_str(), std::string(260, 'a').c_str(),
                                 AssociationKind::kByExtension), -1);
  exec::ExecLinkInfo r;
  EXPECT_FALSE(exec::ReadExtensionFromRegistry(e1.c_str(), r));
}

}  // namespace

namespace {

// The dialog's answer stored: a registered type by its name or command, a program with ".EXE"
// added, and read back through a fresh set of lists as an opening would see it.
TEST_F(AssociationStoreTest, DialogAnswersAreStoredAndReadBack) {
  const std::string type = Unique("T");
  SetClassValue(type, "Sorm test type");
  SetClassValue(type + "\\shell\\open\\command", "typeprog.exe \"%1\"");
  exec::FileTypeList types;
  types.push_back(std::make_unique<exec::ExecLinkInfo>(type, "typeprog.exe \"%1\""));
  types.back()->description = "Sorm test type";
  const std::string ext = "." + Unique("e");
  Track(ext);
  struct Case {
    std::string key;
    AssociationKind kind;
    const char* answer;
    const char* command;  // what a lookup list then holds for the key
  } cases[] = {
      {"README", AssociationKind::kByName, "Sorm test type", "typeprog.exe \"%1\""},
      {"NOTES.TXT", AssociationKind::kByFullName, "notepad", "notepad.EXE"},
      {"NOTES.TXT", AssociationKind::kByFullName, "typeprog.exe", "typeprog.exe \"%1\""},
      {ext, AssociationKind::kByExtension, "notepad", "notepad.EXE %1"},
      {ext, AssociationKind::kByExtension, "sorm test TYPE", "typeprog.exe \"%1\""},
  };
  for (const auto& c : cases) {
    const exec::StoredAnswer s =
        exec::StoreAssociationAnswer(config_, c.key, c.kind, c.answer, types);
    EXPECT_EQ(s.result, 0) << c.key << " " << c.answer;
    EXPECT_TRUE(s.announce);
    exec::Associations lists;
    exec::LoadAssociations(lists, config_);
    if (c.kind == AssociationKind::kByExtension) exec::EnsureExtensionRecord(lists, c.key);
    const exec::ExecLinkInfo* r = lists.List(c.kind).Find(c.key.c_str());
    ASSERT_NE(r, nullptr) << c.key << " " << c.answer;
    EXPECT_EQ(r->command, c.command) << c.key << " " << c.answer;
  }
  // An empty answer removes the association.
  EXPECT_EQ(exec::StoreAssociationAnswer(config_, "README", AssociationKind::kByName, "", types)
                .result,
            0);
  exec::Associations lists;
  exec::LoadAssociations(lists, config_);
  EXPECT_EQ(lists.names.Find("README"), nullptr);
}

// A registry that refuses to write "command" values and passes everything else on.
class RefusingCommands final : public os::Registry {
 public:
  explicit RefusingCommands(os::Registry& inner) : inner_(inner) {}
  std::unique_ptr<os::RegKey> OpenKey(os::RegRoot root, const char* path,
                                      uint32_t* error) override {
    return Wrap(inner_.OpenKey(root, path, error));
  }
  std::unique_ptr<os::RegKey> CreateKey(os::RegRoot root, const char* path,
                                        uint32_t* error) override {
    return Wrap(inner_.CreateKey(root, path, error));
  }
  uint32_t DeleteKey(os::RegRoot root, const char* path) override {
    return inner_.DeleteKey(root, path);
  }

 private:
  class Key final : public os::RegKey {
   public:
    explicit Key(std::unique_ptr<os::RegKey> k) : k_(std::move(k)) {}
    uint32_t QueryValue(const char* sub, char* buf, int32_t* size) override {
      return k_->QueryValue(sub, buf, size);
    }
    uint32_t SetValue(const char* sub, const char* value) override {
      if (sub && std::string(sub) == "command") return 5;  // access denied
      return k_->SetValue(sub, value);
    }
    uint32_t EnumKey(uint32_t i, char* buf, uint32_t size) override {
      return k_->EnumKey(i, buf, size);
    }
    uint32_t DeleteKey(const char* sub) override { return k_->DeleteKey(sub); }

   private:
    std::unique_ptr<os::RegKey> k_;
  };
  static std::unique_ptr<os::RegKey> Wrap(std::unique_ptr<os::RegKey> k) {
    return k ? std::make_unique<Key>(std::move(k)) : nullptr;
  }
  os::Registry& inner_;
};

// A command the registry refuses leaves the extension with its registered file type.
TEST_F(AssociationStoreTest, ARefusedCommandLeavesTheExtensionWithItsType) {
  const std::string e = "." + Unique("x"), t = Unique("T");
  Track(e);
  SetClassValue(e, t);
  SetClassValue(t, "Some type");
  SetClassValue(t + "\\shell\\open\\command", "old.exe %1");
  RefusingCommands refusing(os::Reg());
  {
    os::ScopedServices scope(os::Services{nullptr, nullptr, &refusing});
    EXPECT_EQ(exec::SetAssociation(config_, e.c_str(), "new.exe", AssociationKind::kByExtension),
              -1);
  }
  exec::ExecLinkInfo r;
  ASSERT_TRUE(exec::ReadExtensionFromRegistry(e.c_str(), r));
  EXPECT_EQ(r.command, "old.exe %1");
  EXPECT_EQ(r.description, "Some type");
}

TEST_F(AssociationStoreTest, AFileTypeTheRegistryRefusesIsNotAnnounced) {
  exec::FileTypeList types;
  types.push_back(std::make_unique<exec::ExecLinkInfo>("SomeType", "some.exe %1"));
  types.back()->description = "Some";
  // "\" would address another key: refused before the registry is touched.
  const exec::StoredAnswer s = exec::StoreAssociationAnswer(
      config_, ".a\\b", AssociationKind::kByExtension, "Some", types);
  EXPECT_EQ(s.result, -1);
  EXPECT_FALSE(s.announce);
}

}  // namespace
