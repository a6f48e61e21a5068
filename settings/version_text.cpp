#include "settings/version_text.h"

#include <cstdio>

#include "os/mbcs.h"

namespace settings {

uint32_t SwapTranslation(uint32_t stored) { return (stored << 16) | (stored >> 16); }

std::string VersionFieldPath(uint32_t swappedTranslation, const char* field) {
  char prefix[32];
  std::snprintf(prefix, sizeof(prefix), "\\StringFileInfo\\%08lx\\",
                static_cast<unsigned long>(swappedTranslation));
  return prefix + std::string(field ? field : "");
}

std::string VersionLine(const std::string& current, const std::string& version) {
  constexpr std::size_t kCurrentMax = 127;
  char head[kCurrentMax + 1];
  mbcs::CopyBounded(head, sizeof(head), current.c_str());
  return std::string(head) + " " + version;
}

}  // namespace settings
