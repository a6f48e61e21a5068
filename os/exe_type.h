// What SHGetFileInfoA with SHGFI_EXETYPE answers for a file, worked out from its name and its
// first bytes: the emulation's answer, and the rule the program reads the answer by.
#pragma once
#include <cstdint>
#include <string_view>

namespace os {

// The executable-type code: 0x4550 ("PE") in the low word for a 32-bit Windows program, with
// the subsystem version in the high word for a window program and 0 for a console program;
// 0x454E ("NE") with its expected version for a 16-bit Windows program; 0x4D5A ('MZ', as the
// shell answers it) for an MS-DOS program and for any ".BAT" or ".COM" file; 0 for anything
// else. head holds the file's
// first bytes (4096 are enough for every header this reads).
uint32_t ExeTypeOf(const char* path, std::string_view head);

// The bytes ExeTypeOf needs from the start of a file.
constexpr uint32_t kExeTypeHeadBytes = 4096;

}  // namespace os
