#pragma once
// Kernel objects and the process's handle table. A HANDLE is a number the table maps to a
// shared object, so a stale or made-up handle is refused (ERROR_INVALID_HANDLE) instead of
// being dereferenced, and an object lives until its last handle is closed and its last user
// (a running thread, a wait in progress) lets go.

#include <memory>
#include <mutex>
#include <unordered_map>

#include "win32.h"

namespace vel::platform {

class KernelObject {
 public:
  virtual ~KernelObject() = default;
  /// Whether a wait on the object can be satisfied now. Called with WaitHub's mutex held.
  virtual bool IsSignaledLocked() const { return false; }
  /// Takes what a satisfied wait takes (a semaphore count, an auto-reset event's signal).
  /// Called with WaitHub's mutex held, right after IsSignaledLocked() said yes.
  virtual void AcquireLocked() {}
  /// Whether the object can be waited on at all.
  virtual bool IsWaitable() const { return false; }
};

class HandleTable {
 public:
  static HandleTable& Instance();

  /// A new handle for the object.
  HANDLE Add(std::shared_ptr<KernelObject> object);

  /// The object behind the handle, or null (and ERROR_INVALID_HANDLE) for an unknown handle.
  std::shared_ptr<KernelObject> Find(HANDLE handle);

  /// The object if it is of type T, else null with ERROR_INVALID_HANDLE.
  template <typename T>
  std::shared_ptr<T> FindAs(HANDLE handle) {
    std::shared_ptr<T> object = std::dynamic_pointer_cast<T>(Find(handle));
    if (object == nullptr) SetLastError(ERROR_INVALID_HANDLE);
    return object;
  }

  /// Forgets the handle; false when it was not open.
  bool Close(HANDLE handle);

 private:
  std::mutex m_mutex;
  std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> m_objects;
  uintptr_t m_next = 0x1000;
};

/// The pseudo-handles of GetCurrentProcess and GetCurrentThread.
inline HANDLE CurrentProcessPseudoHandle() { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)); }
inline HANDLE CurrentThreadPseudoHandle() { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-2)); }

}  // namespace vel::platform
