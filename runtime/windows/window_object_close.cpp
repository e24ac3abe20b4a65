#include "runtime/windows/window_object_close.h"

#include <algorithm>

#include "runtime/windows/drag_state.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/status_bar.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_font.h"
#include "runtime/windows/window_menu_bar.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_errors.h"
#include "runtime/windows/window_object_open.h"
#include "runtime/windows/window_timers.h"

namespace vel::windows {
namespace {

WindowReleaseObserver g_releaseObserver = nullptr;

// Gives back what the window disabled when it was shown, and nothing else: while an outer
// modal window is open, the windows it disabled stay disabled.
void EndModality(WindowObject& window) {
  if (!window.modal) return;
  window.modal = false;
  ReleaseModalWindow();
  for (HWND disabled : window.disabledForModal) {
    if (IsWindow(disabled)) EnableWindow(disabled, TRUE);
  }
  window.disabledForModal.clear();
}

void ForgetInThreadTable(WindowObject& window) {
  for (int slot = 0; slot < kThreadSlotCount; ++slot) {
    ThreadSlot* entry = SlotAt(slot);
    if (entry->currentWindow == &window) {
      entry->currentWindow = IsOpenWindow(window.opener) ? window.opener : nullptr;
    }
    if (entry->targetWindow == &window) entry->targetWindow = nullptr;
  }
}

}  // namespace

void CloseWindow(WindowObject* reference) {
  WindowObject* window = reference;
  if (window == nullptr) {
    const ThreadSlot* slot = SlotAt(FindSlotOfCallingThread());
    window = slot != nullptr ? slot->currentWindow : nullptr;
  }
  if (!IsOpenWindow(window)) {
    ReportWindowError(kErrorWindowNotOpen);
    return;
  }
  ReleaseWindow(*window);
}

void SetWindowReleaseObserver(WindowReleaseObserver observer) { g_releaseObserver = observer; }

void ReleaseWindow(WindowObject& window) {
  HWND handle = window.handle;
  if (handle != nullptr && IsWindow(handle)) {
    ShowWindow(handle, SW_HIDE);
    SetMenu(handle, nullptr);
    DiscardPendingPostedRecords(window);
    EndModality(window);
    if (window.opener != nullptr && IsOpenWindow(window.opener) && window.opener->handle != nullptr) {
      SetActiveWindow(window.opener->handle);
    }
    StopWindowTimers(window);
  }
  EndModality(window);
  ForgetDragWindow(window);
  std::erase(OpenWindows(), &window);
  ForgetInThreadTable(window);
  if (handle != nullptr && IsWindow(handle)) DestroyWindow(handle);
  window.controls.clear();
  window.dropIdentifiers.Clear();
  window.lastFocusWindow = nullptr;
  // The controls that used the window font are gone with their windows.
  ReleaseWindowFont(window);
  window.toolbar = nullptr;
  window.toolbarControl = nullptr;
  window.statusBar.reset();
  window.menuBar.reset();
  if (!window.className.empty()) UnregisterClassA(window.className.c_str(), WindowInstance());
  window.className.clear();
  // The class is gone, so nothing refers to its icon and cursor any more.
  ReleaseWindowIcons(window);
  window.handle = nullptr;
  window.client = nullptr;
  window.queue.clear();
  window.currentEvent.reset();
  // Told after the events are gone, so that what they answer goes out before the end.
  if (g_releaseObserver != nullptr && handle != nullptr) g_releaseObserver(handle);
  window.eventWithProcedure = false;
  window.timerRunning = false;
  window.idleEvent = 0;
  window.idleInterval = 0;
  window.shown = false;
  window.opened = false;
  window.handlers.clear();
  window.opener = nullptr;
}

}  // namespace vel::windows
