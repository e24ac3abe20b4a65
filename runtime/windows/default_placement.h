#pragma once
// Where a window goes, and how large it is, when its definition leaves that open. Runtime
// windows are popups so that their attributes alone decide the frame, and the platform places
// popups at the screen's corner with no size; these rules give them what an overlapped window
// would get: a size that fits their contents and a place of their own on the screen.

#include "runtime/windows/definition_record.h"
#include "runtime/windows/definition_view.h"
#include "runtime/windows/unit_conversion.h"
#include "win32.h"

namespace vel::windows {

/// The client size that fits what the definition places in the window: the right and bottom
/// edges of its controls' and its toolbar's given positions, plus a margin of the smallest left
/// and top offsets (so the controls sit centred in it), and never smaller than a usable minimum.
SIZE ClientSizeForContents(const DefinitionView& view, const Record& window, const UnitConverter& converter);

/// Where a window of `outerSize` goes: centred over `opener` when there is one, otherwise the
/// next step of a cascade from the screen's top-left corner; kept on the screen.
POINT DefaultWindowPosition(SIZE outerSize, HWND opener);

}  // namespace vel::windows
