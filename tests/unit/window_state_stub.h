// A window with nothing to save but its settings: no frame, no panes, no table. It counts the
// lock errors a save reports to it.
#pragma once
#include "app/window_state.h"

namespace testutil {

class SettingsOnlyWindow : public app::WindowStateSource {
 public:
  app::WindowSettings settings;
  int lockErrors = 0;
  app::WindowSettings Settings() override { return settings; }
  bool HasFrame() override { return false; }
  void WritePlacement(int, int, int) override {}
  bool HasActivePane() override { return false; }
  void WritePaneSettings(int, int) override {}
  bool HasActiveTable() override { return false; }
  void WriteTableSettings(int, int) override {}
  void ShowLockError() override { ++lockErrors; }
};

}  // namespace testutil
