#pragma once
// The runtime running flag: set from load until the shutdown step. While it is set a runtime
// error ends the program and posted events are delivered.

namespace vel::services {

/// Whether the runtime is running (true from load until the shutdown step clears it).
bool RuntimeRunning();

/// Sets or clears the flag; the shutdown step clears it.
void SetRuntimeRunning(bool running);

}  // namespace vel::services
