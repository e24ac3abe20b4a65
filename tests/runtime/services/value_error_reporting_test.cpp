#include "runtime/services/value_error_reporting.h"

#include <gtest/gtest.h>

#include "runtime/services/error_state.h"
#include "runtime/services/module_descriptor.h"
#include "runtime/services/service_routines.h"
#include "runtime/values/evaluate_expression.h"
#include "runtime/values/reference_errors.h"
#include "runtime/values/string_stack.h"

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

}  // namespace
}  // namespace vel::services
