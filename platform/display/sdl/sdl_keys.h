#pragma once
// Translation of SDL key events into the platform's virtual-key codes. Only the SDL backend
// includes this header.

#include <SDL.h>

#include "win32.h"

namespace vel::platform {

/// The virtual key for an SDL key, 0 when the platform has none. `extended` is set for the keys
/// a PC keyboard marks as extended (the right-hand modifiers, the navigation block, the arrows,
/// keypad Enter and Divide).
BYTE VirtualKeyFromSdl(const SDL_Keysym& key, bool* extended);

}  // namespace vel::platform
