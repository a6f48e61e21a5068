// The toolbar editor's lists: the button choices in the editor's order (caption, keyword, the
// command whose number is also its picture's), which of them the toolbar carries and in what
// order, the moves between the two lists, and the value written back ("BarSettings",
// "ToolBar"). The separator is choice 0: always offered, usable any number of times.
#pragma once
#include <string>
#include <vector>

namespace settings {

struct ToolbarChoice {
  const char* caption;
  const char* keyword;
  int command;  // 0 for the separator (no picture)
};
// The choices in the order the editor offers them.
const std::vector<ToolbarChoice>& ToolbarChoices();

class ToolbarEditorModel {
 public:
  // Reads the stored value: every word adds each choice whose keyword it holds, in the order
  // of the choices; a button listed twice is listed twice (so an untouched list is written back
  // as it was read), words that name no button are dropped.
  explicit ToolbarEditorModel(const std::string& stored);

  // Choice indices of the toolbar list, top to bottom.
  const std::vector<int>& Toolbar() const { return toolbar_; }
  // Choice indices of the available list: every choice not on the toolbar, in table order (the
  // separator always).
  std::vector<int> Available() const;

  struct Selection {
    int available;  // index in the available list, -1 none
    int toolbar;    // index in the toolbar list, -1 none
  };
  // Add: the available item at sel.available goes just after the toolbar's selected item (at
  // the end without one) and becomes the toolbar's selection; the available list keeps the
  // same index selected (or its last item). Nothing without an available selection.
  Selection Add(Selection sel);
  // Remove: the toolbar's selected item goes back to the available list at its place in table
  // order; the toolbar keeps the same index selected (or its last item), the available list
  // the index it had (or its last item). Nothing without a toolbar selection.
  Selection Remove(Selection sel);
  // Up and down: the new index of the moved item; the same index when it cannot move.
  int MoveUp(int index);
  int MoveDown(int index);

  // The value to store: each toolbar item's keyword followed by one blank.
  std::string Compose() const;

 private:
  std::vector<bool> used_;  // per choice; never set for the separator
  std::vector<int> toolbar_;
};

}  // namespace settings
