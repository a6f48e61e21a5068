#include "settings/mask_input.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MaskInput, Normalize) {
  struct Case {
    std::string typed;
    std::string mask;
  } cases[] = {
      {"", "*.*"},
      {" ", "*.*"},
      {"      ", "*.*"},
      {"\t \t", "*.*"},
      {"*.txt", "*.txt"},
      {"  *.txt   *.doc  ", "*.txt *.doc"},
      {"*.c\t\t*.h", "*.c *.h"},
      {"a b c", "a b c"},
      {"*.c;*.h", "*.c;*.h"},
      {"表示 *.表", "表示 *.表"},
      {"　", "　"},  // the ideographic space is part of a word
      {"ﾃﾞｰﾀ  *.dat", "ﾃﾞｰﾀ *.dat"},
  };
  for (const Case& c : cases) EXPECT_EQ(settings::NormalizeMaskInput(c.typed.c_str()), c.mask) << c.typed;
  EXPECT_EQ(settings::NormalizeMaskInput(nullptr), "*.*");
}

TEST(MaskInput, LongInputsKeepEveryWord) {
  std::string typed, want;
  for (int i = 0; i < 300; ++i) {
    typed += "   *.e" + std::to_string(i);
    want += (i ? " *.e" : "*.e") + std::to_string(i);
  }
  EXPECT_EQ(settings::NormalizeMaskInput(typed.c_str()), want);
  EXPECT_EQ(settings::NormalizeMaskInput(std::string(5000, ' ').c_str()), "*.*");
}

}  // namespace
