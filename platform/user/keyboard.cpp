// Keyboard state queries, the keyboard layout functions and TranslateMessage.

#include <cstring>

#include "platform/display/keyboard_layout.h"
#include "platform/user/input_state.h"
#include "platform/user/message_queue.h"

using namespace vel::platform;

SHORT WINAPI GetKeyState(int nVirtKey) {
  if (nVirtKey < 0 || nVirtKey > 255) return 0;
  BYTE state = CurrentQueue().keyState[nVirtKey];
  return static_cast<SHORT>(((state & 0x80) ? 0xFF80 : 0) | (state & 0x01));
}

SHORT WINAPI GetAsyncKeyState(int vKey) {
  if (vKey < 0 || vKey > 255) return 0;
  return static_cast<SHORT>((AsyncKeyState(static_cast<BYTE>(vKey)) & 0x80) ? 0x8000 : 0);
}

BOOL WINAPI GetKeyboardState(PBYTE lpKeyState) {
  if (lpKeyState == nullptr) return FALSE;
  std::memcpy(lpKeyState, CurrentQueue().keyState, 256);
  return TRUE;
}

SHORT WINAPI VkKeyScanA(CHAR ch) { return KeyForCharacter(ch); }

UINT WINAPI MapVirtualKeyA(UINT uCode, UINT uMapType) {
  switch (uMapType) {
    case MAPVK_VK_TO_VSC: return uCode < 256 ? ScanCodeForKey(static_cast<BYTE>(uCode)) : 0;
    case MAPVK_VSC_TO_VK:
    case MAPVK_VSC_TO_VK_EX: return KeyForScanCode(uCode);
    case MAPVK_VK_TO_CHAR: {
      if (uCode >= 'A' && uCode <= 'Z') return uCode;
      char character = uCode < 256 ? CharacterForKey(static_cast<BYTE>(uCode), false, false, false) : 0;
      return static_cast<unsigned char>(character);
    }
    default: return 0;
  }
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
  if (lpMsg == nullptr) return FALSE;
  if (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_SYSKEYDOWN) {
    return lpMsg->message == WM_KEYUP || lpMsg->message == WM_SYSKEYUP;
  }
  bool shift = GetKeyState(VK_SHIFT) < 0;
  bool control = GetKeyState(VK_CONTROL) < 0;
  bool alt = GetKeyState(VK_MENU) < 0;
  bool caps = (GetKeyState(VK_CAPITAL) & 1) != 0;
  // Ctrl+Alt combinations type nothing on this layout.
  char character = control && alt ? 0 : CharacterForKey(static_cast<BYTE>(lpMsg->wParam), shift, control, caps);
  if (character == 0) return TRUE;
  UINT message = lpMsg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  PostMessageA(lpMsg->hwnd, message, static_cast<unsigned char>(character), lpMsg->lParam);
  return TRUE;
}
