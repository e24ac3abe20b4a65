#include "runtime/windows/accept_step.h"

#include "runtime/windows/event_codes.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_runtime.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_errors.h"
#include "runtime/windows/window_timers.h"

namespace vel::windows {
namespace {

AcceptHooks g_hooks;

WindowObject* CallingThreadWindow() {
  const ThreadSlot* slot = SlotAt(FindSlotOfCallingThread());
  return slot != nullptr ? slot->currentWindow : nullptr;
}

// The procedure is back from the event it was given: carry out what its answer decides.
void FinishEventWithProcedure(WindowObject& window) {
  if (!window.eventWithProcedure) return;
  window.eventWithProcedure = false;
  bool taken = !window.eventRefused;
  window.eventRefused = false;
  EventRecord* current = window.currentEvent.get();
  if (current == nullptr) return;
  if (current->code == EVENT_CloseWindow && taken) window.closingState = kClosing;
  if (current->answer) {
    auto answer = std::move(current->answer);
    current->answer = nullptr;
    answer(taken);
  }
}

void ShowFirstTime(WindowObject& window) {
  if (window.shown || window.handle == nullptr) return;
  window.shown = true;
  int show = SW_SHOWNORMAL;
  if (window.attributes & kAttrMinimised) show = SW_SHOWMINIMIZED;
  else if (window.attributes & kAttrMaximised) show = SW_SHOWMAXIMIZED;
  if (window.modal) {
    for (WindowObject* other : OpenWindows()) {
      if (other != &window && other->handle != nullptr) EnableWindow(other->handle, FALSE);
    }
  }
  ShowWindow(window.handle, show);
  BringWindowToTop(window.handle);
  UpdateWindow(window.handle);
  window.wasIconic = IsIconic(window.handle) != FALSE;
  window.wasZoomed = IsZoomed(window.handle) != FALSE;
}

// Waits for the next message with the runtime lock released and the thread context saved.
bool WaitForMessage(MSG& message) {
  ThreadContext context = SaveThreadContext();
  ReleaseRuntimeLock();
  BOOL got = GetMessageA(&message, nullptr, 0, 0);
  AcquireRuntimeLock();
  // The slot that last received an event is not put back: other threads may have received
  // events during the wait, and restoring it would hide that from Suspend and Resume.
  context.lastEventSlot = LastEventSlot();
  RestoreThreadContext(context);
  SwitchToSlot(FindSlotOfCallingThread());
  return got > 0;
}

void HandleMessage(WindowObject& window, MSG& message) {
  int slot = FindSlotOfCallingThread();
  if (message.message == kBringToTopMessage) {
    if (WindowObject* current = CallingThreadWindow(); current != nullptr && current->handle != nullptr) {
      BringWindowToTop(current->handle);
    }
    return;
  }
  if (TakeIdleTimerMessage(window, message)) return;
  if (message.hwnd == nullptr && slot == 0 && g_hooks.idleRoutine) g_hooks.idleRoutine();
  if (g_hooks.recordKey) g_hooks.recordKey(message);
  if (g_hooks.preTranslate && g_hooks.preTranslate(window, message)) return;
  if (g_hooks.messageFilter && g_hooks.messageFilter(message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

}  // namespace

void SetAcceptHooks(AcceptHooks hooks) { g_hooks = std::move(hooks); }

void RefuseCurrentEvent() {
  WindowObject* window = CallingThreadWindow();
  if (window != nullptr && window->eventWithProcedure) window->eventRefused = true;
}

bool AcceptStep() {
  if (FindSlotOfCallingThread() < 0 && EnterRuntimeThread() < 0) return false;
  WindowObject* window = CallingThreadWindow();
  if (window == nullptr) {
    ReportWindowError(kErrorAcceptNeedsWindow);
    return false;
  }
  FinishEventWithProcedure(*window);
  ShowFirstTime(*window);
  while (window->handle != nullptr && IsWindow(window->handle)) {
    if (SelectEvent(*window)) return true;
    if (window->closingState == kClosing) return false;
    MSG message{};
    if (!WaitForMessage(message)) {
      // A quit message ends the loop the way an accepted CloseWindow does.
      window->closingState = kClosing;
      continue;
    }
    HandleMessage(*window, message);
  }
  return false;
}

}  // namespace vel::windows
