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

// Frame records of callers lie outside the walking function's own frame; the address sanitizer
// must not instrument reads that are bounds-checked by hand.
[[gnu::no_sanitize_address]] CallChain WalkFrameRecords(std::uintptr_t firstFrame, std::uintptr_t stackLow,
                                                        std::uintptr_t stackHigh) {
  CallChain chain{};
  std::uintptr_t frame = firstFrame;
  std::size_t slot = 0;
  while (slot < kCallChainSlots && FrameRecordInside(frame, stackLow, stackHigh)) {
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

[[gnu::noinline]] CallChain WalkCallChain() {
  ULONG_PTR stackLow = 0;
  ULONG_PTR stackHigh = 0;
  GetCurrentThreadStackLimits(&stackLow, &stackHigh);
  const auto frame = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
  // Nothing below the walk's own frame belongs to the chain.
  return WalkFrameRecords(frame, std::max<std::uintptr_t>(stackLow, frame), stackHigh);
}

}  // namespace vel::services
