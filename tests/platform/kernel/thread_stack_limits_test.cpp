#include <gtest/gtest.h>
#include <pthread.h>
#include <unistd.h>

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

// The main thread's limits are found without the threads library's reading of the memory map,
// and are the same as the ones it reports.
TEST(ThreadStackLimits, OnTheMainThreadAreTheThreadsLibrarys) {
  ASSERT_EQ(getpid(), gettid()) << "the tests run on the main thread";
  pthread_attr_t attributes;
  ASSERT_EQ(pthread_getattr_np(pthread_self(), &attributes), 0);
  void* address = nullptr;
  size_t size = 0;
  ASSERT_EQ(pthread_attr_getstack(&attributes, &address, &size), 0);
  pthread_attr_destroy(&attributes);
  ULONG_PTR low = 0;
  ULONG_PTR high = 0;
  GetCurrentThreadStackLimits(&low, &high);
  EXPECT_EQ(low, reinterpret_cast<ULONG_PTR>(address));
  EXPECT_EQ(high, reinterpret_cast<ULONG_PTR>(address) + size);
}

}  // namespace
