// The drive menu's questions answered by the system (GetDriveTypeA through the OS layer,
// GetVolumeInformationA, WNetGetConnectionA).
#pragma once
#include "app/drive_menu_text.h"

namespace app {

DriveQuery& SystemDriveQuery();

}  // namespace app
