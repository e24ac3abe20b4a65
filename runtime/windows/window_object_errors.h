#pragma once
// The runtime errors of the window manager, reported through the runtime error box.

#include <cstdint>

namespace vel::windows {

/// Error codes of this area.
inline constexpr std::int32_t kErrorDefinitionNotFound = 502;     ///< "Internal error 02"
inline constexpr std::int32_t kErrorClassRegistration = 503;      ///< "Internal error 03"
inline constexpr std::int32_t kErrorUnableToOpenWindow = 529;     ///< "Unable to open WINDOW"
inline constexpr std::int32_t kErrorWindowAlreadyOpen = 535;      ///< "Window is already open"
inline constexpr std::int32_t kErrorWindowNotOpen = 536;          ///< "Window is not open"
inline constexpr std::int32_t kErrorAcceptNeedsWindow = 537;      ///< "ACCEPT loop requires a window"

/// Reports a runtime error of this area with no extra text (503 names the failing module,
/// "WSLDIAL"). While the runtime runs, the program ends with exit code 2; during shutdown the
/// call returns and the caller gives up the operation.
void ReportWindowError(std::int32_t code);

/// Clears the error state when a new event becomes current.
void ClearErrorForNewEvent();

}  // namespace vel::windows
