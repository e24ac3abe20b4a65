// The drag-and-drop service of the program's initialiser table (priority 16): the drag cursors
// and the shared "~FILE" identifier live from initialise to terminate.

#include "runtime/services/module_descriptor.h"
#include "runtime/services/service_routines.h"
#include "runtime/services/trace_log.h"
#include "runtime/windows/drag_state.h"

namespace vel::services {

void DragAndDropService(int call) {
  if (call == kInitialiseCall) {
    windows::StartDragAndDrop();
    // Said once, when the program starts, rather than at every drag that could have crossed.
    if ((GetSystemMetrics(SM_NETWORK) & 1) == 0) {
      WriteTraceLine("Drag and drop: no message bus to other programs; drags stay within this program\r\n");
    }
  } else if (call == kTerminateCall) {
    windows::StopDragAndDrop();
  }
}

}  // namespace vel::services
