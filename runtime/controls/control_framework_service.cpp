#include "runtime/controls/control_framework_service.h"

#include "runtime/controls/control_brushes.h"
#include "runtime/controls/control_chain.h"
#include "runtime/controls/control_tooltips.h"
#include "runtime/services/module_descriptor.h"
#include "runtime/windows/client_layout.h"
#include "runtime/windows/window_object_controls.h"

namespace vel::controls {

void ControlFrameworkService(int call) {
  if (call == services::kInitialiseCall) {
    windows::SetControlChainBuilder(BuildWindowControls);
    return;
  }
  windows::SetControlChainBuilder(nullptr);
  windows::SetToolbarBuilder(nullptr);
  DestroyTooltipWindows();
  ReleaseControlBrushes();
}

}  // namespace vel::controls
