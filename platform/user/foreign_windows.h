#pragma once
// Windows of other programs. The window manager knows only its own windows; a handle in the
// foreign range stands for a window of another program, and what is done to it goes through
// this interface to whatever carries messages between programs (the program bus). Without
// one, foreign handles name no window and broadcasts stay within the program.

#include <string>
#include <utility>
#include <vector>

#include "win32.h"

namespace vel::platform {

/// Foreign handles are odd numbers from here up; the program's own handles are even and far
/// below, and the special values (HWND_BROADCAST, HWND_TOPMOST ...) lie outside both.
inline constexpr uintptr_t kFirstForeignHandle = 0x40000001;

inline bool IsForeignHandle(HWND handle) {
  auto value = reinterpret_cast<uintptr_t>(handle);
  return value >= kFirstForeignHandle && (value & 1) != 0 && value <= 0x7FFFFFFF;
}

class ForeignWindows {
 public:
  virtual ~ForeignWindows() = default;

  /// Whether the window still exists in its program.
  virtual bool IsWindow(HWND window) = 0;
  /// The process id of the window's program, or 0.
  virtual DWORD ProcessOf(HWND window) = 0;
  /// Sends a message and waits for the answer (0 when it cannot be delivered). Only messages
  /// whose parameters can be carried between programs go; others fail with ERROR_ACCESS_DENIED.
  virtual LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  /// Posts a message; false when the window is gone or the message cannot be carried.
  virtual bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  /// Sends or posts a message to the top-level windows of every other program, in turn.
  virtual void Broadcast(bool send, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  /// The properties this program has set on a foreign window (SetPropA and friends keep them
  /// here: a property is a value of this program), or null for a handle that names no window.
  /// Needs the tree lock.
  virtual std::vector<std::pair<std::string, HANDLE>>* Properties(HWND window) = 0;
  /// The top-level window of another program that the desktop shows at a screen point, above
  /// this program's windows there, or null (also where the desktop shares nothing).
  virtual HWND OtherProgramTopLevelAt(POINT screenPoint) = 0;
};

/// The program's carrier of foreign windows, or null when there is none (no message bus).
/// The first call connects.
ForeignWindows* CurrentForeignWindows();

}  // namespace vel::platform
