#include "frame/selection_text.h"

#include <gtest/gtest.h>

namespace {

TEST(SelectionText, UnitsAndCutHundredths) {
  struct Case {
    long count;
    double bytes;
    const char* text;
  } cases[] = {
      {0, 0, "Selected 0 file(s) ( 0 bytes )."},
      {3, 1023, "Selected 3 file(s) ( 1023 bytes )."},
      {1, 1024, "Selected 1 file(s) ( 1.00 KB )."},
      {1, 1536, "Selected 1 file(s) ( 1.50 KB )."},
      {2, 1048575, "Selected 2 file(s) ( 1023.99 KB )."},  // cut, not 1024.00
      {2, 1048576, "Selected 2 file(s) ( 1.00 MB )."},
      {9, 1073741823, "Selected 9 file(s) ( 1023.99 MB )."},
      {9, 1073741824, "Selected 9 file(s) ( 1.00 GB )."},
      {5, 5.0 * 1073741824.0 + 1073741823.0, "Selected 5 file(s) ( 5.99 GB )."},
      {100000, 4398046511104.0, "Selected 100000 file(s) ( 4096.00 GB )."},
  };
  for (const Case& c : cases) EXPECT_EQ(frame::SelectionText(c.count, c.bytes), c.text) << c.bytes;
}

}  // namespace
