#include "runtime/windows/window_object_fields.h"

#include "runtime/services/error_state.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/window_object.h"

namespace vel::windows {

void SelectWindowField(WindowObject& window, std::int32_t field, std::int32_t selectionStart,
                       std::int32_t selectionEnd) {
  if (field == 0) {
    window.acceptAll = true;
    window.acceptAllField = 0;
    PostMessageA(window.handle, WM_NULL, 0, 0);
    return;
  }
  if (window.acceptAll) {
    const WindowControl* current = window.currentEvent ? window.currentEvent->control : nullptr;
    if (WindowObject::FieldOf(current) != field) return;
    window.acceptAll = false;
  }
  WindowControl* control = window.ControlOfField(field);
  if (control == nullptr || control->Handle() == nullptr) return;
  control->SetSelection(selectionStart, selectionEnd);
  HWND target = control->Handle();
  if (!IsWindowEnabled(target)) {
    // A control that cannot take the focus passes it to its first enabled child window.
    for (HWND child = GetWindow(target, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      if (IsWindowEnabled(child)) {
        target = child;
        break;
      }
    }
  }
  HWND parent = GetParent(control->Handle());
  if (parent != nullptr) SendMessageA(parent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
}

void RedisplayFields(WindowObject& window, std::int32_t first, std::int32_t last) {
  services::ErrorStateGuard keepError;
  std::int32_t upper = last < first ? first : last;
  for (const auto& control : window.controls) {
    std::int32_t field = control->FieldNumber();
    if (first == 0 || (field >= first && field <= upper)) control->Redisplay();
  }
}

void Redisplay(std::int32_t first, std::int32_t last) {
  if (WindowObject* window = TargetWindow()) RedisplayFields(*window, first, last);
}

}  // namespace vel::windows
