#pragma once
// Changing the system colours (SetSysColors does it for programs).

#include "win32.h"

namespace vel::platform {

/// Sets one system colour and the colour of its stock brush; false for an unknown index.
bool SetSystemColor(int index, COLORREF color);

}  // namespace vel::platform
