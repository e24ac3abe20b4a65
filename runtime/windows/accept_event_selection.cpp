// Event selection: which queued event reaches the procedure next, and its delivery.

#include <algorithm>

#include "runtime/windows/accept_step.h"
#include "runtime/windows/client_layout.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_errors.h"
#include "runtime/windows/window_status_text.h"

namespace vel::windows {
namespace {

WindowObject* WindowOfSlot(int slot) {
  const ThreadSlot* entry = SlotAt(slot);
  return entry != nullptr ? entry->currentWindow : nullptr;
}

// Reports a change of the thread whose window has the focus with LoseFocus and GainFocus.
void ReportFocusChange() {
  int focus = FocusSlot();
  int reported = ReportedFocusSlot();
  if (focus == reported) return;
  SetReportedFocusSlot(focus);
  // The first focus the program gets is where it starts, not a change.
  if (reported == kFocusNotReported) return;
  if (WindowObject* losing = WindowOfSlot(reported)) SendEvent(*losing, EVENT_LoseFocus, nullptr, nullptr);
  if (WindowObject* gaining = WindowOfSlot(focus)) SendEvent(*gaining, EVENT_GainFocus, nullptr, nullptr);
}

// The next control of an accept-all pass: the lowest field number above the one visited last
// among the controls with a USE variable.
WindowControl* NextFieldToValidate(const WindowObject& window) {
  WindowControl* next = nullptr;
  for (const auto& control : window.controls) {
    if (!control->HasUseVariable() || control->FieldNumber() <= window.acceptAllField) continue;
    if (next == nullptr || control->FieldNumber() < next->FieldNumber()) next = control.get();
  }
  return next;
}

// Stops the pass and puts the focus on the field that refused.
void SelectRefusingField(WindowObject& window, WindowControl& control) {
  window.acceptAll = false;
  control.SetSelection(0, -1);
  HWND parent = GetParent(control.Handle());
  if (parent != nullptr) SendMessageA(parent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control.Handle()), TRUE);
}

// The next record to consider: the queue's first, or the next step of an accept-all pass.
std::unique_ptr<EventRecord> TakeRecord(WindowObject& window) {
  if (!window.queue.empty()) {
    std::unique_ptr<EventRecord> record = std::move(window.queue.front());
    window.queue.pop_front();
    return record;
  }
  if (!window.acceptAll) return nullptr;
  WindowControl* control = NextFieldToValidate(window);
  if (control == nullptr) {
    window.acceptAll = false;
    window.acceptAllField = 0;
    PostEvent(window, EVENT_Completed);
    return nullptr;
  }
  window.acceptAllField = control->FieldNumber();
  if (!control->Validate()) {
    SelectRefusingField(window, *control);
    return nullptr;
  }
  return MakeEventRecord(window, EVENT_Accepted, control);
}

bool HandlerMatches(const EventHandler& handler, const EventRecord& record) {
  if (handler.code != record.code || handler.procedure == nullptr) return false;
  if (handler.anyControl) return true;
  if (record.control == nullptr) return handler.field == 0;
  return handler.field == record.control->FieldNumber();
}

// Registered handlers take the event when any matches; returns true when they did.
bool RunHandlers(WindowObject& window, const EventRecord& record) {
  std::vector<EventHandler> matching;
  std::copy_if(window.handlers.begin(), window.handlers.end(), std::back_inserter(matching),
               [&](const EventHandler& handler) { return HandlerMatches(handler, record); });
  if (matching.empty()) return false;
  ThreadSlot* slot = SlotAt(window.threadSlot);
  WindowObject* savedTarget = slot != nullptr ? slot->targetWindow : nullptr;
  if (slot != nullptr) slot->targetWindow = &window;
  for (const EventHandler& handler : matching) {
    if (handler.procedure(handler.context)) break;
  }
  if (slot != nullptr && IsOpenWindow(savedTarget)) slot->targetWindow = savedTarget;
  else if (slot != nullptr) slot->targetWindow = nullptr;
  return true;
}

enum class Delivery { ToProcedure, Consumed, Retry };

// Suspend and Resume when events move from one thread's window to another's. Returns Retry
// when a Resume was queued ahead of the record, which goes back to the front of the queue.
Delivery SwitchThreads(WindowObject& window, std::unique_ptr<EventRecord>& record) {
  // The switch events themselves do not count as a thread receiving an event; otherwise each
  // Suspend would suspend the thread that caused it.
  if (record->code == EVENT_Suspend || record->code == EVENT_Resume) return Delivery::ToProcedure;
  int previous = LastEventSlot();
  if (previous == window.threadSlot) return Delivery::ToProcedure;
  if (WindowObject* suspended = WindowOfSlot(previous); suspended != nullptr && suspended != &window) {
    SendEvent(*suspended, EVENT_Suspend, nullptr, nullptr);
    suspended->suspended = true;
  }
  SetLastEventSlot(window.threadSlot);
  if (!window.suspended) return Delivery::ToProcedure;
  window.suspended = false;
  window.queue.push_front(std::move(record));
  window.queue.push_front(MakeEventRecord(window, EVENT_Resume, nullptr));
  return Delivery::Retry;
}

Delivery Deliver(WindowObject& window, std::unique_ptr<EventRecord>& record) {
  if (RunHandlers(window, *record)) {
    if (record->code == EVENT_CloseWindow) window.closingState = kClosing;
    if (record->answer) record->answer(true);
    return Delivery::Consumed;
  }
  if (Delivery switched = SwitchThreads(window, record); switched != Delivery::ToProcedure) return switched;
  window.currentEvent = std::move(record);
  window.eventWithProcedure = true;
  window.eventRefused = false;
  ClearErrorForNewEvent();
  EventRecord& current = *window.currentEvent;
  if (current.completion) current.completion();
  if (current.code == EVENT_Selected && current.control != nullptr) {
    window.lastSelectedField = WindowObject::FieldOf(current.control);
    ShowMessageText(window, current.control);
    if (current.control->OnSelected()) ScrollControlIntoView(window, *current.control);
  }
  return Delivery::ToProcedure;
}

}  // namespace

bool SelectEvent(WindowObject& window) {
  const ThreadSlot* slot = SlotAt(FindSlotOfCallingThread());
  if (slot == nullptr || slot->currentWindow != &window) return false;
  ReportFocusChange();
  for (;;) {
    std::unique_ptr<EventRecord> record = TakeRecord(window);
    if (!record) return false;
    if (record->code == EVENT_Selected && record->control != window.FocusControl()) continue;
    if (record->code == EVENT_Timer) {
      window.timerPending = false;
      if (!window.timerRunning) continue;
    }
    bool buildEvent = record->code >= EVENT_BuildFile && record->code <= EVENT_BuildDone;
    switch (Deliver(window, record)) {
      case Delivery::ToProcedure: return true;
      case Delivery::Retry: continue;
      case Delivery::Consumed:
        if (buildEvent) return false;
        continue;
    }
  }
}

}  // namespace vel::windows
