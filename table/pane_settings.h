// The per-pane keys of the configuration file: section "INST<n>" (n + 100 for the second pane
// of a two-pane window), or "INST-1" (the saved default settings) when the pane's own section
// has no usable "vmode".
#pragma once
#include <cstdint>
#include <string>

#include "table/hidden_types.h"

namespace table {

// SortId values: the menu command ids of the six orders.
constexpr int16_t kSortSmallest = 164;
constexpr int16_t kSortLargest = 166;
constexpr int16_t kSortOldest = 168;
constexpr int16_t kSortNewest = 170;
constexpr int16_t kSortExtension = 172;
constexpr int16_t kSortName = 174;

enum ViewMode : int16_t { kIconMode = 0, kListMode = 1 };

// ViewInfo bits.
enum ViewInfoBit : uint16_t {
  kShowDate = 0x01,
  kShowTime = 0x02,
  kShowSize = 0x04,
  kShowAttributes = 0x08,
  kShowHidden = 0x10,  // hidden and system files and the invisible types
};

// Icon spacing is kept within these bounds: the lower one is the program's rule; the upper one
// is the largest coordinate a window, a scroll position and a GDI call carry on every system the
// program runs on (16 bits on the Windows 4 family), so any spacing a real screen can show is
// kept as the user set it. The layout's positions stop growing at kMaxLayoutCoordinate.
constexpr int32_t kMinIconSpacing = 40;
constexpr int32_t kMaxIconSpacing = 32767;

// The mask is read with room for this many bytes.
constexpr uint32_t kMaskBufferSize = 4096;

struct PaneSettings {
  int16_t viewMode = kIconMode;
  std::string path;  // empty: the process's current directory
  int16_t sortId = kSortName;
  std::string mask = "*.*";
  std::string cursor;  // name of the entry under the cursor
  uint16_t viewInfo = 0;
  int32_t iconSpacingX = 90;
  int32_t iconSpacingY = 80;
  int32_t bmpIcon = 0;
  InvisibleTypes invisibleTypes;
  bool autoAdjust = true;
};

int32_t ClampIconSpacing(long value);

// Reads the pane's keys for an instance number (the second pane passes n + 100).
PaneSettings ReadPaneSettings(int instance);
// Writes "Path", "Sort", "Mask", "Cursor", "vmode", "vinfo", "icon_x", "icon_y", "bmpicon",
// "InvisibleExt" and "auto_adjust" into section; false when a write failed.
bool WritePaneSettings(const std::string& section, const PaneSettings& settings);

}  // namespace table
