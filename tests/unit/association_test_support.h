// A fixture for association tests that write file types under HKEY_CLASSES_ROOT and entries of
// WIN.INI [Extensions]: every name is unique to the run, and whatever a test made is removed
// again, so the tests run natively and in a shared Wine prefix alike.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "exec/association_store.h"
#include "os/services.h"

namespace testutil {

class ClassesFixture : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const std::string& k : classKeys_) DeleteClassTree(k);
    for (const std::string& k : winIniKeys_)
      os::Ini().WriteWinIniString(exec::kExtensionsSection, k.c_str(), nullptr);
  }

  // "sorm<stem><ticks>n<counter>": unique to this run.
  std::string Unique(const char* stem) {
    static int counter = 0;
    char name[64];
    std::snprintf(name, sizeof(name), "sorm%s%un%d", stem, os::Sys().TickCount(), counter++);
    return name;
  }

  // Remembers the top-level key of path for removal.
  void Track(const std::string& path) {
    std::string top = path.substr(0, path.find('\\'));
    for (const std::string& k : classKeys_)
      if (k == top) return;
    classKeys_.push_back(top);
  }

  // Sets the default value of path below HKEY_CLASSES_ROOT, creating the keys.
  void SetClassValue(const std::string& path, const std::string& value) {
    Track(path);
    uint32_t e = 0;
    auto key = os::Reg().CreateKey(os::RegRoot::kClassesRoot, path.c_str(), &e);
    ASSERT_TRUE(key) << path;
    ASSERT_EQ(key->SetValue(nullptr, value.c_str()), 0u) << path;
  }

  void AddWinIniExtension(const std::string& key, const std::string& value) {
    winIniKeys_.push_back(key);
    ASSERT_TRUE(os::Ini().WriteWinIniString(exec::kExtensionsSection, key.c_str(),
                                            value.c_str()));
  }

  static void DeleteClassTree(const std::string& path) {
    uint32_t e = 0;
    auto k = os::Reg().OpenKey(os::RegRoot::kClassesRoot, path.c_str(), &e);
    if (!k) return;
    char sub[256];
    std::vector<std::string> subs;
    for (uint32_t i = 0; k->EnumKey(i, sub, sizeof(sub)) == 0; ++i) subs.push_back(sub);
    k.reset();
    for (const auto& s : subs) DeleteClassTree(path + "\\" + s);
    os::Reg().DeleteKey(os::RegRoot::kClassesRoot, path.c_str());
  }

 private:
  std::vector<std::string> classKeys_;
  std::vector<std::string> winIniKeys_;
};

}  // namespace testutil
