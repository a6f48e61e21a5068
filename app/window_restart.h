// Restarting a window in a new process with changed settings (menu bar, one or two panes).
#pragma once
#include <string>

#include "app/window_state.h"

namespace app {

// Saves source as the restart window (INST65) and starts the program on it. True when the new
// process started: only then may the caller close its window. When the start failed the
// restart sections are removed again and false is returned: the caller keeps its window, which
// is still the one holding the user's state, and says so.
bool StartRestartedWindow(WindowStateSource& source, const std::string& exePath);

// "ウィンドウを再起動できませんでした。このウィンドウはそのまま使えます"
const char* RestartFailedMessage();

}  // namespace app
