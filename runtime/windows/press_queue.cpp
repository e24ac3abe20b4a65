#include "runtime/windows/press_queue.h"

#include <mutex>

#include "runtime/services/error_state.h"
#include "runtime/windows/key_codes.h"
#include "win32.h"

namespace vel::windows {
namespace {

// The keyboard critical section: appending and replaying never interleave.
std::mutex g_keyboardMutex;
PressRing g_ring;
bool g_capsLock = false;

struct Modifier {
  std::int32_t bit;
  BYTE key;
};
constexpr Modifier kModifiers[] = {{kKeyShift, VK_SHIFT}, {kKeyControl, VK_CONTROL}, {kKeyAlt, VK_MENU}};

void Synthesise(BYTE key, bool down, bool extended = false) {
  DWORD flags = (down ? 0 : KEYEVENTF_KEYUP) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  keybd_event(key, static_cast<BYTE>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)), flags, 0);
}

bool IsHeld(BYTE key) { return GetAsyncKeyState(key) < 0; }

bool AppendLocked(std::uint16_t key) {
  if (!g_ring.Append(key)) return false;
  if ((key & 0xFF) == VK_CAPITAL) g_capsLock = !g_capsLock;
  return true;
}

}  // namespace

bool PressRing::Append(std::uint16_t key) {
  if (m_size == m_slots.size()) {
    if (m_slots.size() >= kMaximumCapacity) return false;
    std::vector<std::uint16_t> grown(m_slots.size() * 2);
    for (std::size_t i = 0; i < m_size; ++i) grown[i] = m_slots[(m_first + i) % m_slots.size()];
    m_slots = std::move(grown);
    m_first = 0;
  }
  m_slots[(m_first + m_size) % m_slots.size()] = key;
  ++m_size;
  return true;
}

bool PressRing::Take(std::uint16_t* key) {
  if (m_size == 0) return false;
  *key = m_slots[m_first];
  m_first = (m_first + 1) % m_slots.size();
  --m_size;
  return true;
}

void PressRing::Clear() {
  m_slots.assign(kInitialCapacity, 0);
  m_first = 0;
  m_size = 0;
}

void PressKeys(const std::vector<std::uint16_t>& keys) {
  std::lock_guard lock(g_keyboardMutex);
  for (std::uint16_t key : keys) {
    if (!AppendLocked(key)) {
      services::SetError(kErrorTooManyKeys);
      return;
    }
  }
}

void PressText(std::string_view text) {
  std::vector<std::uint16_t> keys;
  for (char character : text) {
    SHORT scan = VkKeyScanA(character);
    if (scan == -1 || (scan & 0xFF) == 0) continue;
    auto key = static_cast<std::uint16_t>(scan & 0xFF);
    if (scan & 0x100) key |= kKeyShift;
    if (scan & 0x200) key |= kKeyControl;
    if (scan & 0x400) key |= kKeyAlt;
    keys.push_back(key);
  }
  PressKeys(keys);
}

bool ReplayNextPressedKey() {
  std::lock_guard lock(g_keyboardMutex);
  std::uint16_t key = 0;
  if (!g_ring.Take(&key)) return false;
  bool wasHeld[std::size(kModifiers)] = {};
  for (std::size_t i = 0; i < std::size(kModifiers); ++i) {
    wasHeld[i] = IsHeld(kModifiers[i].key);
    bool wanted = (key & kModifiers[i].bit) != 0;
    if (wanted != wasHeld[i]) Synthesise(kModifiers[i].key, wanted);
  }
  auto virtualKey = static_cast<BYTE>(key & 0xFF);
  bool extended = (key & kKeyExtended) != 0;
  Synthesise(virtualKey, true, extended);
  Synthesise(virtualKey, false, extended);
  for (std::size_t i = std::size(kModifiers); i-- > 0;) {
    bool wanted = (key & kModifiers[i].bit) != 0;
    if (wanted != wasHeld[i]) Synthesise(kModifiers[i].key, wasHeld[i]);
  }
  return true;
}

std::size_t PressedKeyCount() {
  std::lock_guard lock(g_keyboardMutex);
  return g_ring.Size();
}

std::size_t PressQueueCapacity() {
  std::lock_guard lock(g_keyboardMutex);
  return g_ring.Capacity();
}

bool PressCapsLock() {
  std::lock_guard lock(g_keyboardMutex);
  return g_capsLock;
}

void ResetPressQueue() {
  std::lock_guard lock(g_keyboardMutex);
  g_ring.Clear();
  g_capsLock = false;
}

}  // namespace vel::windows
