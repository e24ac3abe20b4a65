#pragma once
// One process-wide place where every waiting thread sleeps: kernel objects (semaphores, events,
// threads) and message queues announce changes here, so a wait on objects and messages together
// (MsgWaitForMultipleObjects) needs no polling. A change wakes every waiter, which rechecks its
// own condition; the process has few threads, so that costs little.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace vel::platform {

class WaitHub {
 public:
  static WaitHub& Instance();

  /// The lock that guards every waitable state change.
  std::mutex& Mutex() { return m_mutex; }

  /// Called with Mutex() held after any state a waiter may be waiting for has changed.
  void NotifyLocked();

  /// Waits (Mutex() held through `lock`) until `ready()` is true or the deadline passes.
  /// Returns ready()'s final answer.
  template <typename Predicate>
  bool WaitUntil(std::unique_lock<std::mutex>& lock, std::chrono::steady_clock::time_point deadline,
                 Predicate ready) {
    return m_changed.wait_until(lock, deadline, ready);
  }

  template <typename Predicate>
  void Wait(std::unique_lock<std::mutex>& lock, Predicate ready) {
    m_changed.wait(lock, ready);
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
};

}  // namespace vel::platform
