#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/kernel/wait_hub.h"
#include "platform/kernel/wait_objects.h"
#include "win32.h"

namespace {

using Clock = std::chrono::steady_clock;

long ElapsedMs(Clock::time_point start) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

TEST(Semaphores, CountLimitsAndTimeouts) {
  HANDLE semaphore = CreateSemaphoreA(nullptr, 1, 2, nullptr);
  ASSERT_NE(semaphore, nullptr);
  EXPECT_EQ(WaitForSingleObject(semaphore, 0), static_cast<DWORD>(WAIT_OBJECT_0));
  auto start = Clock::now();
  EXPECT_EQ(WaitForSingleObject(semaphore, 30), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_GE(ElapsedMs(start), 29);
  LONG previous = -1;
  EXPECT_TRUE(ReleaseSemaphore(semaphore, 2, &previous));
  EXPECT_EQ(previous, 0);
  EXPECT_FALSE(ReleaseSemaphore(semaphore, 1, &previous));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TOO_MANY_POSTS));
  EXPECT_EQ(previous, 2);
  EXPECT_FALSE(ReleaseSemaphore(semaphore, 0, nullptr));
  EXPECT_EQ(CreateSemaphoreA(nullptr, 3, 2, nullptr), nullptr);
  EXPECT_EQ(CreateSemaphoreA(nullptr, 0, 0, nullptr), nullptr);
  EXPECT_TRUE(CloseHandle(semaphore));
  EXPECT_FALSE(CloseHandle(semaphore));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_FAILED);
}

TEST(Events, ManualAndAutoResetAcrossThreads) {
  HANDLE manual = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE automatic = CreateEventA(nullptr, FALSE, TRUE, nullptr);
  EXPECT_EQ(WaitForSingleObject(automatic, 0), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(WaitForSingleObject(automatic, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "auto-reset after one wait";

  std::thread setter([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    SetEvent(manual);
  });
  EXPECT_EQ(WaitForSingleObject(manual, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
  setter.join();
  EXPECT_EQ(WaitForSingleObject(manual, 0), static_cast<DWORD>(WAIT_OBJECT_0)) << "manual stays set";
  EXPECT_TRUE(ResetEvent(manual));
  EXPECT_EQ(WaitForSingleObject(manual, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_FALSE(SetEvent(reinterpret_cast<HANDLE>(0x12345)));
  CloseHandle(manual);
  CloseHandle(automatic);
}

TEST(Waits, AnyTakesTheFirstSignalledAndAllTakesEveryOneAtOnce) {
  HANDLE first = CreateSemaphoreA(nullptr, 0, 5, nullptr);
  HANDLE second = CreateSemaphoreA(nullptr, 1, 5, nullptr);
  HANDLE both[] = {first, second};
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), static_cast<DWORD>(WAIT_OBJECT_0 + 1));
  ReleaseSemaphore(second, 1, nullptr);
  // waitAll must not take the count of `second` while `first` is still unsignalled.
  EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 20), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(WaitForSingleObject(second, 0), static_cast<DWORD>(WAIT_OBJECT_0));
  ReleaseSemaphore(second, 1, nullptr);
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ReleaseSemaphore(first, 1, nullptr);
  });
  EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
  releaser.join();
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(WaitForMultipleObjects(0, both, FALSE, 0), WAIT_FAILED);
  EXPECT_EQ(WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS + 1, both, FALSE, 0), WAIT_FAILED);
  HANDLE withBad[] = {first, reinterpret_cast<HANDLE>(0x99999)};
  EXPECT_EQ(WaitForMultipleObjects(2, withBad, FALSE, 0), WAIT_FAILED);
  CloseHandle(first);
  CloseHandle(second);
}

TEST(Waits, AnExtraConditionEndsTheWaitLikeAMessageWould) {
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  bool messageArrived = false;
  std::thread poster([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    auto& hub = vel::platform::WaitHub::Instance();
    std::lock_guard<std::mutex> lock(hub.Mutex());
    messageArrived = true;
    hub.NotifyLocked();
  });
  EXPECT_EQ(vel::platform::WaitForObjects(&event, 1, false, 5000, [&] { return messageArrived; }),
            static_cast<DWORD>(WAIT_OBJECT_0 + 1));
  poster.join();
  SetEvent(event);
  EXPECT_EQ(vel::platform::WaitForObjects(&event, 1, false, 0, [&] { return true; }), static_cast<DWORD>(WAIT_OBJECT_0))
      << "objects come before the extra condition";
  CloseHandle(event);
}

DWORD WINAPI AddAndReturn(LPVOID parameter) {
  auto* counter = static_cast<std::atomic<int>*>(parameter);
  counter->fetch_add(1);
  return 42;
}

TEST(Threads, HandlesAreWaitableAndKeepTheExitCode) {
  std::atomic<int> counter{0};
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, AddAndReturn, &counter, CREATE_SUSPENDED, &id);
  ASSERT_NE(thread, nullptr);
  EXPECT_NE(id, 0u);
  EXPECT_NE(id, GetCurrentThreadId());
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(WaitForSingleObject(thread, 20), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(counter.load(), 0) << "a suspended thread must not run";
  EXPECT_EQ(ResumeThread(thread), 1u);
  EXPECT_EQ(WaitForSingleObject(thread, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(WaitForSingleObject(thread, 0), static_cast<DWORD>(WAIT_OBJECT_0)) << "stays signalled";
  EXPECT_EQ(counter.load(), 1);
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, 42u);
  EXPECT_TRUE(CloseHandle(thread));
  EXPECT_EQ(GetCurrentThreadId(), GetCurrentThreadId());
}

// A thread-local object whose destructor takes a while and then records that it ran.
std::atomic<bool> g_teardownDone{false};
struct SlowTeardown {
  bool used = false;
  ~SlowTeardown() {
    if (!used) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    g_teardownDone = true;
  }
};
thread_local SlowTeardown t_slowTeardown;

DWORD WINAPI UseSlowTeardown(LPVOID) {
  t_slowTeardown.used = true;
  return 7;
}

TEST(Threads, AHandleIsSignalledOnlyAfterTheThreadsOwnTeardown) {
  g_teardownDone = false;
  HANDLE thread = CreateThread(nullptr, 0, UseSlowTeardown, nullptr, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_EQ(WaitForSingleObject(thread, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_TRUE(g_teardownDone) << "a program that waited for its threads may end at once";
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, 7u);
  CloseHandle(thread);
}

TEST(CriticalSections, AreRecursiveAndExcludeOtherThreads) {
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  EnterCriticalSection(&section);
  EXPECT_TRUE(TryEnterCriticalSection(&section));
  EXPECT_EQ(section.RecursionCount, 2);
  bool otherGotIn = true;
  std::thread other([&] { otherGotIn = TryEnterCriticalSection(&section) != FALSE; });
  other.join();
  EXPECT_FALSE(otherGotIn);
  LeaveCriticalSection(&section);
  LeaveCriticalSection(&section);
  EXPECT_EQ(section.RecursionCount, 0);
  std::thread again([&] {
    otherGotIn = TryEnterCriticalSection(&section) != FALSE;
    if (otherGotIn) LeaveCriticalSection(&section);
  });
  again.join();
  EXPECT_TRUE(otherGotIn);
  LeaveCriticalSection(&section);  // Not held: ignored rather than corrupting the lock.
  EXPECT_TRUE(TryEnterCriticalSection(&section));
  LeaveCriticalSection(&section);
  DeleteCriticalSection(&section);
}

}  // namespace
