#pragma once
// Creating and destroying windows.

#include "win32.h"

namespace vel::platform {

/// Takes the windows of an ending thread out of the tree without messages: the thread cannot
/// run their procedures any more.
void DiscardWindowsOfThread(DWORD threadId);

}  // namespace vel::platform
