// The thread table and the runtime lock on their own: slots, the lock between threads, and the
// window procedure entry that must not wait for a lock its thread already holds.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "runtime/windows/event_codes.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_runtime.h"
#include "runtime/windows/thread_table.h"

namespace vel::windows {
namespace {

class ThreadTable : public ::testing::Test {
 protected:
  void TearDown() override {
    ReleaseRuntimeLock();
    ResetThreadTable();
  }
};

TEST_F(ThreadTable, SlotsAreClaimedLowestFirstUpToSixtyFourAndFreedForReuse) {
  for (int slot = 0; slot < kThreadSlotCount; ++slot) EXPECT_EQ(ClaimSlot(1000 + slot, nullptr), slot);
  EXPECT_EQ(ClaimSlot(5000, nullptr), -1) << "a full table gives no slot";
  EXPECT_EQ(UsedSlotCount(), kThreadSlotCount);
  FreeSlot(7);
  EXPECT_EQ(ClaimSlot(6000, nullptr), 7);
  EXPECT_EQ(SlotAt(7)->threadId.load(), 6000u);
  EXPECT_EQ(SlotAt(-1), nullptr);
  EXPECT_EQ(SlotAt(kThreadSlotCount), nullptr);
  EXPECT_EQ(FindSlotOfCallingThread(), -1);
}

TEST_F(ThreadTable, FreeingASlotForgetsItInTheGlobals) {
  int own = ClaimSlotForCallingThread();
  ASSERT_EQ(own, 0);
  EXPECT_EQ(ClaimSlotForCallingThread(), own) << "a thread keeps its slot";
  SwitchToSlot(own);
  SetLastEventSlot(own);
  SetFocusSlot(own);
  EXPECT_EQ(CurrentSlot(), own);
  EXPECT_EQ(LoadedSlot(), own);
  FreeSlot(own);
  EXPECT_EQ(CurrentSlot(), -1);
  EXPECT_EQ(LastEventSlot(), -1);
  EXPECT_EQ(FocusSlot(), -1);
}

TEST_F(ThreadTable, TheThreadContextIsSavedAndRestored) {
  ClaimSlot(11, nullptr);
  ClaimSlot(12, nullptr);
  SwitchToSlot(1);
  SetLastEventSlot(0);
  ThreadContext saved = SaveThreadContext();
  SwitchToSlot(0);
  SetLastEventSlot(1);
  RestoreThreadContext(saved);
  EXPECT_EQ(CurrentSlot(), 1);
  EXPECT_EQ(LoadedSlot(), 1);
  EXPECT_EQ(LastEventSlot(), 0);
  SwitchToSlot(70);
  EXPECT_EQ(CurrentSlot(), 1) << "a slot outside the table is not switched to";
}

TEST_F(ThreadTable, TheLockLetsOneThreadInAtATime) {
  AcquireRuntimeLock();
  EXPECT_TRUE(CallingThreadOwnsRuntimeLock());
  std::atomic<bool> otherHasIt{false};
  std::atomic<bool> releaseRefused{false};
  std::thread other([&] {
    ReleaseRuntimeLock();  // not the owner: must not open the lock
    releaseRefused = RuntimeLockOwner() != GetCurrentThreadId();
    AcquireRuntimeLock();
    otherHasIt = true;
    ReleaseRuntimeLock();
  });
  Sleep(30);
  EXPECT_FALSE(otherHasIt.load()) << "the lock is held here";
  ReleaseRuntimeLock();
  other.join();
  EXPECT_TRUE(otherHasIt.load());
  EXPECT_TRUE(releaseRefused.load());
  EXPECT_EQ(RuntimeLockOwner(), 0u);
}

TEST_F(ThreadTable, AWindowProcedureOnTheOwningThreadDoesNotWaitForTheLock) {
  AcquireRuntimeLock();
  RaiseThreadsActive();
  {
    WindowProcedureLock entry;
    EXPECT_FALSE(entry.Taken());
  }
  EXPECT_TRUE(CallingThreadOwnsRuntimeLock());
  ReleaseRuntimeLock();
  {
    // With the lock free, a handler takes it and gives it back.
    WindowProcedureLock entry;
    EXPECT_TRUE(entry.Taken());
    EXPECT_TRUE(CallingThreadOwnsRuntimeLock());
  }
  EXPECT_EQ(RuntimeLockOwner(), 0u);
  LowerThreadsActive();
  {
    WindowProcedureLock entry;
    EXPECT_FALSE(entry.Taken()) << "with one thread, handlers run without the lock";
  }
}

TEST_F(ThreadTable, ABlockingPlatformCallGivesTheLockUpWhileItRuns) {
  ASSERT_EQ(EnterRuntimeThread(), 0);
  {
    BlockingPlatformCall call;
    EXPECT_FALSE(CallingThreadOwnsRuntimeLock());
    EXPECT_GT(ThreadsActive(), 0);
    {
      BlockingPlatformCall nested;
      EXPECT_FALSE(CallingThreadOwnsRuntimeLock());
    }
    EXPECT_FALSE(CallingThreadOwnsRuntimeLock()) << "only the outermost call takes the lock back";
  }
  EXPECT_TRUE(CallingThreadOwnsRuntimeLock());
  EXPECT_EQ(ThreadsActive(), 0);
  EXPECT_EQ(CurrentSlot(), 0);
  LeaveRuntimeThread();
}

TEST(EventCodes, NamesFollowTheNumbering) {
  EXPECT_STREQ(EventName(EVENT_Accepted), "EVENT:Accepted");
  EXPECT_STREQ(EventName(0x1401 + 29), "EVENT:ColumnResize");
  EXPECT_STREQ(EventName(0x1401 + 17), "EVENT:Drag");
  EXPECT_EQ(EventName(0x1401 + 30), nullptr);
  EXPECT_STREQ(EventName(0x1501), "EVENT:Selected");
  EXPECT_STREQ(EventName(0x1603), "EVENT:OpenWindow");
  EXPECT_EQ(EventName(0x1607), nullptr) << "0x1607 is not used";
  EXPECT_STREQ(EventName(0x1608), "EVENT:Suspend");
  EXPECT_STREQ(EventName(0x1611), "EVENT:DDEclosed");
  EXPECT_STREQ(EventName(0x1625), "EVENT:Completed");
  EXPECT_STREQ(EventName(0x1634), "EVENT:Iconized");
  EXPECT_STREQ(EventName(0x1642), "EVENT:BuildDone");
  EXPECT_EQ(EventName(0x1400), nullptr);
  EXPECT_TRUE(IsFieldEvent(0x1401));
  EXPECT_TRUE(IsFieldEvent(0x141E));
  EXPECT_FALSE(IsFieldEvent(0x141F));
  EXPECT_FALSE(IsFieldEvent(EVENT_Selected));
  EXPECT_TRUE(IsRefusableEvent(EVENT_Iconize));
  EXPECT_TRUE(IsRefusableEvent(EVENT_PreAlert));
  EXPECT_FALSE(IsRefusableEvent(EVENT_Iconized));
}

}  // namespace
}  // namespace vel::windows
