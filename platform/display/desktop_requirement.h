#pragma once
// For programs that are of no use unseen, such as a search window: the desktop or nothing.

namespace vel::platform {

/// Chooses the process's display now, and when no desktop can be had and VELMORA_DISPLAY did
/// not ask for the headless display, ends the process with exit status 1 after one line on
/// standard error that starts with `programName` and says why, instead of falling back to the
/// headless display. Call before any window exists.
void RequireDesktopDisplay(const char* programName);

}  // namespace vel::platform
