#include "runtime/windows/window_key_tables.h"

#include <algorithm>

#include "runtime/windows/event_codes.h"
#include "runtime/windows/key_codes.h"
#include "runtime/windows/window_object.h"

namespace vel::windows {

void RebuildHotKeys(WindowObject& window) {
  window.hotKeys.Clear();
  for (const auto& control : window.controls) {
    std::int32_t key = HotKeyCodeOf(control->HotKeyCharacter());
    if (key != 0 && control->FieldNumber() != 0) {
      window.hotKeys.Add(key, control->FieldNumber() + kCommandIdentifierBase);
    }
  }
}

bool CommandControlByKey(WindowObject& window, const KeyTable& table, std::int32_t keyCode) {
  const KeyTableEntry* entry = table.Find(keyCode);
  if (entry == nullptr) return false;
  const WindowControl* control = window.ControlOfField(entry->command - kCommandIdentifierBase);
  HWND own = control != nullptr ? control->Handle() : nullptr;
  if (own == nullptr || !IsWindowEnabled(own) || !(GetWindowLongPtrA(own, GWL_STYLE) & WS_VISIBLE))
    return false;
  SendMessageA(window.handle, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(entry->command), 1), 0);
  return true;
}

bool IsAlertKey(const WindowObject& window, std::int32_t keyCode) {
  if ((keyCode & 0xFF) == 0) return false;
  if (window.alertKeys.Find(keyCode) != nullptr) return true;
  const WindowControl* focus = window.FocusControl();
  if (focus == nullptr) return false;
  std::span<const std::int32_t> keys = focus->AlertKeys();
  return std::any_of(keys.begin(), keys.end(), [keyCode](std::int32_t key) {
    return (key & kKeyIdentityMask) == (keyCode & kKeyIdentityMask);
  });
}

}  // namespace vel::windows
