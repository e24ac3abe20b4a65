// The image support service of the program's initialiser table (priority 150): the brush cache
// is filled at initialise and emptied at terminate.

#include "runtime/images/brush_cache.h"
#include "runtime/services/module_descriptor.h"
#include "runtime/services/service_routines.h"

namespace vel::services {

void ImageSupportService(int call) {
  if (call == kInitialiseCall) {
    images::RuntimeBrushes().FillStartColors();
  } else if (call == kTerminateCall) {
    images::RuntimeBrushes().Clear();
  }
}

}  // namespace vel::services
