#pragma once
// The program's one drag state: where a drag started, which window the pointer is over, which
// target accepted which identifier, and what was dropped. Closing a window or destroying a
// control that the state names resets it.

#include <string_view>

#include "runtime/windows/shared_text.h"
#include "win32.h"

namespace vel::windows {

struct WindowObject;
class WindowControl;

struct DragState {
  /// Where the drag started.
  WindowObject* sourceWindow = nullptr;
  WindowControl* sourceControl = nullptr;
  /// The window under the pointer at the last move.
  HWND hitWindow = nullptr;
  /// The window that accepted one of the source's identifiers, or null.
  HWND acceptingTarget = nullptr;
  /// The identifier that matched, or none.
  SharedText matchedIdentifier;
  /// The target that answered a query or received files (a null control: the window itself).
  WindowObject* dropWindow = nullptr;
  WindowControl* dropControl = nullptr;
  /// The target window when it belongs to another program, else null.
  HWND otherProgramWindow = nullptr;
  /// File names, or text another program handed over; none otherwise.
  SharedText droppedText;
};

/// The program's drag state.
DragState& CurrentDragState();

/// Forgets everything: the state is idle again.
void ResetDragState();

/// A window that closes: when it is the source or the drop target, the state is reset.
void ForgetDragWindow(const WindowObject& window);
/// A control that goes: when it is the source or the drop target control, the state is reset.
void ForgetDragControl(const WindowControl& control);

/// The identifier the last drop matched ("~FILE" for files), or empty.
std::string_view MatchedIdentifier();
/// What the last drop carried: the file names joined by "," or the text another program
/// handed over; otherwise the matched identifier.
std::string_view DroppedText();

/// Procedure functions after EVENT:Drop: push MatchedIdentifier() and DroppedText() onto the
/// string stack.
void DRAGID();
void DROPID();

/// The cursors a drag shows over a window that takes one of its identifiers and over one that
/// does not: the program's cursor resources 32513 and 32514, or the system's arrow and "no"
/// cursors when the program has none. Loaded when the drag-and-drop service starts.
HCURSOR DropPossibleCursor();
HCURSOR NoDropCursor();

/// The drag-and-drop service: loads the cursors and makes "~FILE" a shared text at
/// initialise; resets the state and destroys the cursors at terminate.
void StartDragAndDrop();
void StopDragAndDrop();

}  // namespace vel::windows
