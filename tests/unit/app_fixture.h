// A scratch program directory: Globals() point at a sorm.cfg and smlock inside a TempDir, as if
// the program lived there. Restores the previous globals afterwards.
#pragma once
#include <gtest/gtest.h>

#include "config/config_file.h"
#include "config/instance_paths.h"
#include "config/program_context.h"
#include "tests/unit/test_util.h"

namespace testutil {

class AppDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = app::Globals();
    app::Globals().exePath = dir_.Path("SORM32.EXE");
    app::Globals().configFilePath = dir_.Path("sorm.cfg");
    app::BuildLockAndHelpPaths();
  }
  void TearDown() override { app::Globals() = saved_; }

  std::string Cfg() const { return ReadFileBytes(dir_.Path("sorm.cfg")); }
  std::string Get(const std::string& section, const char* key) const {
    return app::ReadConfigString(section, key, "<missing>");
  }

  TempDir dir_;

 private:
  app::ProcessGlobals saved_;
};

}  // namespace testutil
