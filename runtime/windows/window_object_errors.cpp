#include "runtime/windows/window_object_errors.h"

#include "runtime/services/error_report.h"
#include "runtime/services/error_state.h"

namespace vel::windows {

void ReportWindowError(std::int32_t code) {
  services::ReportRuntimeError(code, code == kErrorClassRegistration ? "WSLDIAL" : "");
}

void ClearErrorForNewEvent() { services::ClearError(); }

}  // namespace vel::windows
