// A scratch program directory: the program context points at a sorm.cfg and smlock inside a
// TempDir, as if the program lived there. The previous context comes back afterwards.
#pragma once
#include <gtest/gtest.h>

#include <optional>

#include "config/config_file.h"
#include "config/instance_paths.h"
#include "config/program_context.h"
#include "tests/unit/test_util.h"

namespace testutil {

class AppDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    config::ProgramContext c = config::Context();
    c.programPath = dir_.Path("SORM32.EXE");
    c.configFilePath = dir_.Path("sorm.cfg");
    config::BuildLockAndHelpPaths(c);
    context_.emplace(c);
  }
  void TearDown() override { context_.reset(); }

  std::string Cfg() const { return ReadFileBytes(dir_.Path("sorm.cfg")); }
  std::string Get(const std::string& section, const char* key) const {
    return config::ReadConfigString(section, key, "<missing>");
  }

  TempDir dir_;

 private:
  std::optional<config::ScopedContext> context_;
};

}  // namespace testutil
