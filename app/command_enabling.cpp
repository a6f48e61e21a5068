#include "app/command_enabling.h"

#include "os/mbcs.h"

namespace app {
namespace {

const char* LastComponent(const char* path) {
  const char* slash = mbcs::FindLastChar(path, '\\');
  return slash ? slash + 1 : path;
}

bool HasPeriod(const char* name) { return mbcs::FindChar(name, '.') != nullptr; }

CommandState Enabled(bool on) { return on ? CommandState::kEnabled : CommandState::kDisabled; }

}  // namespace

CommandState CommandEnabling(EnableRule rule, bool hasHandler, const FocusedNames& focused) {
  switch (rule) {
    case EnableRule::kAlways:
      return CommandState::kEnabled;
    case EnableRule::kTargetHasExtension:
      if (!hasHandler) return CommandState::kDisabled;
      if (!focused.target) return CommandState::kKeep;
      return Enabled(HasPeriod(LastComponent(focused.target)));
    case EnableRule::kTargetHasFileName: {
      if (!hasHandler) return CommandState::kDisabled;
      if (!focused.target) return CommandState::kKeep;
      if (LastComponent(focused.target)[0] != '.') return CommandState::kEnabled;
      const char* own = focused.own ? focused.own : "";
      return Enabled(own[0] && HasPeriod(mbcs::Next(own)));
    }
    case EnableRule::kWhenHandled:
      break;
  }
  return Enabled(hasHandler);
}

}  // namespace app
