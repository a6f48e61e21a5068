// Running out of memory: the message and the end of the process, for a failing operator new and
// for an allocation failure that reaches the top of the program.
#include "app/out_of_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>

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
