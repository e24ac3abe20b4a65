#pragma once
// The PRESS queue: keys a procedure hands to the program as if they were typed. Entries are
// 16-bit key codes (virtual key, Shift 0x100, Ctrl 0x200, Alt 0x400, extended 0x800) in a
// ring that starts with room for 16 and doubles when full, up to 1024. The ACCEPT loop replays
// them one at a time to the window that has the focus.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vel::windows {

/// Error set when a key would make the queue exceed its largest size.
inline constexpr std::int32_t kErrorTooManyKeys = 534;  ///< "Too many keystrokes PRESSed"

/// The ring of key entries itself.
class PressRing {
 public:
  static constexpr std::size_t kInitialCapacity = 16;
  static constexpr std::size_t kMaximumCapacity = 1024;

  /// Appends a key, doubling the ring (in ring order) when it is full. False, and nothing
  /// appended, when it is full at its largest size.
  bool Append(std::uint16_t key);
  /// Takes the oldest key; false when there is none.
  bool Take(std::uint16_t* key);
  std::size_t Size() const { return m_size; }
  std::size_t Capacity() const { return m_slots.size(); }
  void Clear();

 private:
  std::vector<std::uint16_t> m_slots = std::vector<std::uint16_t>(kInitialCapacity);
  std::size_t m_first = 0;
  std::size_t m_size = 0;
};

/// Appends keys to the program's queue. A key that does not fit sets error 534 and is dropped,
/// as are the keys after it. A Caps Lock entry flips the runtime's caps-lock flag.
void PressKeys(const std::vector<std::uint16_t>& keys);
/// Appends the keys that type `text` (each character's key and Shift, Ctrl and Alt state from
/// the keyboard layout); characters the keyboard cannot type are skipped.
void PressText(std::string_view text);

/// Replays the oldest queued key to the focus window: presses and releases the Shift, Ctrl and
/// Alt keys whose state differs from the key's, the key itself, and puts the modifiers back.
/// False when the queue is empty.
bool ReplayNextPressedKey();

/// Keys waiting in the queue, and its present capacity.
std::size_t PressedKeyCount();
std::size_t PressQueueCapacity();

/// The runtime's caps-lock flag, flipped by every Caps Lock key PRESSed.
bool PressCapsLock();

/// Empties the queue and resets its capacity and the caps-lock flag (program end, tests).
void ResetPressQueue();

}  // namespace vel::windows
