// The display settings of the View menu on the application object: colours, font, view data and
// icon spacing of the active pane and its table. The values reach the configuration file when
// the window saves its state.
#include <windows.h>

#include "settings/display_dialogs_win.h"
#include "settings/display_settings.h"
#include "app/fws_app_win.h"
#include "config/instance_paths.h"
#include "config/program_context.h"
#include "frame/gdi_font_win.h"
#include "frame/winfo_win.h"
#include "table/sorm.h"
#include "table/view_mode.h"

namespace {

std::string CustomColourPath() {
  return config::DirectoryOf(config::Context().programPath) + settings::kCustomColourFileName;
}

}  // namespace

void fwsApp::EditColours() {
  WINFO* p = Pane(activePane_);
  if (!p) return;
  ColourDialog dialog;
  dialog.custom = settings::ReadCustomColours(CustomColourPath());
  dialog.slots = settings::ColourSlotsOf(p->Settings());
  if (dialog.DoModal(p->Handle()) != IDOK) return;  // the custom-colour file stays as it was
  settings::SetColourSlots(p->Settings(), dialog.slots);
  settings::WriteCustomColours(CustomColourPath(), dialog.custom);  // a failure is ignored
  p->Repaint();
}

void fwsApp::EditFont() {
  WINFO* p = Pane(activePane_);
  if (!p) return;
  LOGFONTA font = frame::ToLogFont(p->Settings().font);
  if (!ChooseFontFor(p->Handle(), font)) return;
  p->Settings().font = frame::FromLogFont(font);
  p->FontChanged();
}

void fwsApp::EditViewData() {
  WINFO* p = Pane(activePane_);
  table::Sorm* t = p ? p->Table() : nullptr;
  if (!t) return;
  ViewDataDialog dialog;
  dialog.bits = t->viewInfo();
  dialog.hiddenTypes = t->InvisibleTypesText();
  if (dialog.DoModal(p->Handle()) != IDOK) return;
  if (!settings::ViewDataChanged(t->InvisibleTypesText(), t->viewInfo(), dialog.hiddenTypes,
                            dialog.bits))
    return;
  t->SetInvisibleTypesText(dialog.hiddenTypes);
  t->SetViewInfo(dialog.bits);
  table::ReloadKeepingCursor(*t);
  t->TitleText();
}

void fwsApp::EditIconSpacing() {
  WINFO* p = Pane(activePane_);
  table::Sorm* t = p ? p->Table() : nullptr;
  if (!t) return;
  IconSpacingDialog dialog;
  dialog.x = t->iconSpacingX();
  dialog.y = t->iconSpacingY();
  dialog.autoAdjust = t->autoAdjust();
  if (dialog.DoModal(p->Handle()) != IDOK) return;
  t->SetIconSpacing(dialog.x, dialog.y);  // raised to 40 when smaller
  t->SetAutoAdjust(dialog.autoAdjust);
  t->Reload();
  t->TitleText();
}
