#include "runtime/services/fault_memory.h"

#include "win32.h"
#include "win32/debugging.h"

namespace vel::services {

bool ReadFaultMemory(std::uintptr_t address, void* out, std::size_t size) {
  SIZE_T read = 0;
  return ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<LPCVOID>(address), out, size, &read) != FALSE &&
         read == size;
}

bool IsFaultMemoryWritable(std::uintptr_t address, std::size_t size) {
  unsigned char bytes[64];
  if (size > sizeof bytes || !ReadFaultMemory(address, bytes, size)) return false;
  SIZE_T written = 0;
  return WriteProcessMemory(GetCurrentProcess(), reinterpret_cast<LPVOID>(address), bytes, size, &written) != FALSE &&
         written == size;
}

std::size_t ReadFaultText(const char* text, char* out, std::size_t capacity) {
  if (capacity == 0) return 0;
  std::size_t length = 0;
  const auto address = reinterpret_cast<std::uintptr_t>(text);
  if (text != nullptr) {
    // A page at a time: the text may end just before an unreadable page.
    constexpr std::size_t kPage = 4096;
    while (length + 1 < capacity) {
      std::size_t chunk = kPage - (address + length) % kPage;
      if (chunk > capacity - 1 - length) chunk = capacity - 1 - length;
      if (!ReadFaultMemory(address + length, out + length, chunk)) break;
      const std::size_t end = length + chunk;
      while (length < end && out[length] != '\0') ++length;
      if (length < end) break;
    }
  }
  out[length] = '\0';
  return length;
}

}  // namespace vel::services
