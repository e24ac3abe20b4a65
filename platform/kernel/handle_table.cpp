#include "platform/kernel/handle_table.h"

namespace vel::platform {

HandleTable& HandleTable::Instance() {
  static HandleTable* table = new HandleTable();  // Threads may still close handles during exit.
  return *table;
}

HANDLE HandleTable::Add(std::shared_ptr<KernelObject> object) {
  std::lock_guard<std::mutex> lock(m_mutex);
  // Values are never reused, so a handle closed twice cannot reach a newer object.
  m_next += 4;
  m_objects.emplace(m_next, std::move(object));
  return reinterpret_cast<HANDLE>(m_next);
}

std::shared_ptr<KernelObject> HandleTable::Find(HANDLE handle) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = m_objects.find(reinterpret_cast<uintptr_t>(handle));
    if (found != m_objects.end()) return found->second;
  }
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

bool HandleTable::Close(HANDLE handle) {
  std::shared_ptr<KernelObject> released;  // Destroyed outside the lock.
  std::lock_guard<std::mutex> lock(m_mutex);
  auto found = m_objects.find(reinterpret_cast<uintptr_t>(handle));
  if (found == m_objects.end()) return false;
  released = std::move(found->second);
  m_objects.erase(found);
  return true;
}

}  // namespace vel::platform

BOOL WINAPI CloseHandle(HANDLE hObject) {
  if (!vel::platform::HandleTable::Instance().Close(hObject)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
