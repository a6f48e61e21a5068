// The texts of the about box drawn from the program's version resource: the translation entry
// turned into the sub-block name of a string field, and the version line.
#pragma once
#include <cstdint>
#include <string>

namespace settings {

// The first "\VarFileInfo\Translation" entry as stored (language in the low 16 bits, code page
// in the high 16 bits) with its halves swapped: language first, code page second.
uint32_t SwapTranslation(uint32_t stored);
// "\StringFileInfo\%08lx\%s" of the swapped translation and a field name.
std::string VersionFieldPath(uint32_t swappedTranslation, const char* field);
// The version line: the control's current text (at most 127 bytes, never half a double-byte
// character), a blank and the version.
std::string VersionLine(const std::string& current, const std::string& version);

}  // namespace settings
