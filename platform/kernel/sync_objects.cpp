// Semaphores, events and the waits on them, all on WaitHub.

#include <chrono>
#include <memory>
#include <vector>

#include "platform/kernel/handle_table.h"
#include "platform/kernel/wait_hub.h"
#include "platform/kernel/wait_objects.h"

namespace vel::platform {
namespace {

class Semaphore final : public KernelObject {
 public:
  Semaphore(LONG count, LONG maximum) : m_count(count), m_maximum(maximum) {}
  bool IsWaitable() const override { return true; }
  bool IsSignaledLocked() const override { return m_count > 0; }
  void AcquireLocked() override { --m_count; }
  /// False when the count would pass the maximum.
  bool ReleaseLocked(LONG amount, LONG* previous) {
    if (previous != nullptr) *previous = m_count;
    if (amount > m_maximum - m_count) return false;
    m_count += amount;
    return true;
  }

 private:
  LONG m_count;
  LONG m_maximum;
};

class Event final : public KernelObject {
 public:
  Event(bool manualReset, bool signaled) : m_manualReset(manualReset), m_signaled(signaled) {}
  bool IsWaitable() const override { return true; }
  bool IsSignaledLocked() const override { return m_signaled; }
  void AcquireLocked() override {
    if (!m_manualReset) m_signaled = false;
  }
  void SetLocked(bool signaled) { m_signaled = signaled; }

 private:
  bool m_manualReset;
  bool m_signaled;
};

}  // namespace

DWORD WaitForObjects(const HANDLE* handles, DWORD count, bool waitAll, DWORD milliseconds,
                     const std::function<bool()>& alsoReady) {
  if (count > MAXIMUM_WAIT_OBJECTS || (count == 0 && !alsoReady) || (count > 0 && handles == nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<KernelObject>> objects;
  objects.reserve(count);
  for (DWORD i = 0; i < count; ++i) {
    std::shared_ptr<KernelObject> object = HandleTable::Instance().Find(handles[i]);
    if (object == nullptr || !object->IsWaitable()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
    objects.push_back(std::move(object));
  }

  DWORD result = WAIT_TIMEOUT;
  auto ready = [&] {
    if (waitAll && count > 0) {
      bool all = true;
      for (const auto& object : objects) all = all && object->IsSignaledLocked();
      if (all) {
        for (const auto& object : objects) object->AcquireLocked();
        result = WAIT_OBJECT_0;
        return true;
      }
    } else {
      for (DWORD i = 0; i < count; ++i) {
        if (objects[i]->IsSignaledLocked()) {
          objects[i]->AcquireLocked();
          result = WAIT_OBJECT_0 + i;
          return true;
        }
      }
    }
    if (alsoReady && alsoReady()) {
      result = WAIT_OBJECT_0 + count;
      return true;
    }
    return false;
  };

  WaitHub& hub = WaitHub::Instance();
  std::unique_lock<std::mutex> lock(hub.Mutex());
  if (milliseconds == INFINITE) {
    hub.Wait(lock, ready);
  } else {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    if (!hub.WaitUntil(lock, deadline, ready)) return WAIT_TIMEOUT;
  }
  // Taking a semaphore count or an auto-reset signal changed state other waiters may watch.
  hub.NotifyLocked();
  return result;
}

}  // namespace vel::platform

using vel::platform::Event;
using vel::platform::HandleTable;
using vel::platform::Semaphore;
using vel::platform::WaitHub;

HANDLE WINAPI CreateSemaphoreA(LPSECURITY_ATTRIBUTES, LONG lInitialCount, LONG lMaximumCount, LPCSTR) {
  if (lMaximumCount <= 0 || lInitialCount < 0 || lInitialCount > lMaximumCount) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return HandleTable::Instance().Add(std::make_shared<Semaphore>(lInitialCount, lMaximumCount));
}

BOOL WINAPI ReleaseSemaphore(HANDLE hSemaphore, LONG lReleaseCount, LPLONG lpPreviousCount) {
  auto semaphore = HandleTable::Instance().FindAs<Semaphore>(hSemaphore);
  if (semaphore == nullptr) return FALSE;
  if (lReleaseCount <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  WaitHub& hub = WaitHub::Instance();
  std::lock_guard<std::mutex> lock(hub.Mutex());
  if (!semaphore->ReleaseLocked(lReleaseCount, lpPreviousCount)) {
    SetLastError(ERROR_TOO_MANY_POSTS);
    return FALSE;
  }
  hub.NotifyLocked();
  return TRUE;
}

HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCSTR) {
  return HandleTable::Instance().Add(std::make_shared<Event>(bManualReset != FALSE, bInitialState != FALSE));
}

namespace {
BOOL SignalEvent(HANDLE handle, bool signaled) {
  auto event = HandleTable::Instance().FindAs<Event>(handle);
  if (event == nullptr) return FALSE;
  WaitHub& hub = WaitHub::Instance();
  std::lock_guard<std::mutex> lock(hub.Mutex());
  event->SetLocked(signaled);
  hub.NotifyLocked();
  return TRUE;
}
}  // namespace

BOOL WINAPI SetEvent(HANDLE hEvent) { return SignalEvent(hEvent, true); }

BOOL WINAPI ResetEvent(HANDLE hEvent) { return SignalEvent(hEvent, false); }

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  return vel::platform::WaitForObjects(&hHandle, 1, false, dwMilliseconds);
}

DWORD WINAPI WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds) {
  return vel::platform::WaitForObjects(lpHandles, nCount, bWaitAll != FALSE, dwMilliseconds);
}
