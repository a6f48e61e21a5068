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

TEST(InputText, AnAnswerThatDoesNotFitIsRefusedNotCut) {
  const std::string kanji = "\x95\x5c";  // 表, a trail byte that is a backslash
  std::string manyKanji = "D:\\\x95\xdb\x91\xb6\\";  // D:\保存\ (8 bytes)
  for (int i = 0; i < 140; ++i) manyKanji += kanji;
  const std::string folder = "C:\\" + std::string(240, 'd') + "\\";  // 244 bytes
  struct Case {
    const char* what;
    std::string text;
    std::size_t size;
    bool fits;
  } cases[] = {
      {"short", "C:\\TEMP", 260, true},
      {"exactly at the limit", std::string(259, 'p'), 260, true},
      {"one byte over", std::string(260, 'p'), 260, false},
      {"double-byte character straddling the limit", std::string(258, 'p') + kanji, 260, false},
      {"double-byte character ending at the limit", std::string(257, 'p') + kanji, 260, true},
      {"140 kanji after a folder: 288 bytes, 148 characters", manyKanji, 260, false},
      {"a quoted browsed path with a blank", "\"" + folder + "my sorm.cfg\"", 260, true},
      {"a quoted path at the limit", "\"" + std::string(259, 'q') + "\"", 260, true},
      {"a quoted path one byte over", "\"" + std::string(260, 'q') + "\"", 260, false},
      {"quotes that do not enclose one path", "\"a\" " + std::string(258, 'q'), 260, false},
      {"a quote inside", "\"" + std::string(128, 'q') + "\"" + std::string(129, 'q') + "\"",
       260, false},
      {"a lone quote", "\"", 260, true},
      {"a long run line", "prog.exe " + std::string(1014, 'a'), 1024, true},
      {"a run line one byte over", "prog.exe " + std::string(1015, 'a'), 1024, false},
  };
  for (const Case& c : cases) EXPECT_EQ(exec::AnswerFits(c.text, c.size), c.fits) << c.what;
}

TEST(InputText, EveryQuestionSaysWhatWasTooLong) {
  struct Case {
    exec::InputQuestion question;
    const char* message;
  } cases[] = {
      {exec::InputQuestion::kCopy, "コピー先名が長すぎます"},
      {exec::InputQuestion::kMove, "移動先名が長すぎます"},
      {exec::InputQuestion::kDuplicate, "コピー先名が長すぎます"},
      {exec::InputQuestion::kMakeDir, "ディレクトリ名が長すぎます"},
      {exec::InputQuestion::kChangePath, "パス名が長すぎます"},
      {exec::InputQuestion::kConfigPath, "パス名が長すぎます"},
      {exec::InputQuestion::kAssociation, "プログラム名が長すぎます"},
  };
  for (const Case& c : cases)
    EXPECT_STREQ(exec::UseOf(c.question).tooLong, c.message) << static_cast<int>(c.question);
}

}  // namespace

