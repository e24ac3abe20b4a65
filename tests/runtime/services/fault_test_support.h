#pragma once
// What the fault report tests share: memory that ends in an unreadable page, and capturing what
// a block writes to its file.

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "win32.h"
#include "win32/debugging.h"

namespace vel::services::testing {

/// One readable and writable page followed by one that cannot be touched at all.
class GuardedPage {
 public:
  GuardedPage() {
    void* memory = mmap(nullptr, 2 * kSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    m_memory = memory == MAP_FAILED ? nullptr : static_cast<unsigned char*>(memory);
    if (m_memory != nullptr) mprotect(m_memory + kSize, kSize, PROT_NONE);
  }
  ~GuardedPage() {
    if (m_memory != nullptr) munmap(m_memory, 2 * kSize);
  }
  GuardedPage(const GuardedPage&) = delete;
  GuardedPage& operator=(const GuardedPage&) = delete;

  static constexpr std::size_t kSize = 4096;

  /// The address `bytesBeforeEnd` bytes before the unreadable page.
  unsigned char* BeforeEnd(std::size_t bytesBeforeEnd) const { return m_memory + kSize - bytesBeforeEnd; }
  unsigned char* Start() const { return m_memory; }
  /// The first unreadable byte.
  std::uintptr_t Unreadable() const { return reinterpret_cast<std::uintptr_t>(m_memory + kSize); }

 private:
  unsigned char* m_memory = nullptr;
};

/// Runs `write` on a fresh file and returns everything it wrote.
inline std::string CaptureReport(const std::function<void(HFILE)>& write) {
  const std::string path = ::testing::TempDir() + "vel_fault_block_" + std::to_string(getpid()) + ".txt";
  const HFILE file = _lcreat(path.c_str(), 0);
  EXPECT_NE(file, HFILE_ERROR);
  write(file);
  _lclose(file);
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::remove(path.c_str());
  return text.str();
}

/// The number as the report writes "%08x" (at least eight digits, all of a 64-bit value).
inline std::string Hex8(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%08llx", static_cast<unsigned long long>(value));
  return text;
}

}  // namespace vel::services::testing
