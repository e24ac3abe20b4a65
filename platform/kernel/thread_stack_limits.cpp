#include <pthread.h>

#include <cstdint>

#include "win32.h"

// The calling thread's stack as the threads library knows it. Code that walks its own call chain
// checks every frame against these bounds instead of probing memory.
void WINAPI GetCurrentThreadStackLimits(ULONG_PTR* LowLimit, ULONG_PTR* HighLimit) {
  ULONG_PTR low = 0;
  ULONG_PTR high = 0;
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) == 0) {
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
