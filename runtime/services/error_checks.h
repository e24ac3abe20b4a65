#pragma once
// The checks compiled program code calls when a run-time check fails. Each reports its runtime
// error without extra text, which ends the program while the runtime runs.

#include <cstdint>

namespace vel::services {

inline constexpr std::int32_t kStackOverflowError = 401;
inline constexpr std::int32_t kNullPointerError = 402;
inline constexpr std::int32_t kArithmeticOverflowError = 404;
inline constexpr std::int32_t kVariableOutOfRangeError = 405;
inline constexpr std::int32_t kNoReturnValueError = 406;
inline constexpr std::int32_t kNoMatchingCaseLabelError = 407;
inline constexpr std::int32_t kIndexOutOfRangeError = 409;

void ReportStackOverflow();
void ReportNullPointer();
void ReportArithmeticOverflow();
void ReportVariableOutOfRange();
void ReportNoReturnValue();
void ReportNoMatchingCaseLabel();
void ReportIndexOutOfRange();

}  // namespace vel::services
