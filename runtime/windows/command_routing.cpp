#include "runtime/windows/command_routing.h"

#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/window_object.h"

namespace vel::windows {
namespace {

// The notification code of the accelerator form (a key chose the command).
constexpr WORD kAcceleratorNotification = 1;

}  // namespace

void RouteWindowCommand(WindowObject& window, WPARAM wParam, LPARAM lParam) {
  auto identifier = static_cast<std::int32_t>(LOWORD(wParam));
  WORD notification = HIWORD(wParam);
  auto source = reinterpret_cast<HWND>(lParam);
  if (identifier == 0) {
    if (source != nullptr) return;
    WindowControl* focus = window.FocusControl();
    PostEvent(window, EVENT_AlertKey, focus != nullptr && focus->IsField() ? focus : nullptr);
    return;
  }
  if (identifier <= kCommandIdentifierBase) return;
  WindowControl* target = window.ControlOfField(identifier - kCommandIdentifierBase);
  if (target == nullptr) return;
  // A key stands for a click on the control it commands.
  if (notification == kAcceleratorNotification && source == nullptr) notification = 0;
  target->Command(notification, source);
}

}  // namespace vel::windows
