#pragma once
// Keyboard and mouse state: the physical state the input path keeps as input arrives, and each
// thread's view of it, which changes as the thread takes input messages from its queue.

#include <string>
#include <vector>

#include "platform/user/message_queue.h"
#include "win32.h"

namespace vel::platform {

/// Updates a thread's key state for an input message it takes from its queue.
void ApplyInputToKeyState(MessageQueue& queue, const MSG& msg);

/// The physical state of a key: bit 0x80 down, bit 0x01 toggled.
BYTE AsyncKeyState(BYTE virtualKey);

/// Where the mouse is, in screen coordinates.
POINT CursorPosition();

/// Files dropped on a window: what a WM_DROPFILES handle stands for until DragFinish.
struct DroppedFiles {
  POINT point{};
  bool inNonClientArea = false;
  std::vector<std::string> paths;
};

/// The files of a drop handle (null when the handle names none). The record stays valid until
/// ReleaseDroppedFiles.
const DroppedFiles* FindDroppedFiles(HDROP drop);
void ReleaseDroppedFiles(HDROP drop);

}  // namespace vel::platform
