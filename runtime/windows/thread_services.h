#pragma once
// The window manager's module routines, as the program's initialiser table lists them (each
// takes kInitialiseCall or kTerminateCall), and the shutdown steps they install.

namespace vel::windows {

/// The list of open windows: installs the shutdown step that closes the windows still open, and
/// the source of the fault report's library state.
void OpenWindowListService(int call);

/// The thread table: the program's first thread takes slot 0; installs the shutdown step that
/// waits for the runtime's other threads. Terminate empties the table.
void ThreadTableService(int call);

/// The runtime lock: the first thread takes it at initialise and gives it up at terminate.
void RuntimeLockService(int call);

/// The shutdown step for open windows: closes the calling thread's windows, newest first, and
/// asks the windows of other threads to close with EVENT:CloseWindow.
void CloseOpenWindowsAtShutdown();

}  // namespace vel::windows
