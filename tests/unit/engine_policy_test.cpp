// The engine's pure rules: error codes and their messages, the message each command shows for
// a result, the destination checks of the copy and move commands, path texts with double-byte
// names, the newer-only rule and the gauge arithmetic.
#include <gtest/gtest.h>

#include "fileops/engine.h"
#include "fileops/engine_path.h"
#include "fileops/engine_progress.h"

namespace {

using namespace fileops;

TEST(EnginePolicyTest, Win32ErrorsMapToTheCodesTheMessagesKnow) {
  struct Case {
    uint32_t win32;
    int code;
  } cases[] = {
      {0, kErrnoNone},        {2, kErrnoNoEnt},   {3, kErrnoNoEnt},    {206, kErrnoNoEnt},
      {123, kErrnoNoEnt},     {5, kErrnoAcces},   {32, kErrnoAcces},   {33, kErrnoAcces},
      {19, kErrnoRoFs},       {21, kErrnoNoDev},  {4, kErrnoMFile},    {6, kErrnoBadF},
      {8, kErrnoNoMem},       {14, kErrnoNoMem},  {12, kErrnoInvAcc},  {112, kErrnoNoSpc},
      {39, kErrnoNoSpc},      {109, kErrnoPipe},  {23, kErrnoIo},      {1006, kErrnoIo},
      {80, kErrnoExist},      {183, kErrnoExist}, {87, kErrnoInval},   {17, kErrnoXDev},
      {26, kErrnoAcces},      {1223, kErrnoInval},
  };
  for (const Case& c : cases) EXPECT_EQ(CopyErrorFromWin32(c.win32), c.code) << c.win32;
}

TEST(EnginePolicyTest, ErrorCodeMessages) {
  const char* general =
      "エラーが発生しました。コピー元、コピー先のデバイスがアクセス可能か確認して下さい";
  struct Case {
    int code;
    const char* text;
  } cases[] = {
      {kErrnoAcces, "ファイルにアクセスできません。属性及び他のプロセスが使用していないかを確認して下さい"},
      {kErrnoInvAcc, "アクセスコードが正しくありません"},
      {kErrnoMFile, "開かれてするファイルが多すぎます"},
      {kErrnoNoEnt, "パス名またはファイル名が見つかりません"},
      {kErrnoBadF, "ファイル番号が不正です"},
      {kErrnoNoMem, "メモリが足りません"},
      {kErrnoNoDev, "指定されたデバイスは存在しません"},
      {kErrnoNoSpc, "デバイスの空き領域がたりません"},
      {kErrnoRoFs, "指定デバイスは書き込み禁止です"},
      {kErrnoPipe, "パイプが破壊されました"},
      {kErrnoNone, general},
      {kErrnoIo, general},
      {kErrnoExist, general},
      {-1, general},
  };
  for (const Case& c : cases) EXPECT_STREQ(ErrorCodeMessage(c.code), c.text) << c.code;
}

TEST(EnginePolicyTest, EachCommandsMessageForEachResult) {
  const char* access = ErrorCodeMessage(kErrnoAcces);
  struct Case {
    EngineCommand command;
    int result;
    int stringId;  // -1: no message; 0: ErrorCodeMessage(EACCES)
  } cases[] = {
      {EngineCommand::kCopy, 1, -1},      {EngineCommand::kCopy, 0, -1},
      {EngineCommand::kCopy, -1, 0},      {EngineCommand::kCopy, -2, 15},
      {EngineCommand::kCopy, -3, 0},      {EngineCommand::kCopy, -4, 16},
      {EngineCommand::kCopy, -5, 17},     {EngineCommand::kCopy, -6, -1},
      {EngineCommand::kCopy, -7, 25},     {EngineCommand::kCopy, -8, 26},
      {EngineCommand::kMove, 0, -1},      {EngineCommand::kMove, -1, 0},
      {EngineCommand::kMove, -2, 20},     {EngineCommand::kMove, -3, 0},
      {EngineCommand::kMove, -4, 16},     {EngineCommand::kMove, -5, 17},
      {EngineCommand::kMove, -6, -1},     {EngineCommand::kMove, -7, 0},
      {EngineCommand::kMove, -8, 0},      {EngineCommand::kMoveDrop, -2, 15},
      {EngineCommand::kMoveDrop, -7, 0},  {EngineCommand::kMoveDrop, -6, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.command)) + " " + std::to_string(c.result));
    CommandMessage m = EngineResultMessage(c.command, c.result, kErrnoAcces);
    if (c.stringId < 0) {
      EXPECT_EQ(m.text, nullptr);
    } else if (c.stringId == 0) {
      EXPECT_STREQ(m.text, access);
    } else {
      EXPECT_EQ(m.stringId, c.stringId);
      ASSERT_NE(m.text, nullptr);
    }
  }
  EXPECT_STREQ(EngineResultMessage(EngineCommand::kCopy, -5, 0).text, "処理はキャンセルされました");
  EXPECT_STREQ(EngineResultMessage(EngineCommand::kMove, -2, 0).text,
               "移動先ディスクの空き容量が足りません");
}

TEST(EnginePolicyTest, TypedAndResolvedDestinations) {
  EXPECT_EQ(CheckTypedDestination(""), DestinationCheck::kEmpty);
  EXPECT_EQ(CheckTypedDestination(nullptr), DestinationCheck::kEmpty);
  EXPECT_EQ(CheckTypedDestination(":foo"), DestinationCheck::kLeadingColon);
  EXPECT_EQ(CheckTypedDestination("C:\\foo"), DestinationCheck::kOk);
  EXPECT_EQ(CheckResolvedDestination(std::string(259, 'a')), DestinationCheck::kOk);
  EXPECT_EQ(CheckResolvedDestination(std::string(260, 'a')), DestinationCheck::kTooLong);
  EXPECT_STREQ(DestinationMessage(DestinationCheck::kTooLong, false).text, "コピー先名が長すぎます");
  EXPECT_STREQ(DestinationMessage(DestinationCheck::kTooLong, true).text, "移動先名が長すぎます");
  EXPECT_EQ(DestinationMessage(DestinationCheck::kEmpty, false).text, nullptr);
  EXPECT_NE(DestinationMessage(DestinationCheck::kLeadingColon, true).text, nullptr);

  EXPECT_FALSE(DestinationNeedsDirectory("A:"));
  EXPECT_TRUE(DestinationNeedsDirectory("A:\\x"));
  EXPECT_TRUE(DestinationNeedsDirectory("C:\\ソ"));  // ソ ends in 0x5C, not a separator
  EXPECT_FALSE(DirectoryCreationStops(os::kErrAlreadyExists));
  EXPECT_FALSE(DirectoryCreationStops(os::kErrAccessDenied));
  EXPECT_TRUE(DirectoryCreationStops(os::kErrPathNotFound));

  std::string out;
  EXPECT_TRUE(EntryDestination("C:\\d\\", "a.txt", out));
  EXPECT_EQ(out, "C:\\d\\a.txt");
  const std::string dir = "C:\\" + std::string(250, 'd') + "\\";
  EXPECT_TRUE(EntryDestination(dir, "abcde", out));     // 259 characters
  EXPECT_FALSE(EntryDestination(dir, "abcdef", out));   // 260: no room for the terminator
  EXPECT_EQ(EntrySource("C:\\t", "a.txt"), "C:\\t\\a.txt");
  EXPECT_EQ(EntrySource("C:\\", "a.txt"), "C:\\a.txt");
}

TEST(EnginePolicyTest, TrailingBackslashIsDoubleByteAware) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"C:\\dir", "C:\\dir\\"}, {"C:\\dir\\", "C:\\dir\\"}, {"C:/dir/", "C:/dir/"},
      {"C:", "C:"},             {"C:\\", "C:\\"},           {"C:\\表", "C:\\表\\"},
      {"ソ", "ソ\\"},           {"", "\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(WithTrailingBackslash(c.in), c.out) << c.in;
  EXPECT_EQ(LastBackslash("C:\\a\\表"), 4u);
  EXPECT_EQ(LastBackslash("表"), std::string::npos);
  EXPECT_EQ(DirectoryPart("C:\\a\\表.txt"), "C:\\a\\");
  EXPECT_EQ(DirectoryPart("C:b.txt"), "C:");
  EXPECT_EQ(DirectoryPart("能.txt"), "");
  EXPECT_TRUE(HasColon("C:x"));
  EXPECT_FALSE(HasColon("x\\y"));
  EXPECT_TRUE(IsDotEntry(".."));
  EXPECT_FALSE(IsDotEntry("...x"));
}

TEST(EnginePolicyTest, NewerOnlyComparesWholeSeconds) {
  constexpr os::FileTime s = 10000000;
  const os::FileTime t = 1000 * s;
  struct Case {
    os::FileTime source, destination;
    bool newer;
  } cases[] = {
      {t + s, t, true},          {t, t, false},
      {t, t + s, false},         {t + s / 2, t, false},  // same second
      {t + s + 1, t + s - 1, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SourceIsNewer(&c.source, &c.destination), c.newer) << c.source << " " << c.destination;
  EXPECT_FALSE(SourceIsNewer(nullptr, &t));
  EXPECT_FALSE(SourceIsNewer(&t, nullptr));
}

TEST(EnginePolicyTest, GaugeArithmetic) {
  EXPECT_EQ(progress::GaugeValue(0, 100), 0);
  EXPECT_EQ(progress::GaugeValue(48000, 100000), 4800);
  EXPECT_EQ(progress::GaugeValue(99999, 100000), 9999);
  EXPECT_EQ(progress::GaugeValue(5, 0), kGaugeMax);       // an empty file that grew
  EXPECT_EQ(progress::GaugeValue(200, 100), kGaugeMax);   // a file that grew
  EXPECT_EQ(progress::GaugeValue(uint64_t{3} << 32, uint64_t{6} << 32), 5000);
}

TEST(EnginePolicyTest, CopyBufferHasTheCommandsSize) {
  CopyBuffer buffer;
  ASSERT_TRUE(buffer);
  EXPECT_EQ(buffer.Size(), 48000u);
}

}  // namespace
