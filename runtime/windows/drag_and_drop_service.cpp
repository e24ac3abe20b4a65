// The drag-and-drop service of the program's initialiser table (priority 16): the drag cursors
// and the shared "~FILE" identifier live from initialise to terminate.

#include "runtime/services/module_descriptor.h"
#include "runtime/services/service_routines.h"
#include "runtime/windows/drag_state.h"

namespace vel::services {

void DragAndDropService(int call) {
  if (call == kInitialiseCall) {
    windows::StartDragAndDrop();
  } else if (call == kTerminateCall) {
    windows::StopDragAndDrop();
  }
}

}  // namespace vel::services
