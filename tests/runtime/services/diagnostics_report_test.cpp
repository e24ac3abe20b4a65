#include "runtime/services/diagnostics_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/message_box_script.h"
#include "runtime/services/error_state.h"
#include "tests/runtime/services/trace_dir_fixture.h"

namespace vel::services {
namespace testing {

// An abstract base whose constructor reaches its own pure virtual function. The call goes
// through a function pointer the compiler cannot see through, and the classes have external
// linkage, so the compiler cannot prove which override runs and must make the call.
class AbstractShape;
int SidesOf(const AbstractShape& shape);
int (*volatile g_sidesOf)(const AbstractShape&) = SidesOf;

class AbstractShape {
 public:
  AbstractShape() { g_sides = g_sidesOf(*this); }
  virtual ~AbstractShape() = default;
  virtual int Sides() const = 0;

 private:
  static inline volatile int g_sides = 0;
};

int SidesOf(const AbstractShape& shape) { return shape.Sides(); }

class Triangle : public AbstractShape {
 public:
  int Sides() const override { return 3; }
};

}  // namespace testing

namespace {

class InternalDiagnostic : public testing::TraceDirTest {
 protected:
  void SetUp() override {
    TraceDirTest::SetUp();
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    platform::ClearMessageBoxLog();
  }
  void TearDown() override {
    platform::ClearMessageBoxLog();
    ClearError();
    TraceDirTest::TearDown();
  }
};

TEST_F(InternalDiagnostic, LogsARecordThenShowsTheFormattedText) {
  testing::ShutdownScope shutdown;
  SetError(33);
  ReportInternalDiagnostic(10, {4096L, 2L});

  const std::vector<std::string> lines = TraceLines();
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines.front(), "Error: memory leak 4096 bytes (2 allocs)\r\n");
  EXPECT_EQ(lines.back(), "----------------------------------\r\n");

  const auto boxes = platform::MessageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Runtime error");
  EXPECT_EQ(boxes[0].text, "memory leak 4096 bytes (2 allocs)");
  EXPECT_EQ(ERRORCODE(), 33);  // reported with code 0: the error state stays
}

TEST_F(InternalDiagnostic, UnknownNumbersReportTheLastRow) {
  testing::ShutdownScope shutdown;
  ReportInternalDiagnostic(4242);
  EXPECT_EQ(TraceLines().front(), "Error: Unknown Error\r\n");
  ASSERT_EQ(platform::MessageBoxLog().size(), 1u);
  EXPECT_EQ(platform::MessageBoxLog()[0].text, "Unknown Error");
}

TEST_F(InternalDiagnostic, EndsTheProgramWhileTheRuntimeRuns) {
  EXPECT_EXIT(ReportInternalDiagnostic(11), ::testing::ExitedWithCode(2), "memory block free'd twice");
  EXPECT_EQ(TraceLines().front(), "Error: memory block free'd twice\r\n");
}

TEST_F(InternalDiagnostic, AbstractCallEndsTheProgramEvenDuringShutdown) {
  EXPECT_EXIT(
      {
        SetRuntimeRunning(false);
        ReportAbstractCall();
      },
      ::testing::ExitedWithCode(2), "\\[Runtime error\\] Pure virtual function called");
  EXPECT_EQ(TraceLines().size(), 12u);
  EXPECT_EQ(TraceLines().front(), "Error: Pure virtual function called\r\n");
}

TEST_F(InternalDiagnostic, CallingAPureVirtualFunctionTakesTheRuntimePath) {
  EXPECT_EXIT(testing::Triangle(), ::testing::ExitedWithCode(2), "\\[Runtime error\\] Pure virtual function called");
  EXPECT_EQ(TraceLines().front(), "Error: Pure virtual function called\r\n");
}

}  // namespace
}  // namespace vel::services
