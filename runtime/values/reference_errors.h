#pragma once

#include <cstdint>

namespace vel::values {

// Failures of typed references, name bindings and expressions. The value runtime sits below
// the program services in the library layering, so it cannot call the runtime error box or the
// error state itself; it reports through a sink that the services install when they start.

/// Error numbers and texts raised by this part of the value runtime.
inline constexpr int kErrorCloneOfBase = 5;
inline constexpr int kErrorElementAccess = 6;
inline constexpr int kErrorBindFields = 7;
inline constexpr int kErrorSlice = 8;
inline constexpr int kErrorConversionOfBase = 10;
inline constexpr int kErrorParameterType = 11;
inline constexpr int kErrorUnknownTypeCode = 501;
inline constexpr int kErrorInvalidExpression = 800;
inline constexpr int kErrorNoBind = 801;
inline constexpr int kErrorMismatchedScope = 802;

inline constexpr const char* kParameterTypingText = "Parameter typing error";
inline constexpr const char* kStringStackErrorText = "String Stack Error";
inline constexpr const char* kMismatchedPopScopeText = "Mismatched POPSCOPE";

/// Where the value runtime's failures go.
class ValueErrorSink {
 public:
  virtual ~ValueErrorSink() = default;
  /// Shows the runtime error box with `code` and the optional `extraText` (null: none). While
  /// the runtime runs this does not come back; when it does, the caller carries on safely.
  virtual void ReportRuntimeError(int code, const char* extraText) = 0;
  /// Sets the recoverable error state that procedures read with ERRORCODE and ERROR.
  virtual void SetError(int code) = 0;
};

/// Makes `sink` receive the failures; null reinstalls the built-in sink, which only remembers
/// the last codes (see `LastReportedValueError` and `LastSetValueError`). The object must
/// outlive its installation.
void InstallValueErrorSink(ValueErrorSink* sink);

/// Reports a runtime error through the installed sink.
void RaiseValueRuntimeError(int code, const char* extraText);

/// Sets the error state through the installed sink.
void SetValueError(int code);

/// The last code the built-in sink received as a runtime error, and as an error state (0 when
/// none); for start-up code running before the services take over.
int LastReportedValueError();
int LastSetValueError();

}  // namespace vel::values
