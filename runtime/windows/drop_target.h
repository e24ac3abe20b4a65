#pragma once
// The target side of drag and drop, shared by controls and windows: answering whether a drop
// identifier is taken, the drop itself, text handed over by another program and files dropped
// from the desktop's file manager.

#include <optional>

#include "win32.h"

namespace vel::windows {

struct WindowObject;
class WindowControl;
class IdentifierList;

/// What holds drop identifiers: a control of a window, or the window itself.
struct DropHolder {
  WindowObject* window = nullptr;
  /// Null when the holder is the window.
  WindowControl* control = nullptr;
  const IdentifierList* identifiers = nullptr;
};

/// Answers the drag-and-drop messages (0x2417, 0x2418, 0x241A and WM_DROPFILES) for `holder`;
/// empty for any other message. 0x2419 is answered 0 here: a list that scrolls under a drag
/// takes it first.
std::optional<LRESULT> HandleDropMessage(const DropHolder& holder, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vel::windows
