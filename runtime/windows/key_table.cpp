#include "runtime/windows/key_table.h"

#include "runtime/windows/key_codes.h"

namespace vel::windows {

void KeyTable::Add(std::int32_t keyCode, std::int32_t command) { m_entries.push_back({keyCode, command}); }

const KeyTableEntry* KeyTable::Find(std::int32_t keyCode) const {
  if ((keyCode & 0xFF) == 0) return nullptr;
  for (const KeyTableEntry& entry : m_entries) {
    if ((entry.keyCode & kKeyIdentityMask) == (keyCode & kKeyIdentityMask)) return &entry;
  }
  return nullptr;
}

bool KeyTable::Match(HWND window, const MSG& message) const {
  const KeyTableEntry* entry = Find(KeyCodeOf(message));
  if (entry == nullptr) return false;
  if (entry->command != 0 && window != nullptr) {
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(entry->command), 1), 0);
  }
  return true;
}

char HotKeyCharacterOf(std::string_view text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] != '&') return text[i + 1];
    ++i;
  }
  return 0;
}

std::int32_t HotKeyCodeOf(char character) {
  if (character == 0) return 0;
  SHORT scan = VkKeyScanA(character);
  if (scan == -1) return 0;
  std::int32_t key = scan & 0xFF;
  return key != 0 ? key | kKeyAlt : 0;
}

}  // namespace vel::windows
