#include <pthread.h>
#include <sys/auxv.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "win32.h"

// The program's initial stack pointer, kept by the C library.
extern "C" void* __libc_stack_end;

namespace {

// Larger limits fall back to the threads library: the kernel keeps other mappings at least this
// far below the stack, so up to it the limit alone bounds the stack.
constexpr std::uintptr_t kLargestPlainLimit = std::uintptr_t{1} << 30;

// The main thread's stack as the threads library computes it, without its reading and parsing
// the whole memory map of the process (hundreds of lines once the desktop libraries are loaded)
// at every start. The kernel copies the program's file name to the very top of the stack
// mapping, one pointer below its end, and lets the stack grow down from that end as far as the
// stack size limit. Anything unexpected (another thread, no or a huge limit, a top that is not a
// page boundary, a frame outside the range) leaves the question to the threads library.
bool MainThreadStack(ULONG_PTR& low, ULONG_PTR& high) {
  if (getpid() != gettid()) return false;
  const auto* fileName = reinterpret_cast<const char*>(getauxval(AT_EXECFN));
  const long pageSize = sysconf(_SC_PAGESIZE);
  struct rlimit limit {};
  if (fileName == nullptr || pageSize <= 0 || getrlimit(RLIMIT_STACK, &limit) != 0 ||
      limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > kLargestPlainLimit) {
    return false;
  }
  const auto page = static_cast<std::uintptr_t>(pageSize);
  const std::uintptr_t top = reinterpret_cast<std::uintptr_t>(fileName) + std::strlen(fileName) + 1 + sizeof(void*);
  // Like the threads library: the stack's end is the page above the initial stack pointer, and
  // its size what the limit leaves below the top of the mapping.
  const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(__libc_stack_end) & ~(page - 1)) + page;
  if (top % page != 0 || end > top || top - end >= limit.rlim_cur) return false;
  const std::uintptr_t size = (static_cast<std::uintptr_t>(limit.rlim_cur) - (top - end)) & ~(page - 1);
  const auto frame = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
  if (size == 0 || size > end || frame < end - size || frame >= end) return false;
  low = end - size;
  high = end;
  return true;
}

}  // namespace

// The calling thread's stack as the threads library knows it. Code that walks its own call chain
// checks every frame against these bounds instead of probing memory.
void WINAPI GetCurrentThreadStackLimits(ULONG_PTR* LowLimit, ULONG_PTR* HighLimit) {
  ULONG_PTR low = 0;
  ULONG_PTR high = 0;
  pthread_attr_t attributes;
  if (!MainThreadStack(low, high) && pthread_getattr_np(pthread_self(), &attributes) == 0) {
    void* stackAddress = nullptr;
    size_t stackSize = 0;
    if (pthread_attr_getstack(&attributes, &stackAddress, &stackSize) == 0) {
      low = reinterpret_cast<ULONG_PTR>(stackAddress);
      high = low + stackSize;
    }
    pthread_attr_destroy(&attributes);
  }
  if (LowLimit != nullptr) *LowLimit = low;
  if (HighLimit != nullptr) *HighLimit = high;
}
