#include "runtime/windows/accept_step.h"

#include "runtime/windows/event_codes.h"
#include "runtime/windows/key_codes.h"
#include "runtime/windows/pre_translation.h"
#include "runtime/windows/press_queue.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_runtime.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_menu_bar.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_errors.h"
#include "runtime/windows/window_timers.h"

namespace vel::windows {
namespace {

std::function<bool(MSG&)> g_messageFilter;
std::function<void()> g_idleRoutine;

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
    // Only the windows this one disables come back when it closes: one an outer modal window
    // disabled stays disabled until that window closes.
    window.disabledForModal.clear();
    for (WindowObject* other : OpenWindows()) {
      if (other == &window || other->handle == nullptr || !IsWindowEnabled(other->handle)) continue;
      EnableWindow(other->handle, FALSE);
      window.disabledForModal.push_back(other->handle);
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

// Menu items bound to variables show the variables' present values.
void RefreshMenuState(WindowObject& window) {
  if (window.menuBar == nullptr) return;
  for (const auto& item : window.menuBar->items) item->Redisplay();
}

// Keys a procedure PRESSed are replayed one at a time, each once the input before it has been
// taken, so a key that moves the focus sends the next one to the new focus window.
bool ReplayPressedKeyWhenIdle() {
  MSG pending{};
  if (PeekMessageA(&pending, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE)) return false;
  return ReplayNextPressedKey();
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
  if (message.hwnd == nullptr && slot == 0 && g_idleRoutine) g_idleRoutine();
  RecordMessageKey(message, slot);
  if (PreTranslateWindowMessage(window, message)) return;
  if (g_messageFilter && g_messageFilter(message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

}  // namespace

void SetAcceptMessageFilter(std::function<bool(MSG&)> filter) { g_messageFilter = std::move(filter); }

void SetAcceptIdleRoutine(std::function<void()> routine) { g_idleRoutine = std::move(routine); }

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
  RefreshMenuState(*window);
  ShowFirstTime(*window);
  while (window->handle != nullptr && IsWindow(window->handle)) {
    if (SelectEvent(*window)) return true;
    if (window->closingState == kClosing) return false;
    if (ReplayPressedKeyWhenIdle()) continue;
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
