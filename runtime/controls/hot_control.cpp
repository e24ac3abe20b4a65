#include "runtime/controls/hot_control.h"

#include "runtime/controls/windowed_control.h"
#include "runtime/services/error_report.h"

namespace vel::controls {
namespace {

WindowedControl* g_hot = nullptr;
HHOOK g_hook = nullptr;

LRESULT CALLBACK HotControlMouseHook(int code, WPARAM message, LPARAM lParam) {
  // The control may release itself (and so the hook) while it looks at the message.
  HHOOK hook = g_hook;
  if (code >= 0 && g_hot != nullptr && lParam != 0) {
    g_hot->HotMouseMessage(static_cast<UINT>(message), *reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam));
  }
  CallNextHookEx(hook, code, message, lParam);
  return 0;
}

void RemoveHook() {
  if (g_hook != nullptr) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  g_hot = nullptr;
}

}  // namespace

void MakeHotControl(WindowedControl& control) {
  if (g_hot == &control) return;
  RemoveHook();
  g_hot = &control;
  g_hook = SetWindowsHookExA(WH_MOUSE, HotControlMouseHook, nullptr, GetCurrentThreadId());
  if (g_hook == nullptr) g_hot = nullptr;
}

void ReleaseHotControl(WindowedControl& control) {
  if (g_hot != &control) {
    services::ReportRuntimeError(kErrorNotTheHotControl, "CTLMAIN");
    return;
  }
  RemoveHook();
}

void ForgetHotControl(WindowedControl& control) {
  if (g_hot == &control) RemoveHook();
}

WindowedControl* HotControl() { return g_hot; }

HHOOK HotControlHook() { return g_hook; }

}  // namespace vel::controls
