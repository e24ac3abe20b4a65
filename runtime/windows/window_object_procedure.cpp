#include "runtime/windows/window_object_procedure.h"

#include <atomic>
#include <string>

#include "runtime/windows/client_layout.h"
#include "runtime/windows/client_queries.h"
#include "runtime/windows/client_window.h"
#include "runtime/windows/command_routing.h"
#include "runtime/windows/drop_relay.h"
#include "runtime/windows/drop_target.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_menu_bar.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_status_text.h"

namespace vel::windows {
namespace {

ForeignMessageHandler g_foreignHandler = nullptr;
std::atomic<SystemColorChangeHook> g_colorChangeHook{nullptr};

bool RaisesSizeEvents(const WindowObject& window) { return (window.flags & kWindowFlagSizeEvents) != 0; }

// The event a system command raises before it is carried out, or 0.
std::int32_t RefusableCommandEvent(const WindowObject& window, WPARAM command) {
  if (!RaisesSizeEvents(window)) return 0;
  switch (command & 0xFFF0) {
    case SC_MOVE: return EVENT_Move;
    case SC_SIZE: return IsIconic(window.handle) ? 0 : EVENT_Size;
    case SC_RESTORE: return EVENT_Restore;
    case SC_MAXIMIZE: return EVENT_Maximize;
    case SC_MINIMIZE: return EVENT_Iconize;
    default: return 0;
  }
}

// A refusable system command is sent to the procedure as its event; the platform carries it
// out only when the procedure takes the event.
LRESULT SystemCommand(WindowObject& window, HWND handle, WPARAM wParam, LPARAM lParam) {
  std::int32_t event = window.carryingOutCommand ? 0 : RefusableCommandEvent(window, wParam);
  if (event == 0) return DefWindowProcA(handle, WM_SYSCOMMAND, wParam, lParam);
  WindowObject* target = &window;
  SendEvent(window, event, nullptr, [target, handle, wParam, lParam](bool taken) {
    if (!taken || !IsOpenWindow(target) || target->handle != handle) return;
    target->carryingOutCommand = true;
    DefWindowProcA(handle, WM_SYSCOMMAND, wParam, lParam);
    target->carryingOutCommand = false;
  });
  return 0;
}

void WindowStateChanged(WindowObject& window) {
  bool iconic = IsIconic(window.handle) != FALSE;
  bool zoomed = IsZoomed(window.handle) != FALSE;
  if (iconic == window.wasIconic && zoomed == window.wasZoomed) return;
  window.wasIconic = iconic;
  window.wasZoomed = zoomed;
  if (!window.opened) return;
  PostEvent(window, iconic ? EVENT_Iconized : zoomed ? EVENT_Maximized : EVENT_Restored);
}

void CloseRequested(WindowObject& window) {
  if (WindowControl* focus = window.FocusControl()) focus->StoreDisplayedValue();
  PostEvent(window, EVENT_CloseWindow);
}

BOOL CALLBACK TellChildColorsChanged(HWND child, LPARAM) {
  SendMessageA(child, WM_SYSCOLORCHANGE, 0, 0);
  return TRUE;
}

// Only top-level windows hear of the change; the controls are told by their window, and
// everything repaints so that brushes of system colours show the new colours at once.
void SystemColorsChanged(HWND handle) {
  if (SystemColorChangeHook hook = g_colorChangeHook.load()) hook();
  EnumChildWindows(handle, TellChildColorsChanged, 0);
  RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

std::string ProgramFileName() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string full(path, length < sizeof path ? length : 0);
  std::size_t separator = full.find_last_of("\\/");
  return separator == std::string::npos ? full : full.substr(separator + 1);
}

LRESULT HandleMessage(WindowObject& window, HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      window.client = CreateClientWindow(window, handle);
      return window.client != nullptr ? 0 : -1;
    case WM_SIZE:
      LayOutWindow(window);
      if (window.opened && RaisesSizeEvents(window) && wParam != SIZE_MINIMIZED) PostEvent(window, EVENT_Sized);
      return 0;
    case WM_MOVE:
      if (window.opened && RaisesSizeEvents(window) && !IsIconic(handle)) PostEvent(window, EVENT_Moved);
      return 0;
    case WM_WINDOWPOSCHANGED:
      WindowStateChanged(window);
      break;
    case WM_SYSCOMMAND:
      return SystemCommand(window, handle, wParam, lParam);
    case WM_TIMER:
      if (wParam == 1 && window.timerRunning && !window.timerPending) {
        window.timerPending = true;
        PostEvent(window, EVENT_Timer);
      }
      return 0;
    case WM_DROPFILES:
    case kDragQueryMessage:
    case kDropMessage:
    case kDragOverMessage:
    case kDragTextMessage:
      // The top-level window holds the window's drop identifiers; the client window between it
      // and the controls takes no part, so a control under the pointer is asked first. Towards
      // another program it also answers for its controls.
      if (std::optional<LRESULT> relayed = RelayDropMessage(handle, message, wParam, lParam)) return *relayed;
      return *HandleDropMessage(DropHolder{&window, nullptr, &window.dropIdentifiers}, message, wParam, lParam);
    case WM_CLOSE:
      CloseRequested(window);
      return 0;
    case WM_COMMAND: RouteWindowCommand(window, wParam, lParam); return 0;
    case QUERY_SELECTED:
    case QUERY_PSCREEN:
      // The toolbar passes its controls' queries to the window it sits in.
      return HandleClientQuery(window, message, wParam, lParam).value_or(0);
    case WM_INITMENUPOPUP:
      // Items bound to variables show the variables' present values as their check marks.
      if (window.menuBar != nullptr) {
        for (const auto& item : window.menuBar->items) item->Redisplay();
      }
      return 0;
    case WM_MENUSELECT: ShowMenuMessageText(window, wParam, lParam); return 0;
    case WM_SYSCOLORCHANGE:
      SystemColorsChanged(handle);
      return 0;
    case WM_QUERYENDSESSION:
      MessageBoxA(handle, kSessionEndText, ProgramFileName().c_str(), MB_OK | MB_ICONSTOP | MB_SYSTEMMODAL);
      return FALSE;
    case WM_SETFOCUS:
      SetFocusSlot(window.threadSlot);
      if (window.client != nullptr) SetFocus(window.client);
      return 0;
    case WM_ACTIVATEAPP:
      if (wParam) {
        SetFocusSlot(window.threadSlot);
      } else {
        SetFocusSlot(-1);
        PostMessageA(handle, WM_NULL, 0, 0);
      }
      break;
    case kPostedEventMessage:
      if (std::unique_ptr<EventRecord> record = ClaimPostedRecord(window, lParam)) {
        window.queue.push_back(std::move(record));
      }
      return 0;
    default:
      if (LRESULT result = 0; g_foreignHandler != nullptr && g_foreignHandler(window, message, wParam, lParam, result)) {
        return result;
      }
      break;
  }
  return DefWindowProcA(handle, message, wParam, lParam);
}

}  // namespace

void SetForeignMessageHandler(ForeignMessageHandler handler) { g_foreignHandler = handler; }

void SetSystemColorChangeHook(SystemColorChangeHook hook) { g_colorChangeHook.store(hook); }

LRESULT CALLBACK RuntimeWindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowProcedureLock lock;
  if (message == WM_NCCREATE) {
    auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    if (creation != nullptr) SetWindowLongPtrA(handle, 0, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    return DefWindowProcA(handle, message, wParam, lParam);
  }
  WindowObject* window = WindowObjectOf(handle);
  if (window == nullptr || (window->handle != nullptr && window->handle != handle)) {
    // A 0x241B for a window that is gone still owns its record.
    if (message == kPostedEventMessage && window != nullptr) ClaimPostedRecord(*window, lParam);
    return DefWindowProcA(handle, message, wParam, lParam);
  }
  // During CreateWindowExA the object does not know its handle yet.
  if (window->handle == nullptr) window->handle = handle;
  return HandleMessage(*window, handle, message, wParam, lParam);
}

}  // namespace vel::windows
