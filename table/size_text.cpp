#include "table/size_text.h"

#include <cinttypes>
#include <cstdio>

#include "os/services.h"

namespace table {
namespace {

constexpr uint64_t kKB = 1024;
constexpr uint64_t kMB = 1048576;
constexpr uint64_t kGB = 1073741824;

// amount / unit rounded down to two decimals, as "<whole>.<hundredths>", in integers so that
// no binary fraction rounds a value like 1.15 down to 1.14.
std::string Hundredths(uint64_t amount, uint64_t unit) {
  uint64_t whole = amount / unit;
  uint64_t cents = (amount % unit) * 100 / unit;
  char buf[48];
  std::snprintf(buf, sizeof(buf), "%" PRIu64 ".%02" PRIu64, whole, cents);
  return buf;
}

}  // namespace

std::string SizeText(double bytes) {
  char buf[64];
  if (!(bytes >= 1024)) {  // also below zero and NaN
    std::snprintf(buf, sizeof(buf), "%ld Bytes", static_cast<long>(bytes > -2e9 ? bytes : 0));
    return buf;
  }
  uint64_t amount = bytes >= 1.8e19 ? UINT64_MAX : static_cast<uint64_t>(bytes);
  if (amount < kMB) return Hundredths(amount, kKB) + " KB";
  if (amount >= kGB) return Hundredths(amount, kGB) + " GB";
  return Hundredths(amount, kMB) + " MB";
}

std::string FreeSpaceAmount(uint64_t bytes, const char* word) {
  if (bytes < kKB) {
    char buf[48];
    std::snprintf(buf, sizeof(buf), "%" PRIu64 " bytes %s", bytes, word);
    return buf;
  }
  const char* unit = bytes < kMB ? " KB " : bytes < kGB ? " MB " : " GB ";
  uint64_t divisor = bytes < kMB ? kKB : bytes < kGB ? kMB : kGB;
  return Hundredths(bytes, divisor) + unit + word;
}

std::string FormatFreeSpace(uint64_t freeBytes, uint64_t totalBytes) {
  return FreeSpaceAmount(freeBytes, "free") + " / " + FreeSpaceAmount(totalBytes, "total");
}

std::string FreeSpaceText(const std::string& directory) {
  uint64_t freeBytes = 0, totalBytes = 0;
  if (!os::Fs().GetDiskFree(directory.c_str(), &freeBytes, &totalBytes)) freeBytes = totalBytes = 0;
  return FormatFreeSpace(freeBytes, totalBytes);
}

}  // namespace table
