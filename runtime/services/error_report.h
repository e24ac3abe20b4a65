#pragma once
// The runtime error box: how the runtime reports a condition the program cannot go on from.
// After the box the program ends with exit code 2 while the runtime runs; during shutdown the
// report returns and shutdown goes on.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "win32.h"

namespace vel::services {

inline constexpr const char* kRuntimeErrorCaption = "Runtime error";

/// Longest message the box shows; longer text is cut.
inline constexpr std::size_t kRuntimeErrorMessageMaxLength = 254;

/// The exit code of a program ended by a runtime error.
inline constexpr UINT kRuntimeErrorExitCode = 2;

/// Called when the user answers the box with Cancel: writes a fault report as for a processor
/// fault at this point and ends the program. The fault reporter installs it.
using RuntimeErrorFaultReporter = std::function<void()>;

/// Installs the fault reporter; an empty one (the default) makes Cancel end the program just as
/// OK does.
void SetRuntimeErrorFaultReporter(RuntimeErrorFaultReporter reporter);

/// The text the box shows for a code and extra text, at most kRuntimeErrorMessageMaxLength
/// characters: the code's error text (trailing blanks removed), then " : " and the extra text
/// when there is any. With code 0 only the extra text. Reads the error state, so the code must
/// have been set first.
std::string RuntimeErrorMessage(std::int32_t code, std::string_view extraText);

/// Reports a runtime error. A code other than 0 sets the error state first; with code 0 the
/// error state is left alone and only the extra text is shown. Shows the box (no owner, caption
/// "Runtime error", OK and Cancel, stop icon); Cancel runs the fault reporter. Then the program
/// ends with kRuntimeErrorExitCode while the runtime runs; otherwise the call returns.
void ReportRuntimeError(std::int32_t code, std::string_view extraText = {});

/// Whether a runtime error has been reported in this process.
bool RuntimeErrorReported();

}  // namespace vel::services
