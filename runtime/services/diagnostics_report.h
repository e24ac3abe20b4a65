#pragma once
// Reporting the runtime's internal diagnostics: an error log record in the trace log, then the
// runtime error box with the formatted text.

#include <initializer_list>

#include "runtime/services/diagnostics_table.h"

namespace vel::services {

/// Formats the diagnostic's text with the arguments (at most kDiagnosticTextSize - 1
/// characters), writes an error log record with it and reports a runtime error with code 0 and
/// the text. Ends the program while the runtime runs.
void ReportInternalDiagnostic(int number, std::initializer_list<DiagnosticArgument> arguments = {});

/// What a call of a function that a class leaves abstract does: reports the pure-virtual-call
/// diagnostic and ends the program with the runtime error exit code, during shutdown too.
[[noreturn]] void ReportAbstractCall();

}  // namespace vel::services
