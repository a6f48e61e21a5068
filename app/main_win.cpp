// Process entry: chooses the role (launcher, new window, numbered instance) and runs it.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/fws_app_win.h"
#include "app/instance_coord_win.h"
#include "config/instance_paths.h"
#include "app/instance_role.h"
#include "app/launcher_win.h"
#include "app/out_of_memory.h"
#include "config/default_config.h"
#include "config/program_context.h"
#include "os/services.h"
#include "table/sm_dat.h"

namespace {

// The program's own full path. Children are started with it and the configuration, lock and
// help files sit beside it, so a relative argv[0] must not be used once the current directory
// changes.
std::string ModulePath() {
  char buf[MAX_PATH + 1] = {};
  DWORD n = ::GetModuleFileNameA(nullptr, buf, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return __argv && __argc > 0 ? __argv[0] : "SORM32.EXE";
  return std::string(buf, n);
}

int RunInstance() {
  // Icons a record owns go back to the system with it.
  table::SetIconReleaseHooks([](void* icon) { ::DestroyIcon(static_cast<HICON>(icon)); }, nullptr);
  // OLE is initialised by the application once its window is shown (see fwsApp::LateInit).
  fwsApp application;
  return application.Run();
}

void ReportOutOfMemory() {
  ::MessageBoxA(nullptr, app::OutOfMemoryText(), "Sorm", MB_OK);
}

void EndProcess(int exitCode) { ::ExitProcess(static_cast<UINT>(exitCode)); }

constexpr app::OutOfMemoryActions kOutOfMemory{&ReportOutOfMemory, &EndProcess};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  app::InstallOutOfMemoryHandler(kOutOfMemory);
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);

  config::ProgramContext context;
  context.programPath = ModulePath();
  config::ResolveConfigPath(context);
  // A first start gets the shipped configuration; an existing one is left alone.
  config::InstallDefaultConfig(config::DirectoryOf(context.programPath) + config::kDefaultConfigName,
                               context.configFilePath);
  config::BuildLockAndHelpPaths(context);

  std::vector<std::string> args;
  for (int i = 1; i < __argc; ++i) args.emplace_back(__argv[i]);
  bool windowExists = ::FindWindowA(config::kWindowClass, nullptr) != nullptr;
  context.instanceNumber = app::ChooseInstanceNumber(args, windowExists);
  context.windowsMajorVersion = os::Sys().WindowsMajorVersion();
  config::SetContext(context);

  if (context.instanceNumber == 0) return app::RunLauncherProcess();
  return app::RunReportingOutOfMemory(RunInstance, kOutOfMemory);
}
