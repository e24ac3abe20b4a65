#include "runtime/controls/control_dispatcher.h"

#include "runtime/controls/common_control_handler.h"
#include "runtime/controls/windowed_control.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/runtime_lock.h"

namespace vel::controls {
namespace {

LRESULT PassOn(const ControlClassDescriptor& descriptor, HWND window, UINT message, WPARAM wParam,
               LPARAM lParam) {
  if (message >= windows::kPrivateMessageBase) return 0;
  if (descriptor.baseProcedure != nullptr)
    return CallWindowProcA(descriptor.baseProcedure, window, message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

WindowedControl* ControlInWindow(const ControlClassDescriptor& descriptor, HWND window) {
  return reinterpret_cast<WindowedControl*>(GetWindowLongPtrA(window, descriptor.objectOffset));
}

void DetachControlObject(const ControlClassDescriptor& descriptor, HWND window) {
  SetWindowLongPtrA(window, descriptor.objectOffset, 0);
}

LRESULT DispatchControlMessage(const ControlClassDescriptor& descriptor, HWND window, UINT message,
                               WPARAM wParam, LPARAM lParam) {
  WindowedControl* control = nullptr;
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    control = creation != nullptr ? static_cast<WindowedControl*>(creation->lpCreateParams) : nullptr;
    if (control != nullptr) {
      SetWindowLongPtrA(window, descriptor.objectOffset, reinterpret_cast<LONG_PTR>(control));
      control->AttachWindow(window);
    }
  } else {
    control = ControlInWindow(descriptor, window);
  }
  if (control == nullptr) return PassOn(descriptor, window, message, wParam, lParam);

  windows::WindowProcedureLock lock;
  bool passOn = true;
  LRESULT result = control->HandleMessage(message, wParam, lParam, passOn);
  result = CommonControlHandler(*control, message, wParam, lParam, result, passOn);
  if (passOn && message < windows::kPrivateMessageBase)
    result = PassOn(descriptor, window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    DetachControlObject(descriptor, window);
    if (control->Handle() == window) control->AttachWindow(nullptr);
  }
  return result;
}

}  // namespace vel::controls
