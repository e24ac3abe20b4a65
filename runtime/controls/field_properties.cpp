#include "runtime/controls/control_base.h"
#include "runtime/controls/control_properties.h"
#include "runtime/values/string_stack.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/window_object.h"

namespace vel::controls {
namespace {

ControlBase* ControlOf(windows::WindowObject* window, std::int32_t field) {
  windows::WindowObject* target = window != nullptr ? window : windows::TargetWindow();
  if (!windows::IsOpenWindow(target)) return nullptr;
  return dynamic_cast<ControlBase*>(target->ControlOfField(field));
}

}  // namespace

void GetFieldProperty(windows::WindowObject* window, std::int32_t field, std::int32_t property) {
  if (ControlBase* control = ControlOf(window, field)) {
    control->GetProperty(property);
  } else {
    values::PushEmpty();
  }
}

void SetFieldProperty(windows::WindowObject* window, std::int32_t field, std::int32_t property) {
  if (ControlBase* control = ControlOf(window, field)) {
    control->SetProperty(property);
  } else {
    values::DropTop();
  }
}

}  // namespace vel::controls
