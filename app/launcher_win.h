// The launcher process with its splash window.
#pragma once

namespace app {
int RunLauncherProcess();
}
