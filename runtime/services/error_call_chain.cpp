#include "runtime/services/error_call_chain.h"

#include <algorithm>

#include "win32.h"

namespace vel::services {
namespace {

// A frame record: the caller's frame pointer, then the return address into the caller.
constexpr std::uintptr_t kFrameRecordSize = 2 * sizeof(std::uintptr_t);

bool FrameRecordInside(std::uintptr_t frame, std::uintptr_t low, std::uintptr_t high) {
  if (frame % alignof(std::uintptr_t) != 0) return false;
  if (frame < low || frame >= high) return false;
  return high - frame >= kFrameRecordSize;
}

}  // namespace

// Frame records of callers lie outside this function's own frame; the address sanitizer must
// not instrument reads that are bounds-checked by hand.
[[gnu::noinline]] [[gnu::no_sanitize_address]] CallChain WalkCallChain() {
  CallChain chain{};
  ULONG_PTR stackLow = 0;
  ULONG_PTR stackHigh = 0;
  GetCurrentThreadStackLimits(&stackLow, &stackHigh);
  auto frame = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
  // Nothing below the walk's own frame belongs to the chain.
  const std::uintptr_t low = std::max<std::uintptr_t>(stackLow, frame);
  const std::uintptr_t high = stackHigh;

  std::size_t slot = 0;
  while (slot < kCallChainSlots && FrameRecordInside(frame, low, high)) {
    const auto* record = reinterpret_cast<const std::uintptr_t*>(frame);
    const std::uintptr_t callerFrame = record[0];
    const std::uintptr_t returnAddress = record[1];
    if (returnAddress == 0) break;
    chain[slot++] = returnAddress;
    // The stack grows downwards: a caller's frame lies above its callee's.
    if (callerFrame <= frame) break;
    frame = callerFrame;
  }
  return chain;
}

}  // namespace vel::services
