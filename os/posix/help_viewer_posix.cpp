#include "os/help_viewer.h"

namespace os {
namespace {

// The emulation has neither a help viewer nor a shell: both requests fail, as on a system
// without them.
class PosixHelpViewer final : public HelpViewer {
 public:
  bool WinHelp(uintptr_t, const char*, uint32_t, uintptr_t) override { return false; }
  bool ShellOpen(uintptr_t, const char*) override { return false; }
};

}  // namespace

HelpViewer& BackendHelpViewer() {
  static PosixHelpViewer viewer;
  return viewer;
}

}  // namespace os
