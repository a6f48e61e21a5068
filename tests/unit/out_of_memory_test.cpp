// Running out of memory: the message and the end of the process, for a failing operator new and
// for an allocation failure that reaches the top of the program.
#include "app/out_of_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

int reports = 0;
int ends = 0;
int endCode = 0;
void CountReport() { ++reports; }
void RecordEnd(int code) {
  ++ends;
  endCode = code;
}
// A report that runs out of memory itself.
void ReportThatFails() {
  ++reports;
  std::get_new_handler()();
}

class OutOfMemoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reports = ends = endCode = 0;
    previous_ = std::get_new_handler();
  }
  void TearDown() override { std::set_new_handler(previous_); }

 private:
  std::new_handler previous_ = nullptr;
};

TEST_F(OutOfMemoryTest, TheMessageIsTheProgramsOwn) {
  EXPECT_EQ(std::string(app::OutOfMemoryText()), "内部メモリ確保エラー : 強制終了します");
}

TEST_F(OutOfMemoryTest, FailureAtTheTopIsReportedWithItsExitCode) {
  struct Case {
    const char* what;
    std::function<int()> run;
    int wantResult;
    int wantReports;
  } cases[] = {
      {"a normal run gives its own result", [] { return 7; }, 7, 0},
      {"bad_alloc", []() -> int { throw std::bad_alloc(); }, app::kOutOfMemoryExitCode, 1},
      {"an array too long", []() -> int { throw std::bad_array_new_length(); },
       app::kOutOfMemoryExitCode, 1},
  };
  const app::OutOfMemoryActions actions{&CountReport, &RecordEnd};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    reports = 0;
    EXPECT_EQ(app::RunReportingOutOfMemory(c.run, actions), c.wantResult);
    EXPECT_EQ(reports, c.wantReports);
  }
  // Other failures are not taken for a lack of memory.
  EXPECT_THROW(app::RunReportingOutOfMemory(
                   []() -> int { throw std::runtime_error("other"); }, actions),
               std::runtime_error);
}

TEST_F(OutOfMemoryTest, FailingNewReportsThenEnds) {
  app::InstallOutOfMemoryHandler({&CountReport, &RecordEnd});
  ASSERT_NE(std::get_new_handler(), nullptr);
  // The end recorded here returns: the allocation then fails as it would without a handler.
  EXPECT_THROW(std::get_new_handler()(), std::bad_alloc);
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(endCode, app::kOutOfMemoryExitCode);
}

TEST_F(OutOfMemoryTest, AReportThatRunsOutOfMemoryIsNotTriedAgain) {
  app::InstallOutOfMemoryHandler({&ReportThatFails, &RecordEnd});
  EXPECT_THROW(std::get_new_handler()(), std::bad_alloc);
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(ends, 1) << "the inner failure ends the process";
  // The next failure is reported again.
  EXPECT_THROW(std::get_new_handler()(), std::bad_alloc);
  EXPECT_EQ(reports, 2);
}

// The window's table error box takes the message of a failure on the window's own thread,
// whether operator new fails or a bad_alloc reaches the top; the owner-less box is left for the
// time before and after the window's tables, and for the other threads.
std::string boxText;
int boxShows = 0;
void ShowInBox(const char* text, void* context) {
  ++boxShows;
  boxText = text;
  ++*static_cast<int*>(context);
}

TEST_F(OutOfMemoryTest, AFailureOnTheWindowsThreadIsToldInTheTableErrorBox) {
  app::InstallOutOfMemoryHandler({&CountReport, &RecordEnd});
  const app::OutOfMemoryActions actions{&CountReport, &RecordEnd};
  struct Case {
    const char* what;
    bool box;          // the window's tables exist
    bool otherThread;  // the allocation fails on a thread of its own
    bool atTheTop;     // a bad_alloc that reached the top, not a failing operator new
    int wantBox, wantOwnerless;
  } cases[] = {
      {"before the tables", false, false, false, 0, 1},
      {"a command", true, false, false, 1, 0},
      {"a command whose failure reached the top", true, false, true, 1, 0},
      {"the icon loader's thread", true, true, false, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    reports = boxShows = 0;
    boxText.clear();
    int context = 0;
    std::optional<app::TableErrorBoxForMemory> box;
    if (c.box) box.emplace(&ShowInBox, &context);
    bool failed = false;
    auto fail = [&c, &actions, &failed] {
      if (c.atTheTop) {
        failed = app::RunReportingOutOfMemory([]() -> int { throw std::bad_alloc(); },
                                              actions) == app::kOutOfMemoryExitCode;
        return;
      }
      try {
        std::get_new_handler()();
      } catch (const std::bad_alloc&) {
        failed = true;
      }
    };
    if (c.otherThread)
      std::thread(fail).join();
    else
      fail();
    EXPECT_TRUE(failed);
    EXPECT_EQ(boxShows, c.wantBox);
    EXPECT_EQ(context, c.wantBox) << "the box's own context";
    EXPECT_EQ(reports, c.wantOwnerless);
    if (c.wantBox) {
      EXPECT_EQ(boxText, app::OutOfMemoryText());
    }
  }
  // Once the tables are gone the owner-less box is back.
  reports = boxShows = 0;
  EXPECT_THROW(std::get_new_handler()(), std::bad_alloc);
  EXPECT_EQ(boxShows, 0);
  EXPECT_EQ(reports, 1);
}

#if !defined(__SANITIZE_ADDRESS__)
TEST_F(OutOfMemoryTest, ARealAllocationThatCannotBeMetGoesThroughTheHandler) {
  app::InstallOutOfMemoryHandler({&CountReport, &RecordEnd});
  // More than a 32-bit process can ever have, and more than a 64-bit one will be given.
  volatile std::size_t huge = sizeof(void*) == 4 ? std::size_t{0xF0000000u}
                                              : static_cast<std::size_t>(1) << 62;
  EXPECT_THROW(static_cast<void>(::operator new(huge)), std::bad_alloc);
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(ends, 1);
}
#endif

}  // namespace
