#include "runtime/services/diagnostics_report.h"

#include <string>

#include "runtime/services/error_log_record.h"
#include "runtime/services/error_report.h"
#include "runtime/services/exit_sequence.h"

namespace vel::services {

void ReportInternalDiagnostic(int number, std::initializer_list<DiagnosticArgument> arguments) {
  const std::string text = FormatDiagnostic(number, arguments);
  WriteErrorLogRecord(text.c_str());
  ReportRuntimeError(0, text);
}

void ReportAbstractCall() {
  ReportInternalDiagnostic(kPureVirtualCallDiagnostic);
  Exit(kRuntimeErrorExitCode);
}

}  // namespace vel::services
