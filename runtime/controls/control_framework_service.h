#pragma once
// The control framework's module routine, in the program's initialiser table.

namespace vel::controls {

/// At initialise, the window manager builds windows' controls through the framework from then
/// on; at terminate it no longer does, and the tooltip windows and cached brushes go.
void ControlFrameworkService(int call);

}  // namespace vel::controls
