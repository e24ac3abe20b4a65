#pragma once
// Errors the X server reports about this program's requests. Xlib's own handler ends the
// process on the first one; but a request can name a window this program has just destroyed
// (one of the desktop library's own requests racing a popup's destruction), and that must not
// end the program and lose the user's work.

namespace vel::platform {

/// When the desktop runs on X11, reports X errors on standard error (the first few) and
/// carries on instead of ending the process. Does nothing on other desktops.
void KeepRunningOnX11Errors(const char* videoDriver);

/// How many X errors were reported since start (tests).
int X11ErrorCount();

}  // namespace vel::platform
