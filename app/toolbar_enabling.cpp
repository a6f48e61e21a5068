#include "app/toolbar_enabling.h"

namespace app {

ToolbarEnabling::ToolbarEnabling(const std::vector<settings::ToolbarItem>& items,
                                 const std::vector<bool>& enabled) {
  size_t next = 0;
  for (const settings::ToolbarItem& item : items) {
    if (item.kind == settings::ToolbarItem::kSeparator) continue;
    const bool on = next < enabled.size() ? enabled[next] : true;
    ++next;
    buttons_.push_back({item.command, item.kind == settings::ToolbarItem::kDriveButton, false, on});
  }
}

std::vector<std::pair<int, bool>> ToolbarEnabling::Update(
    const std::function<CommandState(int)>& state) {
  std::vector<std::pair<int, bool>> changes;
  for (Button& b : buttons_) {
    if (b.asksOnce && b.asked) continue;
    b.asked = true;
    const CommandState s = state(b.command);
    if (s == CommandState::kKeep) continue;
    const bool on = s == CommandState::kEnabled;
    if (on == b.enabled) continue;
    b.enabled = on;
    changes.emplace_back(b.command, on);
  }
  return changes;
}

}  // namespace app
