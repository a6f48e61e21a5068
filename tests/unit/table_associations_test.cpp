// The association lists a file table keeps: read once, kept in most-recently-used order between
// lookups, the registry asked once per extension, and read again on a reload.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "config/config_file.h"
#include "exec/association_lookup.h"
#include "exec/association_store.h"
#include "exec/table_associations.h"
#include "os/counting_registry.h"
#include "os/services.h"
#include "tests/unit/table_test_support.h"

namespace {

class TableAssociationsTest : public tabletest::TableTest {
 protected:
  void TearDown() override {
    for (const std::string& k : madeKeys_) {
      os::Reg().DeleteKey(os::RegRoot::kClassesRoot, (k + "\\shell\\open\\command").c_str());
      os::Reg().DeleteKey(os::RegRoot::kClassesRoot, (k + "\\shell\\open").c_str());
      os::Reg().DeleteKey(os::RegRoot::kClassesRoot, (k + "\\shell").c_str());
      os::Reg().DeleteKey(os::RegRoot::kClassesRoot, k.c_str());
    }
    TableTest::TearDown();
  }
  static std::string UniqueExtension(int i) {
    char ext[48];
    std::snprintf(ext, sizeof(ext), ".sta%u_%d", os::Sys().TickCount() % 100000u, i);
    return ext;
  }
  void RegisterExtension(const std::string& ext, const char* command) {
    madeKeys_.push_back(ext);
    ASSERT_EQ(exec::SetAssociation(config::Context().configFilePath, ext.c_str(), command,
                                   exec::AssociationKind::kByExtension),
              0);
  }
  exec::AssociationMatch Lookup(table::Sorm& t, const std::string& name) {
    return exec::LookupAssociation(exec::TableAssociations(t), dir_.Dir(), name.c_str());
  }
  std::vector<std::string> madeKeys_;
};

TEST_F(TableAssociationsTest, ReadOnceKeptInUseOrderAndReadAgainOnReload) {
  ASSERT_TRUE(config::WriteConfigString("ExecLink", "README", "first.exe"));
  ASSERT_TRUE(config::WriteConfigString("ExecLink", "NOTES", "notes.exe"));
  auto t = Open();
  exec::Associations& lists = exec::TableAssociations(*t);
  ASSERT_EQ(lists.names.Size(), 2u);
  EXPECT_EQ(lists.names.begin()->get()->key, "README");
  EXPECT_EQ(Lookup(*t, "notes.doc").launchClass, exec::LaunchClass::kByName);

  // Changed in the file after the first read: the table keeps what it read and its order.
  ASSERT_TRUE(config::WriteConfigString("ExecLink", "README", "second.exe"));
  EXPECT_EQ(&exec::TableAssociations(*t), &lists);
  EXPECT_EQ(lists.names.begin()->get()->key, "NOTES");
  EXPECT_EQ(Lookup(*t, "readme.doc").command, "first.exe");

  exec::ReloadTableAssociations(*t);
  EXPECT_EQ(&exec::TableAssociations(*t), &lists);
  EXPECT_EQ(lists.names.begin()->get()->key, "README");  // file order again
  EXPECT_EQ(Lookup(*t, "readme.doc").command, "second.exe");
}

TEST_F(TableAssociationsTest, TheRegistryIsAskedOncePerExtensionUntilAReload) {
  auto t = Open();
  const std::string known = UniqueExtension(1), unknown = UniqueExtension(2);
  RegisterExtension(known, "known.exe \"%1\"");
  os::CountingRegistry counting;
  os::ScopedServices scoped(os::Services{nullptr, nullptr, &counting, nullptr, nullptr});
  const struct {
    std::string name;
    exec::LaunchClass c;
  } files[] = {{"a" + known, exec::LaunchClass::kByExtension},
               {"b" + unknown, exec::LaunchClass::kNone}};
  for (int round = 0; round < 3; ++round)
    for (const auto& f : files) EXPECT_EQ(Lookup(*t, f.name).launchClass, f.c) << f.name;
  const int afterFirst = counting.Opened();
  EXPECT_GE(afterFirst, 2);  // each extension was asked for
  EXPECT_LE(afterFirst, 4);  // and not once per lookup
  // A second table has lists of its own.
  auto other = Open();
  Lookup(*other, files[0].name);
  EXPECT_GT(counting.Opened(), afterFirst);
  const int withOther = counting.Opened();
  Lookup(*t, files[0].name);
  EXPECT_EQ(counting.Opened(), withOther);
  // After a reload the registry is asked again, and a changed file type counts.
  RegisterExtension(unknown, "late.exe %1");
  exec::ReloadTableAssociations(*t);
  const exec::AssociationMatch m = Lookup(*t, files[1].name);
  EXPECT_EQ(m.launchClass, exec::LaunchClass::kByExtension);
  EXPECT_EQ(m.command, "late.exe %1");
}

TEST_F(TableAssociationsTest, AReloadBeforeAnyUseReadsNothingTwice) {
  auto t = Open();
  exec::ReloadTableAssociations(*t);  // nothing read yet: nothing to do
  EXPECT_FALSE(t->associationsSlot());
  ASSERT_TRUE(config::WriteConfigString("ExecLink", "a.b", "ab.exe"));
  EXPECT_EQ(exec::TableAssociations(*t).fullNames.Size(), 1u);
}

}  // namespace
