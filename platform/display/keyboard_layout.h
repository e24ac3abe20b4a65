#pragma once
// The keyboard layout of the platform: a US layout in the ANSI code page. Both the window
// manager (VkKeyScanA, MapVirtualKeyA, WM_CHAR) and the backends (typing text) use it.

#include "win32.h"

namespace vel::platform {

/// The key and shift state that types a character, as VkKeyScanA answers it: the virtual key
/// in the low byte, 1 (Shift) in the high byte, or -1 when no key types the character.
SHORT KeyForCharacter(char character);

/// The character a key types with the given modifier state, or 0 when it types none.
/// Control combinations give the control characters (Ctrl+A is 1); Caps Lock flips letters.
char CharacterForKey(BYTE virtualKey, bool shift, bool control, bool capsLock);

/// The hardware scan code of a key (set 1), 0 when the layout has none.
UINT ScanCodeForKey(BYTE virtualKey);

/// The virtual key of a scan code, 0 when none.
BYTE KeyForScanCode(UINT scanCode);

/// The virtual key named by text such as "TAB", "F2", "A" or "0x41", 0 when unknown.
BYTE KeyByName(const char* name);

}  // namespace vel::platform
