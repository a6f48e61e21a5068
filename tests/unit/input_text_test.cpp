#include "exec/input_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "exec/input_use.h"

namespace {

using namespace std::string_literals;

TEST(InputText, CutToBytes) {
  struct Case {
    std::string text;
    size_t max;
    std::string cut;
  } cases[] = {
      {"abc", 5, "abc"},   {"abc", 3, "abc"},     {"abc", 2, "ab"},    {"abc", 0, ""},
      {"表示", 4, "表示"}, {"表示", 3, "表"},     {"表示", 1, ""},     {"a表", 2, "a"},
      {"ﾃﾞ", 1, "ﾃ"},      {"", 10, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(exec::CutToBytes(c.text, c.max), c.cut) << c.text << c.max;
}

TEST(InputText, AnswerLongerThanTheBufferIsCutWithoutOverflow) {
  struct Case {
    std::string answer;
    size_t size;
    std::string kept;
  } cases[] = {
      {"C:\\TEMP", 260, "C:\\TEMP"},
      {std::string(300, 'p'), 260, std::string(259, 'p')},
      {std::string(258, 'p') + "表", 260, std::string(258, 'p')},  // never half a character
      {std::string(257, 'p') + "表", 260, std::string(257, 'p') + "表"},
      {"abc", 1, ""},
      {std::string(5000, 'm'), 1024, std::string(1023, 'm')},
  };
  for (const Case& c : cases) {
    std::string buf(c.size + 16, '#');  // guard bytes behind the caller's buffer
    size_t n = exec::CopyAnswer(c.answer, buf.data(), c.size);
    EXPECT_EQ(n, c.kept.size());
    EXPECT_STREQ(buf.c_str(), c.kept.c_str());
    EXPECT_EQ(buf.substr(c.size), std::string(16, '#')) << "written past the buffer";
  }
  char untouched = '#';
  EXPECT_EQ(exec::CopyAnswer("x", &untouched, 0), 0u);
  EXPECT_EQ(untouched, '#');
}

TEST(InputText, BufferTextStopsAtTheBufferEnd) {
  char unterminated[4] = {'a', 'b', 'c', 'd'};
  EXPECT_EQ(exec::BufferText(unterminated, sizeof(unterminated)), "abcd");
  EXPECT_EQ(exec::BufferText("ab\0cd", 5), "ab");
  EXPECT_EQ(exec::BufferText(nullptr, 10), "");
}

TEST(InputText, AnInitialAnswerLongerThanTheBufferStaysWholeWhenLeftAsShown) {
  const std::string command = "prog.exe " + std::string(300, 'a');  // a 309-byte command
  const std::string straddling = std::string(258, 'b') + "\x82\xa0";  // 260 bytes
  struct Case {
    const char* what;
    std::string initial;
    std::string returned;
    std::size_t size;
    std::string answer;
  } cases[] = {
      {"short, kept", "a.txt", "a.txt", 260, "a.txt"},
      {"short, edited", "a.txt", "b.txt", 260, "b.txt"},
      {"long, left as shown", command, command.substr(0, 259), 260, command},
      {"long, end deleted", command, command.substr(0, 258), 260, command.substr(0, 258)},
      {"long, replaced", command, "other.exe", 260, "other.exe"},
      {"cut before a double-byte character", straddling, straddling.substr(0, 258), 260,
       straddling},
      {"exactly the buffer's size, left as shown", std::string(259, 'c'),
       std::string(259, 'c'), 260, std::string(259, 'c')},
      {"no buffer", "a.txt", "", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(exec::AnswerAfterOk(c.initial, c.returned, c.size), c.answer);
  }
}

TEST(InputText, QuoteIfBlank) {
  EXPECT_EQ(exec::QuoteIfBlank("C:\\TEMP\\a.txt"), "C:\\TEMP\\a.txt");
  EXPECT_EQ(exec::QuoteIfBlank("C:\\Program Files\\a.exe"), "\"C:\\Program Files\\a.exe\"");
  EXPECT_EQ(exec::QuoteIfBlank("C:\\表示\\a.exe"), "C:\\表示\\a.exe");
}

TEST(InputText, FileDialogFilter) {
  struct Case {
    const char* filter;
    std::string converted;
  } cases[] = {
      {"すべてのﾌｧｲﾙ (*.*)|*.*|", "すべてのﾌｧｲﾙ (*.*)\0*.*\0\0\0"s},
      {"a|b", "a\0b\0\0"s},
      {"", "\0\0"s},
      // ポ is 0x83 0x7C: its trail byte is a "|" that must stay
      {"ポ|*.p|", "ポ\0*.p\0\0\0"s},
  };
  for (const Case& c : cases) EXPECT_EQ(exec::FileDialogFilter(c.filter), c.converted) << c.filter;
}

TEST(InputUse, QuestionsOnTheOldShell) {
  using exec::InputBrowse;
  using exec::InputQuestion;
  struct Case {
    InputQuestion q;
    InputBrowse newShell;
    InputBrowse oldShell;
  } cases[] = {
      {InputQuestion::kCopy, InputBrowse::kFolder, InputBrowse::kNone},
      {InputQuestion::kMove, InputBrowse::kFolder, InputBrowse::kNone},
      {InputQuestion::kChangePath, InputBrowse::kFolder, InputBrowse::kNone},
      {InputQuestion::kDuplicate, InputBrowse::kFile, InputBrowse::kFile},
      {InputQuestion::kRun, InputBrowse::kFile, InputBrowse::kFile},
      {InputQuestion::kMakeDir, InputBrowse::kNone, InputBrowse::kNone},
      {InputQuestion::kMask, InputBrowse::kNone, InputBrowse::kNone},
  };
  for (const Case& c : cases) {
    const exec::InputUse& use = exec::UseOf(c.q);
    EXPECT_EQ(exec::BrowseOn(use, 4), c.newShell);
    EXPECT_EQ(exec::BrowseOn(use, 3), c.oldShell);
    EXPECT_EQ(exec::LayoutFor(exec::BrowseOn(use, 3)),
              c.oldShell == InputBrowse::kNone ? 31050 : 30080);
  }
}

TEST(InputUse, EveryFileBrowserHasAFilterAndEveryHistoryACapacity) {
  for (int q = 0; q <= static_cast<int>(exec::InputQuestion::kAssociation); ++q) {
    const exec::InputUse& use = exec::UseOf(static_cast<exec::InputQuestion>(q));
    EXPECT_EQ(use.browse == exec::InputBrowse::kFile, use.filter != nullptr) << q;
    if (use.section) {
      EXPECT_GT(use.capacity, 0) << q;
    }
    EXPECT_TRUE(use.answerSize == 260 || use.answerSize == 1024) << q;
  }
}

}  // namespace
