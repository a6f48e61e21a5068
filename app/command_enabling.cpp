#include "app/command_enabling.h"

#include "os/mbcs.h"
#include "resources/commands.h"

namespace app {
namespace {

const char* LastComponent(const char* path) {
  const char* slash = mbcs::FindLastChar(path, '\\');
  return slash ? slash + 1 : path;
}

bool HasPeriod(const char* name) { return mbcs::FindChar(name, '.') != nullptr; }

CommandState Enabled(bool on) { return on ? CommandState::kEnabled : CommandState::kDisabled; }

}  // namespace

CommandState CommandEnabling(int command, bool hasHandler, const FocusedNames& focused) {
  switch (command) {
    case CMD_DNETADD:
    case CMD_DNETCANCEL:
      return CommandState::kEnabled;
    case CMD_FLINK_EXT:
      if (!hasHandler) return CommandState::kDisabled;
      if (!focused.target) return CommandState::kKeep;
      return Enabled(HasPeriod(LastComponent(focused.target)));
    case CMD_FLINK_NAME: {
      if (!hasHandler) return CommandState::kDisabled;
      if (!focused.target) return CommandState::kKeep;
      if (LastComponent(focused.target)[0] != '.') return CommandState::kEnabled;
      const char* own = focused.own ? focused.own : "";
      return Enabled(own[0] && HasPeriod(mbcs::Next(own)));
    }
    default:
      return Enabled(hasHandler);
  }
}

}  // namespace app
