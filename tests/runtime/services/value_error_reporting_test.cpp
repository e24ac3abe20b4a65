#include "runtime/services/value_error_reporting.h"

#include <gtest/gtest.h>

#include "platform/user/message_box_script.h"
#include "runtime/services/error_state.h"
#include "runtime/services/module_descriptor.h"
#include "runtime/services/service_routines.h"
#include "runtime/values/evaluate_expression.h"
#include "runtime/values/reference_errors.h"
#include "runtime/values/reference_factory.h"
#include "runtime/values/string_functions.h"
#include "runtime/values/string_stack.h"
#include "tests/runtime/services/trace_dir_fixture.h"

namespace vel::services {
namespace {

TEST(ValueErrorReporting, ExpressionErrorsReachTheErrorStateWithTheirTexts) {
  // The value runtime's service routine is what connects the errors at program start-up.
  values::InstallValueErrorSink(nullptr);
  ValueReferenceService(kInitialiseCall);
  ClearError();
  values::PushCString("1 +");
  values::Evaluate();
  values::DropTop();
  EXPECT_EQ(ERRORCODE(), 800);
  EXPECT_EQ(ClippedErrorText(), "Invalid expression for EVALUATE");

  values::PushCString("nobody * 2");
  values::Evaluate();
  values::DropTop();
  EXPECT_EQ(ERRORCODE(), 801);
  EXPECT_EQ(ClippedErrorText(), "No BIND on variable");
  values::InstallValueErrorSink(nullptr);
  ClearError();
}

// A bad slice reads the same whether the program sliced a string variable or a typed reference:
// error 8 in the error state and its text with the reason in the box.
TEST(ValueErrorReporting, BothSlicePathsShowTheSameRuntimeError) {
  testing::ShutdownScope shutdown;
  values::InstallValueErrorSink(nullptr);
  ValueReferenceService(kInitialiseCall);
  char storage[5] = {'h', 'e', 'l', 'l', 'o'};
  auto reference = values::CreateReference(18, storage, 5, 0, false);
  for (int path = 0; path < 2; ++path) {
    platform::ClearMessageBoxLog();
    ClearError();
    if (path == 0) {
      EXPECT_EQ(values::SliceString(storage, 5, 3, 9), nullptr);
    } else {
      EXPECT_EQ(reference->Slice(3, 9), nullptr);
    }
    const std::vector<platform::MessageBoxRecord> boxes = platform::MessageBoxLog();
    ASSERT_EQ(boxes.size(), 1u) << path;
    EXPECT_EQ(boxes[0].text, "Insufficient Memory : Parameter typing error") << path;
    EXPECT_EQ(ERRORCODE(), 8) << path;
  }
  platform::ClearMessageBoxLog();
  values::InstallValueErrorSink(nullptr);
  ClearError();
}

}  // namespace
}  // namespace vel::services
