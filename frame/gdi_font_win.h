// GDI fonts made from the program's portable font records.
#pragma once
#include <windows.h>

#include "frame/pane_settings.h"

namespace frame {

LOGFONTA ToLogFont(const FontData& f);
FontData FromLogFont(const LOGFONTA& lf);
// A font of the given height and character set with output precision 4 and face "None",
// as the title bars and the status bar use. The caller owns it.
HFONT CreateBarFont(int height);

}  // namespace frame
