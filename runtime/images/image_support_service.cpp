// The image support service of the program's initialiser table (priority 150): the brush cache
// is filled at initialise and emptied at terminate, and follows the system colours meanwhile.

#include "runtime/images/brush_cache.h"
#include "runtime/services/module_descriptor.h"
#include "runtime/services/service_routines.h"
#include "runtime/windows/window_object_procedure.h"

namespace vel::services {

void ImageSupportService(int call) {
  if (call == kInitialiseCall) {
    images::RuntimeBrushes().FillStartColors();
    windows::SetSystemColorChangeHook([] { images::RuntimeBrushes().SystemColorsChanged(); });
  } else if (call == kTerminateCall) {
    windows::SetSystemColorChangeHook(nullptr);
    images::RuntimeBrushes().Clear();
  }
}

}  // namespace vel::services
