#pragma once
// The runtime's busy cursor: while one is set, controls show it instead of their own.

#include "win32.h"

namespace vel::controls {

/// Sets the busy cursor (null: none). The caller keeps the handle.
void SetBusyCursor(HCURSOR cursor);
HCURSOR BusyCursor();

}  // namespace vel::controls
