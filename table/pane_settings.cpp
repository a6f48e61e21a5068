#include "table/pane_settings.h"

#include "config/config_file.h"
#include "config/program_context.h"
#include "os/services.h"

namespace table {

int32_t ClampIconSpacing(long value) {
  if (value < kMinIconSpacing) return kMinIconSpacing;
  if (value > kMaxIconSpacing) return kMaxIconSpacing;
  return static_cast<int32_t>(value);
}

PaneSettings ReadPaneSettings(int instance) {
  std::string section = app::InstSection(instance);
  if (app::ReadConfigString(section, "vmode", "-").compare(0, 1, "-") == 0)
    section = app::InstSection(-1);

  PaneSettings s;
  s.viewMode = app::ReadConfigLong(section, "vmode", "0") == kListMode ? kListMode : kIconMode;
  s.path = app::ReadConfigString(section, "Path", "");
  std::string sort = app::ReadConfigString(section, "Sort", "");
  s.sortId = sort.empty() ? kSortName : static_cast<int16_t>(app::ParseLong(sort.c_str()));
  s.mask = app::ReadConfigString(section, "Mask", "*.*", kMaskBufferSize);
  s.cursor = app::ReadConfigString(section, "Cursor", "");
  s.viewInfo = static_cast<uint16_t>(app::ReadConfigLong(section, "vinfo", "0"));
  s.iconSpacingX = ClampIconSpacing(app::ReadConfigLong(section, "icon_x", "90"));
  s.iconSpacingY = ClampIconSpacing(app::ReadConfigLong(section, "icon_y", "80"));
  s.bmpIcon = static_cast<int32_t>(app::ReadConfigLong(section, "bmpicon", "0"));
  s.invisibleTypes =
      InvisibleTypes::FromText(app::ReadConfigString(section, "InvisibleExt", "", 1024));
  s.autoAdjust = app::ReadConfigLong(section, "auto_adjust", "1") != 0;
  return s;
}

bool WritePaneSettings(const std::string& section, const PaneSettings& s) {
  bool ok = true;
  ok &= app::WriteConfigString(section, "Path", s.path.c_str());
  ok &= app::WriteConfigLong(section, "Sort", s.sortId);
  ok &= app::WriteConfigString(section, "Mask", s.mask.c_str());
  ok &= app::WriteConfigString(section, "Cursor", s.cursor.c_str());
  ok &= app::WriteConfigLong(section, "vmode", s.viewMode);
  ok &= app::WriteConfigLong(section, "vinfo", s.viewInfo);
  ok &= app::WriteConfigLong(section, "icon_x", s.iconSpacingX);
  ok &= app::WriteConfigLong(section, "icon_y", s.iconSpacingY);
  ok &= app::WriteConfigLong(section, "bmpicon", s.bmpIcon);
  if (s.invisibleTypes.Items().empty()) {
    // An empty value would read back as the default list; a quoted blank reads back as a
    // blank, which stands for "hide nothing".
    ok &= os::Ini().WriteString(section.c_str(), "InvisibleExt", "\" \"",
                                app::Globals().configFilePath.c_str());
  } else {
    ok &= app::WriteConfigString(section, "InvisibleExt", s.invisibleTypes.Join().c_str());
  }
  ok &= app::WriteConfigString(section, "auto_adjust", s.autoAdjust ? "1" : "0");
  return ok;
}

}  // namespace table
