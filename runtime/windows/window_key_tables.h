#pragma once
// The key tables of a window: its alert keys (from its definition) and the hot keys of its
// controls ("&" in a button's or prompt's text; Alt with that letter commands the control).

#include <cstdint>

namespace vel::windows {

struct WindowObject;
class KeyTable;

/// Makes the window's hot-key table again from its controls' texts, as after a control's
/// text, state or visibility changed.
void RebuildHotKeys(WindowObject& window);

/// Looks `keyCode` up in a command table of control keys (the window's hot keys, or a
/// toolbar's): a key whose control is enabled and shown commands it through the window
/// (WM_COMMAND with the entry's identifier) and answers true; otherwise false.
bool CommandControlByKey(WindowObject& window, const KeyTable& table, std::int32_t keyCode);

/// True when `keyCode` is an alert key of the window or of the control that has the focus.
bool IsAlertKey(const WindowObject& window, std::int32_t keyCode);

}  // namespace vel::windows
