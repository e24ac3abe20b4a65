#pragma once
// Key codes: what a keyboard or mouse message means to a procedure. The low byte is the
// virtual key (or a mouse button code), the bits above it the modifiers and the toggles held
// at the time. Each thread keeps its last key code, character and scan code; event records
// copy them when they are made.

#include <cstdint>
#include <string>

#include "win32.h"

namespace vel::windows {

/// Mouse button codes in the low byte.
inline constexpr std::int32_t kMouseLeft = 1;
inline constexpr std::int32_t kMouseRight = 2;
inline constexpr std::int32_t kMouseMiddle = 3;
inline constexpr std::int32_t kMouseLeftDouble = 5;
inline constexpr std::int32_t kMouseRightDouble = 6;
inline constexpr std::int32_t kMouseMiddleDouble = 7;

/// Modifier and toggle bits.
inline constexpr std::int32_t kKeyShift = 0x100;
inline constexpr std::int32_t kKeyControl = 0x200;
inline constexpr std::int32_t kKeyAlt = 0x400;
inline constexpr std::int32_t kKeyExtended = 0x800;
inline constexpr std::int32_t kKeyCapsLock = 0x1000;
inline constexpr std::int32_t kKeyNumLock = 0x2000;
inline constexpr std::int32_t kKeyScrollLock = 0x4000;
inline constexpr std::int32_t kKeyInsertMode = 0x8000;
/// The bits that tell two keys apart: the key and Shift, Ctrl and Alt.
inline constexpr std::int32_t kKeyIdentityMask = 0x7FF;

/// The key code of a message: key downs (WM_KEYDOWN, WM_SYSKEYDOWN) and mouse button downs and
/// double-clicks, with the modifiers and toggles of the calling thread's keyboard state; 0 for
/// every other message.
std::int32_t KeyCodeOf(const MSG& message);

/// Records a message for the thread in `slot`: a character (WM_CHAR) becomes its last
/// character; a message with a key code becomes its last key code with its scan code, and
/// clears the last character. Returns the key code (0 when the message has none). A slot
/// outside the table records nothing.
std::int32_t RecordMessageKey(const MSG& message, int slot);

/// A key code as a menu shows it beside an item: "Ctrl+Shift+F2", "Alt+Del"; empty for a code
/// whose key has no name here (mouse codes among them).
std::string KeyCodeName(std::int32_t keyCode);

}  // namespace vel::windows
