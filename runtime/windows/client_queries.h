#pragma once
// What the client window answers for its controls: their focus notifications, the queries for
// the window object, and their colours while the platform paints them.

#include <optional>

#include "win32.h"

namespace vel::windows {

struct WindowObject;

/// Handles a control's query or colour message that reached the client window of `window`:
/// - QUERY_SELECTED (wParam the control's window): posts EVENT:Selected for that control;
/// - QUERY_LOSEFOCUS: gives the focus back to the control window that had it last;
/// - QUERY_PSCREEN: answers the window object;
/// - WM_ERASEBKGND: fills the client area with the window's background colour;
/// - WM_CTLCOLORMSGBOX to WM_CTLCOLORSTATIC (lParam the painting window): asks the control
///   that is or holds that window for its brush with QUERY_COLOR; without a brush the message
///   goes on to the default handling.
/// Empty for every other message, and where the default handling must answer.
std::optional<LRESULT> HandleClientQuery(WindowObject& window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vel::windows
