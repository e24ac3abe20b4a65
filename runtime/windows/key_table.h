#pragma once
// Key tables: ordered lists of key codes a window watches for. A plain key set (every command
// identifier 0) only says that a key matched, as the alert keys do; a command table turns a
// matching key into a command for the window, as control hot keys and menu shortcuts do.

#include <cstdint>
#include <string_view>
#include <vector>

#include "win32.h"

namespace vel::windows {

struct KeyTableEntry {
  std::int32_t keyCode = 0;
  /// 0 in a plain key set; otherwise the command identifier (field number + 0x4000).
  std::int32_t command = 0;
};

class KeyTable {
 public:
  void Add(std::int32_t keyCode, std::int32_t command = 0);
  void Clear() { m_entries.clear(); }
  bool Empty() const { return m_entries.empty(); }
  const std::vector<KeyTableEntry>& Entries() const { return m_entries; }

  /// The first entry for a key code, compared on the key and Shift, Ctrl and Alt (toggles and
  /// the extended-key bit do not count); null when none.
  const KeyTableEntry* Find(std::int32_t keyCode) const;

  /// Matches the key code of `message`. A matching entry of a command table first sends
  /// WM_COMMAND to `window` in the accelerator form (its identifier | 0x10000, lParam 0).
  bool Match(HWND window, const MSG& message) const;

 private:
  std::vector<KeyTableEntry> m_entries;
};

/// The character a "&" marks in a control or menu text ("&&" is a plain "&"), or 0 when none.
char HotKeyCharacterOf(std::string_view text);

/// The key code of a hot key character: its virtual key (VkKeyScanA) with Alt; 0 when the
/// keyboard has no key for it.
std::int32_t HotKeyCodeOf(char character);

}  // namespace vel::windows
