#pragma once
// A drag from another program sees each of this program's top-level windows as one window: it
// cannot look inside. The top-level window therefore answers for its controls: it hears where
// the pointer is (0x2419), finds the control under it that takes the offered identifier, and
// passes the leave, the drop and the handed-over text on to that control.

#include <optional>

#include "win32.h"

namespace vel::windows {

/// Handles a drag message that reached the top-level window `topLevel` on behalf of one of its
/// controls; empty when the window answers it for itself (HandleDropMessage).
std::optional<LRESULT> RelayDropMessage(HWND topLevel, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vel::windows
