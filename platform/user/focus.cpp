#include "platform/user/focus.h"

#include <mutex>

#include "platform/display/display_backend.h"
#include "platform/user/win32_errors.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

// Guarded by the tree lock, since every question about these windows is also one about the tree.
InputWindows g_state;

Window* Live(HWND handle) {
  Window* window = LookupWindow(handle);
  return window == &Desktop() ? nullptr : window;
}

// The window if it still exists and belongs to the calling thread: the Get* functions answer
// only about the caller's own windows.
HWND IfCallers(HWND handle) {
  TreeLock lock;
  Window* window = Live(handle);
  return window != nullptr && window->threadId == CurrentThreadId() ? window->handle : nullptr;
}

void SendActivateApp(bool active, DWORD otherThread) {
  std::vector<HWND> windows;
  {
    TreeLock lock;
    windows = TopLevelWindows();
  }
  for (HWND window : windows) SendMessageA(window, WM_ACTIVATEAPP, active ? TRUE : FALSE, otherThread);
}

}  // namespace

InputWindows CurrentInputWindows() {
  TreeLock lock;
  if (Live(g_state.focus) == nullptr) g_state.focus = nullptr;
  if (Live(g_state.active) == nullptr) g_state.active = nullptr;
  if (Live(g_state.capture) == nullptr) g_state.capture = nullptr;
  return g_state;
}

HWND ActivateWindow(HWND window, bool byMouse) {
  HWND previous = nullptr;
  {
    TreeLock lock;
    if (window != nullptr) {
      Window* record = Live(window);
      if (record == nullptr) return nullptr;
      window = TopLevelOf(record)->handle;
    }
    previous = Live(g_state.active) != nullptr ? g_state.active : nullptr;
    if (previous == window) return previous;
  }
  bool onTop = true;
  {
    TreeLock lock;
    Window* record = Live(window);
    onTop = record == nullptr || (!Desktop().children.empty() && Desktop().children.front() == record);
  }
  if (!onTop) {
    // The window comes to the top of the z-order first.
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (previous != nullptr) {
    SendMessageA(previous, WM_NCACTIVATE, FALSE, 0);
    SendMessageA(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(previous)),
                 reinterpret_cast<LPARAM>(window));
  }
  bool appBecomesActive = false;
  bool appBecomesInactive = false;
  {
    TreeLock lock;
    if (window != nullptr && Live(window) == nullptr) window = nullptr;
    g_state.active = window;
    appBecomesActive = window != nullptr && !g_state.applicationActive;
    appBecomesInactive = window == nullptr && g_state.applicationActive;
    if (appBecomesActive) g_state.applicationActive = true;
    if (appBecomesInactive) g_state.applicationActive = false;
  }
  if (appBecomesActive) SendActivateApp(true, 0);
  if (appBecomesInactive) {
    SendActivateApp(false, 0);
  }
  if (window != nullptr) {
    CurrentDisplay().TopLevelActivated(window);
    SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
    SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(byMouse ? WA_CLICKACTIVE : WA_ACTIVE, IsIconic(window)),
                 reinterpret_cast<LPARAM>(previous));
  }
  // Focus that stayed in a window that is no longer active is taken away.
  HWND staleFocus = nullptr;
  {
    TreeLock lock;
    Window* focus = Live(g_state.focus);
    Window* active = Live(g_state.active);
    if (focus != nullptr && (active == nullptr || !IsSelfOrAncestor(active, focus))) staleFocus = focus->handle;
  }
  if (staleFocus != nullptr) {
    {
      TreeLock lock;
      if (g_state.focus == staleFocus) g_state.focus = nullptr;
    }
    SendMessageA(staleFocus, WM_KILLFOCUS, 0, 0);
  }
  return previous;
}

HWND SuccessorForActivation(HWND leaving) {
  TreeLock lock;
  Window* record = Live(leaving);
  auto eligible = [&](Window* candidate) {
    return candidate != nullptr && candidate != record && !candidate->destroying &&
           (candidate->style & WS_VISIBLE) && !(candidate->style & WS_DISABLED) &&
           !(candidate->style & WS_MINIMIZE) && (record == nullptr || !IsSelfOrAncestor(record, candidate));
  };
  if (record != nullptr && eligible(record->owner)) return record->owner->handle;
  for (Window* candidate : Desktop().children) {
    if (eligible(candidate) && candidate->threadId == CurrentThreadId()) return candidate->handle;
  }
  return nullptr;
}

void TakeInputAwayFrom(HWND handle, bool handActivationOn) {
  HWND capture = nullptr;
  HWND focus = nullptr;
  bool wasActive = false;
  {
    TreeLock lock;
    Window* window = Live(handle);
    if (window == nullptr) return;
    if (Window* captured = Live(g_state.capture); captured != nullptr && IsSelfOrAncestor(window, captured)) {
      capture = captured->handle;
      g_state.capture = nullptr;
    }
    wasActive = Live(g_state.active) != nullptr && IsSelfOrAncestor(window, Live(g_state.active));
    if (Window* focused = Live(g_state.focus); focused != nullptr && IsSelfOrAncestor(window, focused)) {
      focus = focused->handle;
    }
  }
  if (capture != nullptr) SendMessageA(capture, WM_CAPTURECHANGED, 0, 0);
  if (wasActive && handActivationOn) {
    ActivateWindow(SuccessorForActivation(handle), false);
  } else if (wasActive) {
    ActivateWindow(nullptr, false);
  }
  bool stillFocused = false;
  {
    TreeLock lock;
    stillFocused = focus != nullptr && g_state.focus == focus;
    if (stillFocused) g_state.focus = nullptr;
  }
  if (stillFocused) SendMessageA(focus, WM_KILLFOCUS, 0, 0);
}

void SetApplicationActive(bool active) {
  if (!active) {
    HWND previous = nullptr;
    {
      TreeLock lock;
      previous = g_state.active;
    }
    if (previous != nullptr) ActivateWindow(nullptr, false);
    return;
  }
  HWND successor = SuccessorForActivation(nullptr);
  if (successor != nullptr) ActivateWindow(successor, false);
}

}  // namespace vel::platform

using namespace vel::platform;

HWND WINAPI SetFocus(HWND hWnd) {
  if (hWnd == nullptr) {
    HWND previous = nullptr;
    {
      TreeLock lock;
      previous = Live(g_state.focus) != nullptr ? g_state.focus : nullptr;
      g_state.focus = nullptr;
    }
    if (previous != nullptr) SendMessageA(previous, WM_KILLFOCUS, 0, 0);
    return previous;
  }
  HWND topLevel = nullptr;
  {
    TreeLock lock;
    Window* window = Live(hWnd);
    if (window == nullptr) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    topLevel = TopLevelOf(window)->handle;
  }
  if (CurrentInputWindows().active != topLevel) ActivateWindow(topLevel, false);
  HWND previous = nullptr;
  {
    TreeLock lock;
    if (Live(hWnd) == nullptr) return nullptr;
    previous = Live(g_state.focus) != nullptr ? g_state.focus : nullptr;
    if (previous == hWnd) return previous;
    g_state.focus = hWnd;
  }
  if (previous != nullptr) SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
  {
    // A WM_KILLFOCUS handler may have moved the focus on; then this change is over.
    TreeLock lock;
    if (g_state.focus != hWnd || Live(hWnd) == nullptr) return previous;
  }
  SendMessageA(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  return previous;
}

HWND WINAPI GetFocus(void) { return IfCallers(CurrentInputWindows().focus); }

HWND WINAPI SetActiveWindow(HWND hWnd) {
  {
    TreeLock lock;
    if (hWnd != nullptr && Live(hWnd) == nullptr) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
  }
  return ActivateWindow(hWnd, false);
}

HWND WINAPI GetActiveWindow(void) { return IfCallers(CurrentInputWindows().active); }

BOOL WINAPI SetForegroundWindow(HWND hWnd) {
  {
    TreeLock lock;
    if (Live(hWnd) == nullptr) return FALSE;
  }
  ActivateWindow(hWnd, false);
  return TRUE;
}

HWND WINAPI GetForegroundWindow(void) { return CurrentInputWindows().active; }

HWND WINAPI SetCapture(HWND hWnd) {
  HWND previous = nullptr;
  {
    TreeLock lock;
    if (Live(hWnd) == nullptr) return nullptr;
    previous = Live(g_state.capture) != nullptr ? g_state.capture : nullptr;
    g_state.capture = hWnd;
  }
  if (previous != nullptr && previous != hWnd) {
    SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
  }
  return previous;
}

BOOL WINAPI ReleaseCapture(void) {
  HWND previous = nullptr;
  {
    TreeLock lock;
    previous = Live(g_state.capture) != nullptr ? g_state.capture : nullptr;
    g_state.capture = nullptr;
  }
  if (previous != nullptr) SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND WINAPI GetCapture(void) { return IfCallers(CurrentInputWindows().capture); }
