#include "platform/kernel/signal_stacks.h"

#include <signal.h>
#include <sys/mman.h>

#include "win32.h"

namespace vel::platform {
namespace {

// Room for the fault handlers and what they call, with the sanitizers' larger frames in mind.
constexpr std::size_t kAlternateStackSize = 256 * 1024;

// Owns the alternate stack of one thread. Only PrepareThreadForFaults touches it: the first use
// of a thread-local object with a destructor registers that destructor, which allocates.
class AlternateStack {
 public:
  ~AlternateStack() {
    if (m_memory == nullptr) return;
    // The stack is taken out of use before it is unmapped, so that a signal arriving during the
    // rest of the thread's teardown does not run on freed memory.
    stack_t disable{};
    disable.ss_flags = SS_DISABLE;
    sigaltstack(&disable, nullptr);
    munmap(m_memory, kAlternateStackSize);
  }

  void Ensure() {
    // A stack someone else set up (a sanitizer's) is kept when it is large enough.
    stack_t current{};
    if (sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE) == 0 &&
        current.ss_size >= kAlternateStackSize) {
      return;
    }
    if (m_memory != nullptr) return;
    void* memory = mmap(nullptr, kAlternateStackSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return;
    stack_t stack{};
    stack.ss_sp = memory;
    stack.ss_size = kAlternateStackSize;
    if (sigaltstack(&stack, nullptr) != 0) {
      munmap(memory, kAlternateStackSize);
      return;
    }
    m_memory = memory;
  }

 private:
  void* m_memory = nullptr;
};

thread_local AlternateStack t_alternateStack;
// Plain values with constant initialisers: reading them in a handler needs no set-up.
thread_local std::uintptr_t t_stackLow = 0;
thread_local std::uintptr_t t_stackHigh = 0;

}  // namespace

void PrepareThreadForFaults() {
  if (t_stackLow == 0) {
    ULONG_PTR low = 0;
    ULONG_PTR high = 0;
    GetCurrentThreadStackLimits(&low, &high);
    t_stackLow = low;
    t_stackHigh = high;
  }
  t_alternateStack.Ensure();
}

void PreparedStackBounds(std::uintptr_t& low, std::uintptr_t& high) {
  low = t_stackLow;
  high = t_stackHigh;
}

}  // namespace vel::platform
