#include "runtime/windows/pre_translation.h"

#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/key_codes.h"
#include "runtime/windows/window_key_tables.h"
#include "runtime/windows/window_menu_bar.h"
#include "runtime/windows/window_object.h"

namespace vel::windows {
namespace {

bool IsTranslatedMessage(UINT message) {
  return (message >= WM_KEYDOWN && message <= 0x108) ||
         (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK);
}

// Everything after the alert keys.
bool PreTranslateAfterAlertKeys(WindowObject& window, MSG& message) {
  std::int32_t keyCode = KeyCodeOf(message);
  if (keyCode != 0 && CommandControlByKey(window, window.hotKeys, keyCode)) return true;
  if (window.menuBar != nullptr && window.menuBar->shortcuts.Match(window.handle, message)) return true;
  if (window.toolbarControl != nullptr && window.toolbarControl->PreTranslate(message)) return true;
  return window.client != nullptr && IsDialogMessageA(window.client, &message);
}

// The key is the procedure's: AlertKey is queued, PreAlert asks first. A refused PreAlert lets
// the key go on its way when the procedure answers.
void RaiseAlertKey(WindowObject& window, const MSG& message) {
  SendMessageA(window.handle, WM_COMMAND, 0, 0);
  WindowControl* focus = window.FocusControl();
  WindowObject* target = &window;
  HWND handle = window.handle;
  MSG key = message;
  SendEvent(window, EVENT_PreAlert, focus != nullptr && focus->IsField() ? focus : nullptr,
            [target, handle, key](bool taken) mutable {
              if (taken || !IsOpenWindow(target) || target->handle != handle || !IsWindow(key.hwnd)) return;
              if (PreTranslateAfterAlertKeys(*target, key)) return;
              TranslateMessage(&key);
              DispatchMessageA(&key);
            });
}

}  // namespace

bool PreTranslateWindowMessage(WindowObject& window, MSG& message) {
  if (!IsTranslatedMessage(message.message) || window.handle == nullptr) return false;
  if (IsAlertKey(window, KeyCodeOf(message))) {
    RaiseAlertKey(window, message);
    return true;
  }
  return PreTranslateAfterAlertKeys(window, message);
}

}  // namespace vel::windows
