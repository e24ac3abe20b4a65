#pragma once
// One queued event: which window and control it is about and the keyboard and mouse state at
// the moment it was made.

#include <cstdint>
#include <functional>

namespace vel::windows {

struct WindowObject;
class WindowControl;

struct EventRecord {
  WindowObject* window = nullptr;
  std::int32_t code = 0;
  /// Slot of the target window's thread.
  std::int32_t threadSlot = -1;
  /// The control the event is about (field events), or null.
  WindowControl* control = nullptr;
  /// The window's focus control when the event was made.
  WindowControl* focusControl = nullptr;
  /// Key code (low 11 bits significant), character and scan code of the thread's last key.
  std::int32_t keyCode = 0;
  std::uint8_t character = 0;
  std::uint8_t scanCode = 0;
  /// Cursor position in the target window's client pixels.
  std::int32_t mouseX = 0;
  std::int32_t mouseY = 0;

  /// Runs when the record becomes the current event (the drop of a drag).
  std::function<void()> completion;
  /// True for a sent event: sent events go ahead of posted ones but keep their own order.
  bool sent = false;
  /// For a sent event: receives the procedure's answer (true = taken, false = refused) once
  /// the procedure comes back to its ACCEPT loop.
  std::function<void(bool taken)> answer;
};

/// Key codes keep their low 11 bits.
inline constexpr std::int32_t kKeyCodeMask = 0x7FF;

}  // namespace vel::windows
