#include "settings/version_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(VersionText, FieldPathOfTheStoredTranslation) {
  struct Case {
    uint32_t stored;  // as the Translation value lies in the block
    const char* field;
    const char* want;
  } cases[] = {
      // Japanese, code page 932 (0x3a4): the block "041103a4".
      {0x03A40411u, "ProductVersion", "\\StringFileInfo\\041103a4\\ProductVersion"},
      // US English, Unicode (1200 = 0x4b0).
      {0x04B00409u, "SpecialBuild", "\\StringFileInfo\\040904b0\\SpecialBuild"},
      {0x00000000u, "LegalCopyright", "\\StringFileInfo\\00000000\\LegalCopyright"},
      {0xFFFF0001u, "", "\\StringFileInfo\\0001ffff\\"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(settings::VersionFieldPath(settings::SwapTranslation(c.stored), c.field), c.want) << c.field;
}

TEST(VersionText, VersionLineKeepsAtMost127BytesOfTheCurrentText) {
  const std::string kana126 = std::string(126, 'a');
  struct Case {
    std::string current;
    const char* version;
    std::string want;
  } cases[] = {
      {"Version", "1.0", "Version 1.0"},
      {"", "2.5", " 2.5"},
      {std::string(200, 'x'), "1", std::string(127, 'x') + " 1"},
      // A double-byte character across byte 127 is left out whole.
      {kana126 + "\x83\x41" + "z", "1", kana126 + " 1"},
  };
  for (const Case& c : cases) EXPECT_EQ(settings::VersionLine(c.current, c.version), c.want);
}

}  // namespace
