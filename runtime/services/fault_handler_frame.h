#pragma once
// Where the program entry installs the handler that turns processor faults into a fault report,
// and where the exit sequence removes it again. The fault reporter fills the hooks.

#include <functional>

namespace vel::services {

/// What the fault reporter does when the entry installs its frame and when the exit sequence
/// removes it.
struct FaultHandlerHooks {
  std::function<void()> install;
  std::function<void()> uninstall;
};

/// Sets the hooks; empty hooks make installing and removing do nothing but track the frame.
void SetFaultHandlerHooks(FaultHandlerHooks hooks);

/// Whether hooks are set (a test or an embedding program may set its own before the program
/// entry connects the fault reporter).
bool HasFaultHandlerHooks();

/// Installs the frame on the calling thread (runs the install hook). A second install while
/// the frame is in place does nothing.
void InstallFaultHandlerFrame();

/// Removes the frame (runs the uninstall hook) when it is in place and was installed by the
/// calling thread, whose handler chain it belongs to; otherwise does nothing.
void UnlinkFaultHandlerFrame();

/// Whether the frame is in place.
bool FaultHandlerFrameInstalled();

}  // namespace vel::services
