// The list editor of the Mask and Run menus (layouts 2 and 3, one class): the titles in stored
// order with new, change, delete, up and down; each item edited in the two-field entry dialog
// (KEYIN_D for a mask, KEYIN_D2 with the command browse button for a run item). OK rewrites the
// section (settings/menu_sections.h) in list order; Cancel writes nothing.
#pragma once
#include <windows.h>

#include <vector>

#include "settings/menu_sections.h"
#include "fw/dialog.h"

class MenuListDialog : public fw::Dialog {
 public:
  // run: the run menu's editor (section "Run", layout 3); else the mask menu's.
  explicit MenuListDialog(bool run);

  // Reads the section. The editor shows its first 100 entries; the rest are kept on OK.
  void Load();
  // After OK: how the section was written.
  settings::SectionWrite written = settings::SectionWrite::kWriteError;

  bool run;
  std::vector<settings::ProfileInfo> base;   // the section as loaded, every entry
  std::vector<settings::ProfileInfo> items;  // the editor's list (at most 100 loaded)

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  void OnOK() override;

 private:
  int Selected() const;
  void Select(int index) const;
  void Fill() const;
  // The entry dialog, filled with item; false on Cancel. A title the file cannot hold as a key
  // is refused with a message and asked again.
  bool AskEntry(settings::ProfileInfo& item);
  void New();
  void Change();
  void Delete();
  void Move(int by);
};
