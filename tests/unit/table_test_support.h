// Shared pieces of the file table tests: a recording pane window, a deterministic text
// measurer and a fixture with its own configuration file and listing directory.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/config_file.h"
#include "config/program_context.h"
#include "fileops/engine_state.h"
#include "os/mbcs.h"
#include "os/services.h"
#include "table/sorm.h"
#include "tests/unit/test_util.h"

namespace tabletest {

// Width 6 per single-byte character and 12 per double-byte character, height 12; counts calls.
class FixedMeasurer : public table::TextMeasurer {
 public:
  table::TextExtent Measure(const char* text, std::size_t len) override {
    ++calls;
    table::TextExtent e;
    e.height = 12;
    for (std::size_t i = 0; i < len; ++i) {
      if (mbcs::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < len) {
        e.width += 12;
        ++i;
      } else {
        e.width += 6;
      }
    }
    return e;
  }
  void Release() override { ++releases; }
  int calls = 0;
  int releases = 0;
};

class RecordingView : public table::TableView {
 public:
  table::ClientSize GetClientSize() override { return client; }
  table::IconMetrics GetIconMetrics() override { return icons; }
  table::TextMeasurer& Measurer() override { return measurer; }
  void SetScrollBars(const table::ScrollBars& b) override { bars.push_back(b); }
  void Repaint() override { ++repaints; }
  void ErrorBox(const char* text) override { errors.emplace_back(text); }
  void FatalError(const char* text) override { fatal.emplace_back(text); }
  void UpdateSelectionText() override { ++selectionUpdates; }
  void SortOrderChanged(int16_t oldId, int16_t newId) override {
    sortChanges.emplace_back(oldId, newId);
  }
  void ShowTitle(const std::string& t, const std::string& dir) override {
    title = t;
    titleDirectory = dir;
  }
  void CloseChangeMonitor() override { ++monitorCloses; }
  void ArmChangeMonitor(const std::string& path) override { monitorArms.push_back(path); }

  table::ClientSize client{400, 300};
  table::IconMetrics icons;
  FixedMeasurer measurer;
  std::vector<table::ScrollBars> bars;
  int repaints = 0;
  int selectionUpdates = 0;
  std::vector<std::string> errors;
  std::vector<std::string> fatal;
  std::vector<std::pair<int16_t, int16_t>> sortChanges;
  std::string title;
  std::string titleDirectory;
  int monitorCloses = 0;
  std::vector<std::string> monitorArms;
};

// The UTC file time whose local time (with the backend's current bias) is the given moment.
os::FileTime LocalFileTime(int year, int month, int day, int hour, int minute, int second);

// Sets a file's last write time through the OS layer.
bool SetWriteTime(const std::string& path, os::FileTime t);

class TableTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes a key of the pane's section "INST<instance>".
  void SetKey(const char* key, const std::string& value, int instance = 1);
  // A table on path (the listing directory by default) with the given mask; the pane's
  // section gets "vmode" 0 and any keys set before.
  std::unique_ptr<table::Sorm> Open(const std::string& path = std::string(),
                                    const std::string& mask = "*.*");
  // Files and directories in the listing directory.
  void MakeFile(const std::string& name, std::size_t size = 0);
  void MakeDir(const std::string& name);

  // Names (file names) of the entries in display order.
  static std::vector<std::string> Names(const table::Sorm& t);
  static std::vector<std::string> DisplayNames(const table::Sorm& t);
  static table::BINFO* Entry(const table::Sorm& t, const std::string& name);

  testutil::TempDir dir_;
  RecordingView view_;

 private:
  testutil::TempDir cfgDir_;
  std::optional<config::ScopedContext> context_;
  std::string savedCwd_;
};

// A table test whose file commands run as on Windows 4 (deletes through the shell) and delete
// for good instead of into the recycle bin.
class CommandTableTest : public TableTest {
 protected:
  void SetUp() override {
    TableTest::SetUp();
    config::ProgramContext context = config::Context();
    context.windowsMajorVersion = 4;
    version_.emplace(context);
    fileops::SetRecycleDeletes(false);
  }
  void TearDown() override {
    version_.reset();
    TableTest::TearDown();
  }

 private:
  std::optional<config::ScopedContext> version_;
};

}  // namespace tabletest
