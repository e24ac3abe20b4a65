#pragma once
// The cursor shown now and the standard arrow the default window procedure falls back to.

#include "win32.h"

namespace vel::platform {

/// The arrow cursor (installed by whoever loads cursors; null until then).
HCURSOR StandardArrowCursor();
void SetStandardArrowCursor(HCURSOR cursor);

}  // namespace vel::platform
