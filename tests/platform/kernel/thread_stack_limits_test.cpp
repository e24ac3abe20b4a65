#include <gtest/gtest.h>

#include <thread>

#include "win32.h"

namespace {

// Whether the calling function's frame lies within the limits the platform reports. (The frame,
// not a local: a sanitizer may move locals to a heap-allocated stand-in stack.)
bool FrameInsideLimits() {
  ULONG_PTR low = 0;
  ULONG_PTR high = 0;
  GetCurrentThreadStackLimits(&low, &high);
  const auto address = reinterpret_cast<ULONG_PTR>(__builtin_frame_address(0));
  return low < high && address >= low && address < high;
}

TEST(ThreadStackLimits, HoldTheCallersFrameOnEveryThread) {
  EXPECT_TRUE(FrameInsideLimits());
  bool inThread = false;
  std::thread([&] { inThread = FrameInsideLimits(); }).join();
  EXPECT_TRUE(inThread);
  GetCurrentThreadStackLimits(nullptr, nullptr);  // either limit may be left unasked
}

}  // namespace
