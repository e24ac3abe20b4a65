#include "tests/runtime/services/programs/pool_allocator.h"

#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VEL_PROBE_SANITIZED_ALLOCATOR 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VEL_PROBE_SANITIZED_ALLOCATOR 1
#endif

namespace {

std::atomic<bool> g_faultInside{false};

// An address no program maps, read from a variable so that the compiler cannot see the write.
[[maybe_unused]] void WriteToUnmappedMemory() {
  volatile std::uintptr_t unmapped = 0x10;
  *reinterpret_cast<volatile int*>(unmapped) = 1;
}

}  // namespace

#ifdef VEL_PROBE_SANITIZED_ALLOCATOR

void vel::testing::FaultInsideTheNextAllocation() { WriteToUnmappedMemory(); }

#else

namespace {

// Error-checking: locking it again on the thread that holds it fails instead of hanging.
pthread_mutex_t g_lock = PTHREAD_ERRORCHECK_MUTEX_INITIALIZER_NP;

void* Allocate(std::size_t size) {
  if (pthread_mutex_lock(&g_lock) != 0) {
    static const char message[] = "allocation while the allocator's lock is held\n";
    write(STDERR_FILENO, message, sizeof message - 1);
    _exit(99);
  }
  if (g_faultInside.exchange(false)) WriteToUnmappedMemory();
  void* memory = std::malloc(size == 0 ? 1 : size);
  pthread_mutex_unlock(&g_lock);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

}  // namespace

void vel::testing::FaultInsideTheNextAllocation() { g_faultInside.store(true); }

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

#endif
