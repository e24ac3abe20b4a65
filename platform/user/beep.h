#pragma once
// The audible signal of MessageBeep, counted so that tests can see that the program beeped.

#include <cstdint>

#include "win32.h"

namespace vel::platform {

/// How many times MessageBeep has been called in this process.
uint64_t BeepCount();

/// The sound type (MB_OK, MB_ICONHAND, 0xFFFFFFFF ...) of the latest beep; 0 before any.
UINT LastBeepType();

}  // namespace vel::platform
