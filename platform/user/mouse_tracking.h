#pragma once
// TrackMouseEvent's bookkeeping: which windows asked to hear when the pointer leaves them
// (their client area, or with TME_NONCLIENT their frame).

#include "win32.h"

namespace vel::platform {

/// Called by the input path for every pointer move, before the move is posted: windows the
/// pointer is no longer over get WM_MOUSELEAVE (or WM_NCMOUSELEAVE) once, and their tracking
/// ends. Cheap when nothing is tracked.
void UpdateMouseTracking(POINT screenPoint);

}  // namespace vel::platform
