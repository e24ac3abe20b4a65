#include "runtime/windows/thread_services.h"

#include <vector>

#include "runtime/services/module_descriptor.h"
#include "runtime/services/shutdown_step.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/fault_library_state_source.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_runtime.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_close.h"

namespace vel::windows {

void CloseOpenWindowsAtShutdown() {
  int own = FindSlotOfCallingThread();
  // Closing a window changes the list, so the walk goes over a copy, newest first so that a
  // window closes before the window that opened it.
  std::vector<WindowObject*> windows = OpenWindows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    WindowObject* window = *it;
    if (!IsOpenWindow(window)) continue;
    if (window->threadSlot == own) {
      ReleaseWindow(*window);
    } else {
      // Only its own thread may destroy a window; that thread's ACCEPT loop ends on the event.
      PostEvent(*window, EVENT_CloseWindow);
      ContinueThread(*window);
    }
  }
}

void OpenWindowListService(int call) {
  if (call == services::kInitialiseCall) {
    services::SetShutdownHook(services::ShutdownHook::CloseOpenWindows, CloseOpenWindowsAtShutdown);
    services::SetFaultLibraryStateSource(FillFaultLibraryState);
  } else {
    services::SetShutdownHook(services::ShutdownHook::CloseOpenWindows, nullptr);
    services::SetFaultLibraryStateSource(nullptr);
  }
}

void ThreadTableService(int call) {
  if (call == services::kInitialiseCall) {
    ClaimSlotForCallingThread();
    services::SetShutdownHook(services::ShutdownHook::StopOtherThreads, WaitForOtherThreads);
  } else {
    services::SetShutdownHook(services::ShutdownHook::StopOtherThreads, nullptr);
    ResetThreadTable();
  }
}

void RuntimeLockService(int call) {
  if (call == services::kInitialiseCall) {
    EnterRuntimeThread();
  } else {
    ReleaseRuntimeLock();
  }
}

}  // namespace vel::windows
