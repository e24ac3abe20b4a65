#include "runtime/services/value_error_reporting.h"

#include <string_view>

#include "runtime/services/error_report.h"
#include "runtime/services/error_state.h"
#include "runtime/services/module_descriptor.h"
#include "runtime/services/service_routines.h"
#include "runtime/values/reference_errors.h"

namespace vel::services {

namespace {

class ServicesValueErrorSink final : public values::ValueErrorSink {
 public:
  void ReportRuntimeError(int code, const char* extraText) override {
    services::ReportRuntimeError(code, extraText == nullptr ? std::string_view() : extraText);
  }
  void SetError(int code) override { services::SetError(code); }
};

}  // namespace

void ConnectValueErrors() {
  static ServicesValueErrorSink sink;
  values::InstallValueErrorSink(&sink);
}

void ValueReferenceService(int call) {
  // The sink only forwards to services that live as long as the program, so it stays connected
  // through termination: failures reported while other services shut down still reach the user.
  if (call == kInitialiseCall) ConnectValueErrors();
}

}  // namespace vel::services
