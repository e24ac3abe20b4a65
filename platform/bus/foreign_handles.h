#pragma once
// The handles this program gives to windows of other programs: one odd number in the foreign
// range per window met, kept for the run (a handle is never reused, so a stale one can never
// name another window). Each records the window's program and its number there.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "win32.h"

namespace vel::platform::bus {

struct ForeignWindow {
  HWND handle = nullptr;
  /// The owning program's unique bus name.
  std::string owner;
  /// The window's handle in its own program.
  std::uint64_t remote = 0;
  std::uint64_t processId = 0;
  /// Set once the owning program has left the bus.
  bool gone = false;
  /// Properties this program set on the window (touched under the window tree lock).
  std::vector<std::pair<std::string, HANDLE>> properties;
};

class ForeignHandles {
 public:
  /// The handle for a window of another program, made on first sight.
  HWND HandleFor(const std::string& owner, std::uint64_t remote, std::uint64_t processId);
  /// A copy of what is known of a foreign handle, or nothing for a handle never given out.
  std::optional<ForeignWindow> Find(HWND handle);
  /// The property list of a foreign handle (stable for the run), or null.
  std::vector<std::pair<std::string, HANDLE>>* Properties(HWND handle);
  /// Every window of a program that left the bus names no window from now on.
  void OwnerGone(const std::string& owner);

 private:
  std::mutex m_mutex;
  std::map<HWND, std::unique_ptr<ForeignWindow>> m_byHandle;
  std::map<std::pair<std::string, std::uint64_t>, HWND> m_byRemote;
  std::uintptr_t m_next = 0;
};

}  // namespace vel::platform::bus
