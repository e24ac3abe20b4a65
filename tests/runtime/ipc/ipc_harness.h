#pragma once
// The runtime as a program runs it, for the interprocess tests and their test programs: the
// runtime running, the calling thread a runtime thread, the DDE and bridge services started, and
// windows opened from a definition compiled from declaration text.

#include <cstdint>
#include <string>

#include "runtime/windows/procedure_window.h"
#include "runtime/windows/resource_source.h"

namespace vel::ipc::testing {

class RuntimeHarness {
 public:
  RuntimeHarness();
  /// Closes what is still open and stops the services.
  ~RuntimeHarness();
  RuntimeHarness(const RuntimeHarness&) = delete;
  RuntimeHarness& operator=(const RuntimeHarness&) = delete;

  /// Opens a window titled `title`.
  void Open(windows::ProcedureWindow& window, const std::string& title);

 private:
  windows::MemoryResourceSource m_source;
};

/// The next event number the ACCEPT loop delivers, passing over the size, move and focus
/// notifications of a window being shown; -1 when the loop ended.
std::int32_t NextEvent(windows::ProcedureWindow& window);

/// The event number of an event code.
constexpr std::int32_t Number(std::int32_t code) { return code - 0x1400; }

}  // namespace vel::ipc::testing
