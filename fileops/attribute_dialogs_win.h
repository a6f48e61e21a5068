// The name, date and attribute dialogs: one entry (layout 30071) and several entries (30072).
// They only carry the texts and boxes in and out; the command applies them.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "fileops/attribute_fields.h"
#include "fw/dialog.h"

namespace fileops {

// Attribute bits the dialogs change, in the order of the boxes.
struct AttributeBox {
  int control;
  uint32_t bit;
};
extern const AttributeBox kAttributeBoxes[4];  // hidden, read-only, archive, system

class AttributeDialog final : public fw::Dialog {
 public:
  AttributeDialog();
  // In: the entry; out (on OK): what the user left in the fields.
  std::string name, size, date, time, target, current;
  uint32_t attributes = 0;
  bool linkFile = false;  // the link rows are shown only for a link file

 protected:
  bool OnInit() override;
  void OnOK() override;
};

// A box of the several-entries dialog: BST_CHECKED every entry has the attribute,
// BST_UNCHECKED none has it, BST_INDETERMINATE some have it (each keeps its own).
class AttributeManyDialog final : public fw::Dialog {
 public:
  AttributeManyDialog();
  long count = 0;
  std::string date, time;
  int state[4] = {};  // in: the start states; out: the chosen ones

  // The state a box goes to when clicked: a box that started in the third state cycles
  // third -> checked -> unchecked -> third, the others toggle.
  static int NextState(int current, bool startedIndeterminate);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  void OnOK() override;

 private:
  bool startedIndeterminate_[4] = {};
};

}  // namespace fileops
