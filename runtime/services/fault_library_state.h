#pragma once
// The fault report's last block: the runtime's view of the faulting thread's current window
// (its event and fields) and the error state. The window manager, which sits above the services,
// supplies the window's part through a source it installs.

#include <cstdint>

#include "runtime/services/error_state.h"
#include "win32.h"
#include "win32/debugging.h"

namespace vel::services {

/// A field number and the name its control carries in the window definition (null: none).
struct FaultFieldValue {
  std::int32_t number = 0;
  const char* name = nullptr;
};

/// What the window manager knows at the moment of the fault; all 0 without a current window.
struct FaultLibraryState {
  /// The current event's internal number (0x1400 plus the event code); 0 with no event.
  std::uint32_t event = 0;
  FaultFieldValue field;
  FaultFieldValue focus;
  FaultFieldValue accepted;
  FaultFieldValue firstField;
  FaultFieldValue lastField;
};

/// Fills the state for the calling thread. It runs inside the fault handler: it must not
/// allocate or wait for a lock, and may only read.
using FaultLibraryStateSource = void (*)(FaultLibraryState& state);

/// Installs the source; null removes it (the state then reads all 0).
void SetFaultLibraryStateSource(FaultLibraryStateSource source);

/// The state from the installed source.
FaultLibraryState GatherFaultLibraryState();

/// "Library State:" and its eight lines: the event by its name, the fields, the error code and
/// the error text cut to 59 characters.
void WriteLibraryStateBlock(HFILE file, const FaultLibraryState& state, const ErrorState& error);

}  // namespace vel::services
