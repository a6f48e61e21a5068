// The texts of an entry's size, date, time and attribute lines.
#pragma once
#include <cstdint>
#include <string>

#include "table/sm_dat.h"

namespace table {

// Icon mode: "<DIR>" for a directory, else "%ld Bytes". List mode: " %13s" with "<DIR>", else
// " %13ld".
std::string SizeLineText(const SM_DAT& d, bool listMode);
// "yy/mm/dd" from "%04d/%02d/%02d" of (DOS year + 80, month, day) without its first two
// characters; list mode keeps a leading space.
std::string DateLineText(uint16_t date, bool listMode);
// "%02d:%02d:%02d" of hour, minute and seconds; list mode with a leading space.
std::string TimeLineText(uint16_t time, bool listMode);
// "R", "H", "S", "A" for read-only, hidden, system and archive, each only when set; list mode
// with a leading space.
std::string AttrLineText(uint32_t attributes, bool listMode);

}  // namespace table
