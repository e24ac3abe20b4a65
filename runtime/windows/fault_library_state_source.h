#pragma once
// The window manager's part of the fault report's library state: the faulting thread's current
// window, its current event and its fields.

#include "runtime/services/fault_library_state.h"

namespace vel::windows {

/// Fills the state from the calling thread's current window. It runs inside the fault handler,
/// so it only reads: no lock, no allocation, no call into the platform. Controls carry no names
/// of their own (the window definitions give none), so every field is shown by number.
void FillFaultLibraryState(services::FaultLibraryState& state);

}  // namespace vel::windows
