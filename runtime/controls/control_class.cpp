#include "runtime/controls/control_class.h"

#include "runtime/services/error_report.h"
#include "runtime/windows/window_object_open.h"

namespace vel::controls {

void RegisterControlClass(ControlClassDescriptor& descriptor, WNDPROC procedure) {
  if (descriptor.registered) return;
  WNDCLASSA windowClass{};
  if (descriptor.baseClassName != nullptr) {
    if (!GetClassInfoA(nullptr, descriptor.baseClassName, &windowClass)) {
      services::ReportRuntimeError(kErrorControlClass, kControlModule);
      return;
    }
    descriptor.baseProcedure = windowClass.lpfnWndProc;
  }
  descriptor.objectOffset = windowClass.cbWndExtra;
  windowClass.cbWndExtra += static_cast<int>(sizeof(void*));
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = windows::WindowInstance();
  windowClass.hbrBackground = nullptr;
  windowClass.style |= descriptor.extraStyle;
  windowClass.lpszClassName = descriptor.className;
  windowClass.lpszMenuName = nullptr;
  if (RegisterClassA(&windowClass) == 0) {
    // A class of this name registered before (by a caller that went away without its
    // descriptor knowing) is as good as our own only if it is ours: anything else is an error.
    WNDCLASSA existing{};
    if (!GetClassInfoA(windows::WindowInstance(), descriptor.className, &existing) ||
        existing.lpfnWndProc != procedure) {
      services::ReportRuntimeError(kErrorControlClass, kControlModule);
      return;
    }
  }
  descriptor.registered = true;
}

}  // namespace vel::controls
