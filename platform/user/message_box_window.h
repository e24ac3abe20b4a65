#pragma once
// The message box's window: a dialog of the system dialog class with an icon, the text and a
// row of push buttons, which records the button chosen.

#include <string>
#include <vector>

#include "platform/user/message_box_layout.h"
#include "win32.h"

namespace vel::platform {

/// What one box shows and what it was answered; owned by whoever runs the box and pointed to
/// by the box's window.
struct MessageBoxContent {
  UINT flags = 0;
  std::string text;
  std::vector<MessageBoxButton> buttons;
  HICON icon = nullptr;
  MessageBoxLayout layout;
  /// 0 until a button (or Esc, or the close button) answers the box.
  int answer = 0;
};

/// Creates the box, hidden, centred on `centreOn` (null: the screen) and owned by `owner`
/// (null for none), with its buttons, the default one marked. Null when it cannot be created.
HWND CreateMessageBoxWindow(MessageBoxContent& content, const std::string& caption, HWND owner, HWND centreOn);

/// Shows and activates the box and gives its default button the focus.
void ShowMessageBoxWindow(HWND box, const MessageBoxContent& content);

/// Presses the button whose mnemonic a character message (WM_CHAR, WM_SYSCHAR) for the box or
/// one of its buttons types. True when it named one.
bool PressMessageBoxMnemonic(HWND box, const MSG& msg);

}  // namespace vel::platform
