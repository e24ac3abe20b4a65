#pragma once
// The source side of a drag: a list with drag identifiers reports each move of the captured
// mouse and the release of the button. Moves find the window under the pointer, ask it and
// its parents for one of the identifiers and show the cursor that says whether a drop is
// possible; the release posts EVENT:Drag, whose delivery sends the drop to the target.

#include <string_view>

#include "win32.h"

namespace vel::windows {

struct WindowObject;
class WindowControl;
class IdentifierList;

/// True for a window of the runtime: its class name begins with "Vel".
bool IsRuntimeWindow(HWND window);
/// True for a window that belongs to another program.
bool BelongsToOtherProgram(HWND window);

/// The window a drag is over at a screen point: among the visible, enabled descendants of the
/// top-level window there, the first runtime window that takes drops at all, else the last
/// that contains the point, else the top-level window itself (null over no window).
HWND DragHitTest(POINT screen);
/// The same search among the descendants of one top-level window (the window itself when none
/// is found). A window of another program is one window here: only that program sees its
/// controls.
HWND DragHitTestWithin(HWND topLevel, POINT screen);

/// One move of the pointer while `source` (in `window`) is in drag mode.
void DragMove(WindowObject& window, WindowControl& source, const IdentifierList& dragIdentifiers, POINT screen);
/// The button came up over wherever the pointer is: posts EVENT:Drag for the source, carrying
/// the accepting target, and shows the cursor of before the drag again. A target in another
/// program is handed `draggedText` (the dragged row) just before the drop.
void DragRelease(WindowObject& window, WindowControl& source, const IdentifierList& dragIdentifiers,
                 std::string_view draggedText);
/// The drag ended without a release (the source lost the mouse capture): the accepting target
/// hears that the pointer left, and the cursor of before the drag comes back.
void CancelDrag();

}  // namespace vel::windows
