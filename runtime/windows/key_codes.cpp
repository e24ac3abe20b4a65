#include "runtime/windows/key_codes.h"

#include <cstdio>

#include "runtime/windows/thread_table.h"

namespace vel::windows {
namespace {

constexpr LPARAM kExtendedKeyBit = 1L << 24;

std::int32_t MouseCode(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN: return kMouseLeft;
    case WM_RBUTTONDOWN: return kMouseRight;
    case WM_MBUTTONDOWN: return kMouseMiddle;
    case WM_LBUTTONDBLCLK: return kMouseLeftDouble;
    case WM_RBUTTONDBLCLK: return kMouseRightDouble;
    case WM_MBUTTONDBLCLK: return kMouseMiddleDouble;
    default: return 0;
  }
}

std::int32_t ModifierAndToggleBits() {
  std::int32_t bits = 0;
  if (GetKeyState(VK_SHIFT) < 0) bits |= kKeyShift;
  if (GetKeyState(VK_CONTROL) < 0) bits |= kKeyControl;
  if (GetKeyState(VK_MENU) < 0) bits |= kKeyAlt;
  if (GetKeyState(VK_CAPITAL) & 1) bits |= kKeyCapsLock;
  if (GetKeyState(VK_NUMLOCK) & 1) bits |= kKeyNumLock;
  if (GetKeyState(VK_SCROLL) & 1) bits |= kKeyScrollLock;
  if (GetKeyState(VK_INSERT) & 1) bits |= kKeyInsertMode;
  return bits;
}

bool IsKeyDown(UINT message) { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }

const char* NamedKey(int key) {
  switch (key) {
    case VK_BACK: return "Backspace";
    case VK_TAB: return "Tab";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Esc";
    case VK_SPACE: return "Space";
    case VK_PRIOR: return "PgUp";
    case VK_NEXT: return "PgDn";
    case VK_END: return "End";
    case VK_HOME: return "Home";
    case VK_LEFT: return "Left";
    case VK_UP: return "Up";
    case VK_RIGHT: return "Right";
    case VK_DOWN: return "Down";
    case VK_INSERT: return "Ins";
    case VK_DELETE: return "Del";
    case VK_ADD: return "Num +";
    case VK_SUBTRACT: return "Num -";
    case VK_MULTIPLY: return "Num *";
    case VK_DIVIDE: return "Num /";
    default: return nullptr;
  }
}

}  // namespace

std::int32_t KeyCodeOf(const MSG& message) {
  std::int32_t code = 0;
  if (IsKeyDown(message.message)) {
    code = static_cast<std::int32_t>(message.wParam & 0xFF);
    if (message.lParam & kExtendedKeyBit) code |= kKeyExtended;
  } else {
    code = MouseCode(message.message);
  }
  if (code == 0) return 0;
  return code | ModifierAndToggleBits();
}

std::int32_t RecordMessageKey(const MSG& message, int slot) {
  ThreadSlot* entry = SlotAt(slot);
  if (message.message == WM_CHAR) {
    if (entry != nullptr) entry->lastCharacter = static_cast<std::uint8_t>(message.wParam);
    return 0;
  }
  std::int32_t code = KeyCodeOf(message);
  if (code == 0 || entry == nullptr) return code;
  entry->lastKeyCode = code;
  entry->lastCharacter = 0;
  entry->lastScanCode =
      IsKeyDown(message.message) ? static_cast<std::uint8_t>((message.lParam >> 16) & 0xFF) : 0;
  return code;
}

std::string KeyCodeName(std::int32_t keyCode) {
  int key = keyCode & 0xFF;
  std::string name;
  if (const char* named = NamedKey(key)) {
    name = named;
  } else if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
    name = std::string(1, static_cast<char>(key));
  } else if (key >= VK_F1 && key < VK_F1 + 24) {
    name = "F" + std::to_string(key - VK_F1 + 1);
  } else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
    name = "Num " + std::to_string(key - VK_NUMPAD0);
  } else {
    return std::string();
  }
  std::string prefix;
  if (keyCode & kKeyControl) prefix += "Ctrl+";
  if (keyCode & kKeyShift) prefix += "Shift+";
  if (keyCode & kKeyAlt) prefix += "Alt+";
  return prefix + name;
}

}  // namespace vel::windows
