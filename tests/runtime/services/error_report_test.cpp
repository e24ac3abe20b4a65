#include "runtime/services/error_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/message_box_script.h"
#include "runtime/services/error_checks.h"
#include "runtime/services/error_state.h"
#include "runtime/services/runtime_running.h"
#include "runtime/services/shutdown_step.h"
#include "tests/runtime/services/trace_dir_fixture.h"

namespace vel::services {
namespace {

using platform::MessageBoxRecord;
using testing::ShutdownScope;

class RuntimeErrorBox : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    platform::ClearMessageBoxLog();
    ClearError();
  }
  void TearDown() override {
    platform::SetMessageBoxAnswerer({});
    platform::ClearMessageBoxLog();
    SetRuntimeErrorFaultReporter({});
    ClearError();
  }

  static MessageBoxRecord OnlyBox() {
    const std::vector<MessageBoxRecord> boxes = platform::MessageBoxLog();
    EXPECT_EQ(boxes.size(), 1u);
    return boxes.empty() ? MessageBoxRecord{} : boxes.front();
  }
};

TEST_F(RuntimeErrorBox, EndsTheProgramWithExitCodeTwoWhileTheRuntimeRuns) {
  EXPECT_EXIT(ReportRuntimeError(537), ::testing::ExitedWithCode(2),
              "\\[Runtime error\\] ACCEPT loop requires a window\n");
  EXPECT_EXIT(ReportStackOverflow(), ::testing::ExitedWithCode(2), "\\[Runtime error\\] Stack overflow\n");
}

TEST_F(RuntimeErrorBox, CancelWithoutFaultReporterEndsTheProgramAsOkDoes) {
  EXPECT_EXIT(
      {
        platform::SetMessageBoxAnswerer([](const MessageBoxRecord&) { return IDCANCEL; });
        ReportRuntimeError(536);
      },
      ::testing::ExitedWithCode(2), "Window is not open");
}

TEST_F(RuntimeErrorBox, CancelHandsOverToTheFaultReporter) {
  EXPECT_EXIT(
      {
        SetRuntimeErrorFaultReporter([] {
          std::fprintf(stderr, "fault report for %d\n", ERRORCODE());
          ExitProcess(3);
        });
        platform::SetMessageBoxAnswerer([](const MessageBoxRecord&) { return IDCANCEL; });
        ReportRuntimeError(529);
      },
      ::testing::ExitedWithCode(3), "fault report for 529");

  // Answered with OK the reporter does not run.
  ShutdownScope shutdown;
  bool reported = false;
  SetRuntimeErrorFaultReporter([&] { reported = true; });
  ReportRuntimeError(529);
  EXPECT_FALSE(reported);
}

TEST_F(RuntimeErrorBox, DuringShutdownShowsTheBoxAndReturns) {
  ShutdownScope shutdown;
  ReportRuntimeError(802, "Mismatched POPSCOPE");
  const MessageBoxRecord box = OnlyBox();
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.caption, "Runtime error");
  EXPECT_EQ(box.text, "Mismatched PUSHSCOPE/POPSCOPE : Mismatched POPSCOPE");
  EXPECT_EQ(box.flags, static_cast<UINT>(MB_OKCANCEL | MB_ICONSTOP));
  EXPECT_EQ(ERRORCODE(), 802);
  EXPECT_TRUE(RuntimeErrorReported());
}

TEST_F(RuntimeErrorBox, CodeZeroShowsOnlyTheExtraTextAndKeepsTheErrorState) {
  ShutdownScope shutdown;
  SetError(35);
  ReportRuntimeError(0, "Parameter typing error");
  EXPECT_EQ(OnlyBox().text, "Parameter typing error");
  EXPECT_EQ(ERRORCODE(), 35);
  EXPECT_EQ(ClippedErrorText(), "Record Not Found");
}

TEST_F(RuntimeErrorBox, MessagesAreCutAtTwoHundredFiftyFourCharacters) {
  ShutdownScope shutdown;
  const std::string extra(400, 'x');
  ReportRuntimeError(502, extra);
  const std::string text = OnlyBox().text;
  ASSERT_EQ(text.size(), kRuntimeErrorMessageMaxLength);
  EXPECT_EQ(text.substr(0, 20), "Internal error 02 : ");
  EXPECT_EQ(RuntimeErrorMessage(0, extra), std::string(kRuntimeErrorMessageMaxLength, 'x'));

  // Unknown codes carry their number; the error text is trailing-blank clipped before " : ".
  SetError(350);
  EXPECT_EQ(RuntimeErrorMessage(350, "x"), "Not Supported : x");
  SetError(4711);
  EXPECT_EQ(RuntimeErrorMessage(4711, ""), "Unknown Error Posted : 4711");
}

TEST_F(RuntimeErrorBox, EachCheckReportsItsOwnCode) {
  ShutdownScope shutdown;
  struct Check {
    void (*report)();
    std::int32_t code;
    const char* text;
  };
  const Check checks[] = {
      {ReportStackOverflow, 401, "Stack overflow"},
      {ReportNullPointer, 402, "Null pointer de-reference"},
      {ReportArithmeticOverflow, 404, "Arithmetic Overflow"},
      {ReportVariableOutOfRange, 405, "Variable out of range"},
      {ReportNoReturnValue, 406, "No return value from function"},
      {ReportNoMatchingCaseLabel, 407, "No matching Case Label"},
      {ReportIndexOutOfRange, 409, "Index out of range"},
  };
  for (const Check& check : checks) {
    platform::ClearMessageBoxLog();
    check.report();
    EXPECT_EQ(ERRORCODE(), check.code);
    EXPECT_EQ(OnlyBox().text, check.text) << check.code;
  }
}

TEST_F(RuntimeErrorBox, ARuntimeErrorDuringShutdownLetsShutdownGoOn) {
  std::vector<std::string> steps;
  SetShutdownHook(ShutdownHook::KillGlobalTimer, [&] {
    steps.push_back("timer");
    ReportRuntimeError(536);
  });
  SetShutdownHook(ShutdownHook::ReleaseValueRuntimeState, [&] { steps.push_back("release"); });
  RunShutdownStep();
  SetShutdownHook(ShutdownHook::KillGlobalTimer, {});
  SetShutdownHook(ShutdownHook::ReleaseValueRuntimeState, {});
  SetRuntimeRunning(true);

  EXPECT_EQ(steps, (std::vector<std::string>{"timer", "release"}));
  EXPECT_EQ(OnlyBox().text, "Window is not open");
}

}  // namespace
}  // namespace vel::services
