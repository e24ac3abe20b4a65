#include "runtime/ipc/ipc_services.h"

#include "runtime/ipc/dde_window_messages.h"
#include "runtime/ipc/vbx_bridge.h"
#include "runtime/services/module_descriptor.h"
#include "runtime/services/trace_log.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_close.h"
#include "runtime/windows/window_object_procedure.h"

namespace vel::ipc {
namespace {

// A server-hosted control's event, reported about the control its window carries.
void ReportVbxEvent(windows::WindowObject& window, HWND controlWindow) {
  windows::WindowControl* control = ControlOfWindow(controlWindow);
  bool ownsControl = false;
  for (const auto& held : window.controls) ownsControl = ownsControl || held.get() == control;
  windows::PostEvent(window, windows::EVENT_VBXevent, ownsControl ? control : nullptr);
}

bool HandleInterprocessMessage(windows::WindowObject& window, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) {
  if (message == WM_VBXEVENT) {
    ReportVbxEvent(window, reinterpret_cast<HWND>(wParam));
    result = 0;
    return true;
  }
  return HandleDdeWindowMessage(window, message, wParam, lParam, result);
}

}  // namespace

void DdeService(int call) {
  if (call != services::kInitialiseCall) {
    windows::SetForeignMessageHandler(nullptr);
    windows::SetWindowReleaseObserver(nullptr);
    return;
  }
  windows::SetForeignMessageHandler(HandleInterprocessMessage);
  // A released window no longer reaches its window procedure when it is destroyed.
  windows::SetWindowReleaseObserver(EndConversationsOf);
  if ((GetSystemMetrics(SM_NETWORK) & 1) == 0) {
    services::WriteTraceLine(
        "DDE: no message bus to other programs; conversations stay within this program\r\n");
  }
}

}  // namespace vel::ipc
