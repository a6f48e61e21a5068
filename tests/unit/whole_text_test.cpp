// Texts that must fit a buffer whole: FitsBuffer for a text in hand, TakeWholeText for what a
// call wrote into a buffer of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "os/path_text.h"

namespace {

const std::string kDoubleByte = "\x95\x5c";  // 表, its trail byte a backslash

TEST(FitsBufferTest, ATextFitsWithItsTerminatorOrNotAtAll) {
  struct Case {
    const char* what;
    std::string text;
    std::size_t size;
    bool fits;
  } cases[] = {
      {"empty", "", 1, true},
      {"no room for the terminator", "a", 1, false},
      {"exactly at the limit", std::string(259, 'p'), 260, true},
      {"one byte over", std::string(260, 'p'), 260, false},
      {"double-byte character ending at the limit", std::string(257, 'p') + kDoubleByte, 260,
       true},
      {"double-byte character straddling the limit", std::string(258, 'p') + kDoubleByte, 260,
       false},
      {"an embedded terminator", std::string("ab\0cd", 5), 260, false},
      {"no buffer", "", 0, false},
  };
  for (const Case& c : cases) EXPECT_EQ(os::FitsBuffer(c.text, c.size), c.fits) << c.what;
}

TEST(TakeWholeTextTest, ATextThatReachesTheBufferEndIsNotTaken) {
  constexpr std::size_t kMax = 259;
  constexpr std::size_t kSize = kMax + 3;
  struct Case {
    const char* what;
    std::string written;  // what the call left in the buffer, before its terminator
    bool terminated;
    bool whole;
  } cases[] = {
      {"short", "C:\\dir", true, true},
      {"exactly the longest", std::string(kMax, 'p'), true, true},
      {"one byte over", std::string(kMax + 1, 'p'), true, false},
      {"stopped before a double-byte character", std::string(kSize - 2, 'p'), true, false},
      {"filled the buffer", std::string(kSize - 1, 'p'), true, false},
      {"double-byte character straddling the limit", std::string(kMax - 1, 'p') + kDoubleByte,
       true, false},
      {"no terminator", std::string(kSize, 'p'), false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    char buffer[kSize];
    std::memset(buffer, 'x', sizeof(buffer));
    std::memcpy(buffer, c.written.data(), std::min(c.written.size(), sizeof(buffer)));
    if (c.terminated) buffer[c.written.size()] = '\0';
    std::string out = "before";
    EXPECT_EQ(os::TakeWholeText(buffer, sizeof(buffer), kMax, out), c.whole);
    EXPECT_EQ(out, c.whole ? c.written : "before");
  }
}

}  // namespace
