// The toolbar's part of the idle update: between messages every button asks its command's state
// (the command table's enabling rules) and the bar follows; the current-path button asks only at
// its first update, as asking for that command's state is costly. Only changes reach the bar.
#pragma once
#include <functional>
#include <utility>
#include <vector>

#include "app/command_enabling.h"
#include "settings/toolbar_keywords.h"

namespace app {

class ToolbarEnabling {
 public:
  ToolbarEnabling() = default;
  // The bar's items as built, each button with the enabled state it was made with.
  ToolbarEnabling(const std::vector<settings::ToolbarItem>& items, const std::vector<bool>& enabled);

  // Asks state(command) for every button that asks at this update and returns the buttons whose
  // enabled state changes (command, new state), in bar order. kKeep leaves a button as it is.
  std::vector<std::pair<int, bool>> Update(const std::function<CommandState(int)>& state);

 private:
  struct Button {
    int command;
    bool asksOnce;
    bool asked = false;
    bool enabled;
  };
  std::vector<Button> buttons_;
};

}  // namespace app
