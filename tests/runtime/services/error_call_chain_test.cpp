#include "runtime/services/error_call_chain.h"

#include <gtest/gtest.h>

#include <thread>

namespace vel::services {
namespace {

// Call chains of known shape. Each function does work after the call so the call is not
// turned into a jump, which would take its frame out of the chain.
volatile int g_sink = 0;

[[gnu::noinline]] CallChain Innermost() {
  CallChain chain = WalkCallChain();
  g_sink = g_sink + 1;
  return chain;
}
[[gnu::noinline]] CallChain Middle() {
  CallChain chain = Innermost();
  g_sink = g_sink + 1;
  return chain;
}
[[gnu::noinline]] CallChain Outer() {
  CallChain chain = Middle();
  g_sink = g_sink + 1;
  return chain;
}
[[gnu::noinline]] CallChain Recurse(int depth) {
  CallChain chain = depth == 0 ? WalkCallChain() : Recurse(depth - 1);
  g_sink = g_sink + 1;
  return chain;
}

// A return address lies inside its function: after the function's start, within a few hundred
// bytes for these small functions.
bool ReturnsInto(std::uintptr_t address, CallChain (*function)()) {
  const auto start = reinterpret_cast<std::uintptr_t>(function);
  return address > start && address < start + 512;
}

TEST(CallChainWalk, ReturnAddressesComeInnermostFirst) {
  const CallChain chain = Outer();
  EXPECT_TRUE(ReturnsInto(chain[0], Innermost));
  EXPECT_TRUE(ReturnsInto(chain[1], Middle));
  EXPECT_TRUE(ReturnsInto(chain[2], Outer));
}

TEST(CallChainWalk, DeepChainsFillEverySlotAndShallowOnesEndWithZeros) {
  const CallChain deep = Recurse(30);
  for (std::uintptr_t address : deep) EXPECT_NE(address, 0u);
  EXPECT_EQ(deep[1], deep[2]);  // the same call site inside Recurse

  // A thread's chain is short: its entry frame ends the walk before the slots run out.
  CallChain threadChain{};
  std::thread([&] { threadChain = Outer(); }).join();
  EXPECT_TRUE(ReturnsInto(threadChain[0], Innermost));
  EXPECT_EQ(threadChain.back(), 0u);
}

}  // namespace
}  // namespace vel::services
