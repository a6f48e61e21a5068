// The rules behind the display-settings dialogs: a pane's seven colours as the colour dialog's
// slots, the custom colours kept beside the program, the icon-spacing fields and the change test
// of the view-data dialog.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "frame/pane_settings.h"

namespace settings {

// Slot order of the colour dialog: ordinary names, hidden, read-only, system, background,
// selected, focus mark.
inline constexpr int kColourSlots = 7;
using ColourSlots = std::array<frame::Rgb, kColourSlots>;
ColourSlots ColourSlotsOf(const frame::PaneSettings& p);
void SetColourSlots(frame::PaneSettings& p, const ColourSlots& slots);

// The sixteen custom colours of the colour chooser (COLORREF values: red in the low byte),
// shared by every window and kept in a 64-byte file beside the program.
inline constexpr const char* kCustomColourFileName = "sormcol.dat";
inline constexpr uint32_t kWhite = 0x00FFFFFFu;
using CustomColours = std::array<uint32_t, 16>;
// All white unless the file holds exactly 64 bytes that can be read (the stored bytes are then
// taken as they are, little-endian).
CustomColours ReadCustomColours(const std::string& path);
// Written under a temporary name and put in place in one step, so a failed write leaves the old
// file; false when it could not be written (the caller ignores that).
bool WriteCustomColours(const std::string& path, const CustomColours& colours);

// An icon distance as the dialog shows it: "%3d", and an empty field for 0.
std::string FormatSpacing(long value);
// A field's text as a distance: its first 9 characters read as a decimal number (text that is
// no number reads as 0). Returns 0 for anything not above 0, which the dialog refuses.
long ParseSpacing(const std::string& text);

// Whether the view-data dialog changed anything: the hidden-types text compared without regard
// to case, or the bits.
bool ViewDataChanged(const std::string& oldTypes, uint16_t oldBits, const std::string& newTypes,
                     uint16_t newBits);

}  // namespace settings
