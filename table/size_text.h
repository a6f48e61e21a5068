// Sizes and free space as the program shows them, rounded down to two decimals.
#pragma once
#include <cstdint>
#include <string>

namespace table {

// Below 1024 "%ld Bytes"; below 1048576 "%.2f KB"; 1073741824 and above "%.2f GB"; otherwise
// "%.2f MB".
std::string SizeText(double bytes);

// One amount of the free-space text, with word "free" or "total": below 1024 "%lu bytes free",
// below 1048576 "%.2f KB free", below 1073741824 "%.2f MB free", else "%.2f GB free".
std::string FreeSpaceAmount(uint64_t bytes, const char* word);

// "<free> free / <total> total".
std::string FormatFreeSpace(uint64_t freeBytes, uint64_t totalBytes);

// The free-space text of the disk holding directory (GetDiskFreeSpaceExA); a disk that cannot
// be asked shows 0 bytes.
std::string FreeSpaceText(const std::string& directory);

}  // namespace table
