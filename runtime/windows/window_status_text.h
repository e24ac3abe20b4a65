#pragma once
// What a window's status bar says: its first zone shows the message text of the control that
// has the focus or of the menu item under the pointer (the window's default message when they
// have none); procedures set the texts of any zone.

#include <cstdint>
#include <string>
#include <string_view>

#include "win32.h"

namespace vel::windows {

struct WindowObject;
class WindowControl;

/// Shows `control`'s message text in the first zone (null: the focus control's).
void ShowMessageText(WindowObject& window, const WindowControl* control);

/// Follows WM_MENUSELECT: the chosen item's message text, or back to the focus control's when
/// the menu closes.
void ShowMenuMessageText(WindowObject& window, WPARAM wParam, LPARAM lParam);

/// The text of a zone (from 0) of the window's status bar; empty without a bar or zone.
std::string StatusText(const WindowObject& window, std::int32_t zone);
void SetStatusText(WindowObject& window, std::int32_t zone, std::string_view text);

}  // namespace vel::windows
