#include "runtime/windows/fault_library_state_source.h"

#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_record.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_controls.h"

namespace vel::windows {

void FillFaultLibraryState(services::FaultLibraryState& state) {
  const ThreadSlot* slot = SlotAt(FindSlotOfCallingThread());
  if (slot == nullptr || !IsOpenWindow(slot->currentWindow)) return;
  const WindowObject& window = *slot->currentWindow;
  if (const EventRecord* event = window.currentEvent.get()) {
    state.event = static_cast<std::uint32_t>(event->code);
    state.field.number = WindowObject::FieldOf(event->control);
    if (event->code == EVENT_Accepted) state.accepted.number = state.field.number;
    // The focus as the event saw it: asking the platform now could wait for its locks.
    state.focus.number = WindowObject::FieldOf(event->focusControl);
  } else {
    state.focus.number = window.lastSelectedField;
  }
  bool any = false;
  for (const auto& control : window.controls) {
    if (!control->IsField()) continue;
    const std::int32_t number = control->FieldNumber();
    if (!any || number < state.firstField.number) state.firstField.number = number;
    if (!any || number > state.lastField.number) state.lastField.number = number;
    any = true;
  }
}

}  // namespace vel::windows
