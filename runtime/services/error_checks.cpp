#include "runtime/services/error_checks.h"

#include "runtime/services/error_report.h"

namespace vel::services {

void ReportStackOverflow() { ReportRuntimeError(kStackOverflowError); }
void ReportNullPointer() { ReportRuntimeError(kNullPointerError); }
void ReportArithmeticOverflow() { ReportRuntimeError(kArithmeticOverflowError); }
void ReportVariableOutOfRange() { ReportRuntimeError(kVariableOutOfRangeError); }
void ReportNoReturnValue() { ReportRuntimeError(kNoReturnValueError); }
void ReportNoMatchingCaseLabel() { ReportRuntimeError(kNoMatchingCaseLabelError); }
void ReportIndexOutOfRange() { ReportRuntimeError(kIndexOutOfRangeError); }

}  // namespace vel::services
