#include "runtime/services/error_call_chain.h"

#include <gtest/gtest.h>

#include <array>
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

TEST(CallChainWalk, DeepChainsFillEverySlotAndThreadsWalkSafely) {
  const CallChain deep = Recurse(30);
  for (std::uintptr_t address : deep) EXPECT_NE(address, 0u);
  EXPECT_EQ(deep[1], deep[2]);  // the same call site inside Recurse

  // A thread's stack has bounds of its own; the walk stays inside them.
  CallChain threadChain{};
  std::thread([&] { threadChain = Outer(); }).join();
  EXPECT_TRUE(ReturnsInto(threadChain[0], Innermost));
  EXPECT_TRUE(ReturnsInto(threadChain[2], Outer));
}

// A made-up stack of frame records: each is (caller's frame pointer, return address).
class FrameRecords : public ::testing::Test {
 protected:
  std::uintptr_t At(std::size_t index) const { return reinterpret_cast<std::uintptr_t>(&m_words[index]); }
  void Record(std::size_t index, std::uintptr_t callerFrame, std::uintptr_t returnAddress) {
    m_words[index] = callerFrame;
    m_words[index + 1] = returnAddress;
  }
  CallChain Walk(std::size_t first) const { return WalkFrameRecords(At(first), At(0), At(m_words.size())); }

  std::array<std::uintptr_t, 64> m_words{};
};

TEST_F(FrameRecords, WalkEndsAtTheOutermostFrame) {
  Record(0, At(4), 0x1001);
  Record(4, At(10), 0x1002);
  Record(10, 0, 0);  // the entry frame: no return address
  const CallChain chain = Walk(0);
  EXPECT_EQ(chain[0], 0x1001u);
  EXPECT_EQ(chain[1], 0x1002u);
  for (std::size_t i = 2; i < kCallChainSlots; ++i) EXPECT_EQ(chain[i], 0u);
}

TEST_F(FrameRecords, WalkNeverLeavesTheStackOrGoesBackwards) {
  // A frame pointer beyond the stack's end: its record is not read.
  Record(0, At(4), 0x2001);
  Record(4, At(63), 0x2002);  // a record at the last word would end past the stack
  m_words[63] = 0x2003;
  CallChain chain = Walk(0);
  EXPECT_EQ(chain[1], 0x2002u);
  EXPECT_EQ(chain[2], 0u);

  // A frame pointer that points back down (a register reused for data) ends the walk.
  Record(0, At(6), 0x3001);
  Record(6, At(2), 0x3002);
  Record(2, At(8), 0x3003);
  chain = Walk(0);
  EXPECT_EQ(chain[1], 0x3002u);
  EXPECT_EQ(chain[2], 0u);

  // A misaligned frame pointer and one below the stack are refused as well.
  Record(0, At(8) + 1, 0x4001);
  chain = Walk(0);
  EXPECT_EQ(chain[0], 0x4001u);
  EXPECT_EQ(chain[1], 0u);
  EXPECT_EQ(WalkFrameRecords(At(0), At(2), At(64))[0], 0u);
}

TEST_F(FrameRecords, LongChainsStopAfterTenSlots) {
  for (std::size_t i = 0; i + 2 < m_words.size(); i += 2) Record(i, At(i + 2), 0x5000 + i);
  const CallChain chain = Walk(0);
  EXPECT_EQ(chain[0], 0x5000u);
  EXPECT_EQ(chain[9], 0x5012u);
}

}  // namespace
}  // namespace vel::services
