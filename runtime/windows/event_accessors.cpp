#include "runtime/windows/event_accessors.h"

#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/thread_runtime.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_fields.h"

namespace vel::windows {
namespace {

ThreadSlot* CallingSlot() { return SlotAt(FindSlotOfCallingThread()); }

WindowObject* CurrentWindow() {
  const ThreadSlot* slot = CallingSlot();
  return slot != nullptr && IsOpenWindow(slot->currentWindow) ? slot->currentWindow : nullptr;
}

const EventRecord* CurrentEvent() {
  const WindowObject* window = CurrentWindow();
  return window != nullptr ? window->currentEvent.get() : nullptr;
}

}  // namespace

std::int32_t EventNumber() {
  const EventRecord* event = CurrentEvent();
  return event != nullptr ? event->code - kEventBase : 0;
}

std::int32_t EventField() {
  const EventRecord* event = CurrentEvent();
  return event != nullptr ? WindowObject::FieldOf(event->control) : 0;
}

std::int32_t AcceptedField() {
  const EventRecord* event = CurrentEvent();
  return event != nullptr && event->code == EVENT_Accepted ? WindowObject::FieldOf(event->control) : 0;
}

std::int32_t SelectedField() {
  const WindowObject* window = CurrentWindow();
  return window != nullptr ? window->lastSelectedField : 0;
}

std::int32_t KeyCode() {
  if (const EventRecord* event = CurrentEvent()) return event->keyCode & kKeyCodeMask;
  const ThreadSlot* slot = CallingSlot();
  return slot != nullptr ? slot->lastKeyCode & kKeyCodeMask : 0;
}

void SetKeyCode(std::int32_t keyCode) {
  ThreadSlot* slot = CallingSlot();
  if (slot != nullptr) slot->lastKeyCode = (slot->lastKeyCode & ~kKeyCodeMask) | (keyCode & kKeyCodeMask);
  WindowObject* window = CurrentWindow();
  if (window != nullptr && window->currentEvent) {
    EventRecord& event = *window->currentEvent;
    event.keyCode = (event.keyCode & ~kKeyCodeMask) | (keyCode & kKeyCodeMask);
  }
}

void SelectField(std::int32_t field, std::int32_t selectionStart, std::int32_t selectionEnd) {
  if (WindowObject* window = TargetWindow()) SelectWindowField(*window, field, selectionStart, selectionEnd);
}

void PostEvent(std::int32_t eventNumber, std::int32_t field, std::int32_t thread) {
  int slot = thread == 0 ? FindSlotOfCallingThread() : thread - 1;
  const ThreadSlot* entry = SlotAt(slot);
  if (entry == nullptr || entry->threadId.load() == 0) return;
  WindowObject* window = entry->currentWindow;
  if (!IsOpenWindow(window)) return;
  WindowControl* control = window->ControlOfField(field);
  PostEvent(*window, eventNumber + kEventBase, control);
  ContinueThread(*window);
}

void SetTargetWindow(WindowObject* window, std::int32_t thread) {
  ThreadSlot* slot = CallingSlot();
  if (slot == nullptr) return;
  if (window == nullptr && thread >= 1 && thread <= kThreadSlotCount) {
    const ThreadSlot* other = SlotAt(thread - 1);
    slot->targetWindow = other != nullptr && IsOpenWindow(other->currentWindow) ? other->currentWindow : nullptr;
    return;
  }
  slot->targetWindow = IsOpenWindow(window) ? window : nullptr;
}

WindowObject* TargetWindow() {
  const ThreadSlot* slot = CallingSlot();
  if (slot == nullptr) return nullptr;
  if (IsOpenWindow(slot->targetWindow)) return slot->targetWindow;
  return CurrentWindow();
}

}  // namespace vel::windows
