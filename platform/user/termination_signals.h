#pragma once
// A program ended by its desktop or its terminal (SIGTERM, SIGINT, SIGHUP) closes gracefully:
// every top-level window is sent WM_CLOSE, as when its user closes it, so the program runs its
// closing steps. A second such signal ends the process at once.

namespace vel::platform {

/// Installs the handlers for the signals whose handling is still the default; the window
/// manager does this when it starts.
void InstallTerminationSignals();

/// Posts WM_CLOSE to every top-level window: what a termination signal leads to.
void CloseAllTopLevelWindows();

}  // namespace vel::platform
