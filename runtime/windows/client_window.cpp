#include "runtime/windows/client_window.h"

#include "runtime/windows/client_queries.h"
#include "runtime/windows/command_routing.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_object.h"

namespace vel::windows {
namespace {

LRESULT CALLBACK ClientWindowProcedure(HWND client, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowProcedureLock lock;
  if (WindowObject* window = WindowObjectOfClient(client)) {
    if (message == WM_SETFOCUS) SetFocusSlot(window->threadSlot);
    if (std::optional<LRESULT> answer = HandleClientQuery(*window, message, wParam, lParam)) return *answer;
    // The controls' commands go where the window's own do.
    if (message == WM_COMMAND) {
      RouteWindowCommand(*window, wParam, lParam);
      return 0;
    }
  }
  return DefDlgProcA(client, message, wParam, lParam);
}

bool EnsureClientClass(HINSTANCE instance) {
  WNDCLASSA existing{};
  if (GetClassInfoA(instance, kClientClassName, &existing)) return true;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = ClientWindowProcedure;
  windowClass.cbWndExtra = kClientObjectOffset + static_cast<int>(sizeof(WindowObject*));
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClientClassName;
  return RegisterClassA(&windowClass) != 0;
}

}  // namespace

HWND CreateClientWindow(WindowObject& window, HWND topLevel) {
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(topLevel, GWLP_HINSTANCE));
  if (!EnsureClientClass(instance)) return nullptr;
  HWND client = CreateWindowExA(0, kClientClassName, "", WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE, 0, 0, 0, 0,
                                topLevel, nullptr, instance, nullptr);
  if (client != nullptr) SetWindowLongPtrA(client, kClientObjectOffset, reinterpret_cast<LONG_PTR>(&window));
  return client;
}

WindowObject* WindowObjectOfClient(HWND client) {
  if (client == nullptr) return nullptr;
  auto* object = reinterpret_cast<WindowObject*>(GetWindowLongPtrA(client, kClientObjectOffset));
  return IsOpenWindow(object) ? object : nullptr;
}

}  // namespace vel::windows
