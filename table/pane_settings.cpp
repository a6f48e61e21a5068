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
  std::string section = config::InstSection(instance);
  if (config::ReadConfigString(section, "vmode", "-").compare(0, 1, "-") == 0)
    section = config::InstSection(-1);

  PaneSettings s;
  s.viewMode = config::ReadConfigLong(section, "vmode", "0") == kListMode ? kListMode : kIconMode;
  s.path = config::ReadConfigString(section, "Path", "");
  std::string sort = config::ReadConfigString(section, "Sort", "");
  s.sortId = sort.empty() ? kSortName : static_cast<int16_t>(config::ParseLong(sort.c_str()));
  s.mask = config::ReadConfigString(section, "Mask", "*.*", kMaskBufferSize);
  s.cursor = config::ReadConfigString(section, "Cursor", "");
  s.viewInfo = static_cast<uint16_t>(config::ReadConfigLong(section, "vinfo", "0"));
  s.iconSpacingX = ClampIconSpacing(config::ReadConfigLong(section, "icon_x", "90"));
  s.iconSpacingY = ClampIconSpacing(config::ReadConfigLong(section, "icon_y", "80"));
  s.bmpIcon = static_cast<int32_t>(config::ReadConfigLong(section, "bmpicon", "0"));
  s.invisibleTypes =
      InvisibleTypes::FromText(config::ReadConfigString(section, "InvisibleExt", "", 1024));
  s.autoAdjust = config::ReadConfigLong(section, "auto_adjust", "1") != 0;
  return s;
}

bool WritePaneSettings(const std::string& section, const PaneSettings& s) {
  bool ok = true;
  // Path, mask and cursor go as the strings they are, so that the writer sees all of them.
  ok &= config::WriteConfigString(section, "Path", s.path);
  ok &= config::WriteConfigLong(section, "Sort", s.sortId);
  ok &= config::WriteConfigString(section, "Mask", s.mask);
  ok &= config::WriteConfigString(section, "Cursor", s.cursor);
  ok &= config::WriteConfigLong(section, "vmode", s.viewMode);
  ok &= config::WriteConfigLong(section, "vinfo", s.viewInfo);
  ok &= config::WriteConfigLong(section, "icon_x", s.iconSpacingX);
  ok &= config::WriteConfigLong(section, "icon_y", s.iconSpacingY);
  ok &= config::WriteConfigLong(section, "bmpicon", s.bmpIcon);
  if (s.invisibleTypes.Items().empty()) {
    // An empty value would read back as the default list; a quoted blank reads back as a
    // blank, which stands for "hide nothing".
    ok &= config::WriteProfileValue(config::Context().configFilePath, section, "InvisibleExt",
                                    "\" \"");
  } else {
    ok &= config::WriteConfigString(section, "InvisibleExt", s.invisibleTypes.Join());
  }
  ok &= config::WriteConfigString(section, "auto_adjust", s.autoAdjust ? "1" : "0");
  return ok;
}

}  // namespace table
