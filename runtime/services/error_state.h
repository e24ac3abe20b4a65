#pragma once
// The process's error state: the code and message text of the last recoverable error, which the
// program reads back with ERRORCODE and ERROR, and the stack of saved states that lets the
// runtime do work (such as redisplaying fields) without disturbing what the program will read.

#include <cstddef>
#include <cstdint>
#include <string>

#include "win32.h"

namespace vel::services {

/// Width of the error text: blank-padded, of which at most kErrorTextMaxLength are text.
inline constexpr std::size_t kErrorTextSize = 80;
inline constexpr std::size_t kErrorTextMaxLength = kErrorTextSize - 1;

/// Platform errors are reported as the platform's own error number plus this offset.
inline constexpr std::int32_t kPlatformErrorOffset = 300;

/// One snapshot of the error state.
struct ErrorState {
  /// 0 means no error.
  std::int32_t code = 0;
  /// Message text of the code, blank-padded to its full width, not terminated.
  char text[kErrorTextSize];
  /// The platform's last-error value when the error was set.
  DWORD platformError = 0;

  ErrorState();
};

/// Sets the error state for a code. Code 0 stands for the platform's last error: the code
/// becomes that value plus kPlatformErrorOffset. The text is the code's message (override,
/// string resource, or the unknown-error text with the code appended), leading blanks skipped,
/// cut to kErrorTextMaxLength characters. The platform's last-error value is captured as it was
/// on entry and is left unchanged for the caller.
void SetError(std::int32_t code);

/// Clears the error state: code 0, text all blanks.
void ClearError();

/// The current error code (the language's ERRORCODE).
std::int32_t ERRORCODE();

/// The current error text, all kErrorTextSize characters including the padding (what the
/// language's ERROR returns; callers clip it).
std::string ErrorText();

/// The current error text with its trailing blanks removed.
std::string ClippedErrorText();

/// The language's ERROR: pushes the whole kErrorTextSize-character error text onto the string
/// stack (callers clip it). Named apart from ERROR, which the platform headers define as a
/// region result.
void PushErrorText();

/// The platform error captured with the current error.
DWORD ErrorPlatformCode();

/// A copy of the whole current state.
ErrorState CurrentErrorState();

/// A copy for the fault reporter, which must never wait: when the state's lock is taken (the
/// faulting thread itself may hold it), the copy is made without it and may mix two states.
ErrorState ErrorStateWithoutWaiting();

/// Pushes a copy of the whole error state onto the saved-state stack.
void SaveErrorState();

/// Copies the most recently saved state back and pops it. With nothing saved the state is left
/// as it is: an unmatched restore must not invent an error state.
void RestoreErrorState();

/// Number of states on the saved-state stack.
std::size_t SavedErrorStateDepth();

/// Saves the error state for the lifetime of the object and restores it at the end, so work
/// done in between (redisplaying fields, for one) never changes what ERRORCODE returns.
class ErrorStateGuard {
 public:
  ErrorStateGuard() { SaveErrorState(); }
  ~ErrorStateGuard() { RestoreErrorState(); }
  ErrorStateGuard(const ErrorStateGuard&) = delete;
  ErrorStateGuard& operator=(const ErrorStateGuard&) = delete;
};

}  // namespace vel::services
