// The display-settings dialogs of the View menu: the seven colours (layout 7), the view data
// (layout 30054) and the icon spacing (layout 30085). Each carries its values in public fields;
// the application object copies them from and back to the active pane and table.
#pragma once
#include <windows.h>

#include <string>

#include "settings/display_settings.h"
#include "fw/dialog.h"

class ColourDialog : public fw::Dialog {
 public:
  ColourDialog();
  settings::ColourSlots slots{};
  settings::CustomColours custom{};  // may change in the chooser, OK or Cancel

 protected:
  bool OnCommand(int id, int notifyCode, HWND control) override;
};

class ViewDataDialog : public fw::Dialog {
 public:
  ViewDataDialog();
  uint16_t bits = 0;
  std::string hiddenTypes;  // at most 1024 bytes

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  void OnOK() override;
};

class IconSpacingDialog : public fw::Dialog {
 public:
  IconSpacingDialog();
  long x = 0, y = 0;
  bool autoAdjust = true;

 protected:
  bool OnInit() override;
  void OnOK() override;
};

// The system's colour chooser on one colour (a COLORREF value) with the custom colours; true and
// the new colour on OK.
bool ChooseColour(HWND owner, uint32_t& colour, settings::CustomColours& custom);
// The system's font chooser on a logical font; true on OK.
bool ChooseFontFor(HWND owner, LOGFONTA& font);
