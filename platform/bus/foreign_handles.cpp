#include "platform/bus/foreign_handles.h"

#include "platform/user/foreign_windows.h"

namespace vel::platform::bus {

HWND ForeignHandles::HandleFor(const std::string& owner, std::uint64_t remote, std::uint64_t processId) {
  std::lock_guard lock(m_mutex);
  auto key = std::make_pair(owner, remote);
  if (auto found = m_byRemote.find(key); found != m_byRemote.end()) return found->second;
  auto handle = reinterpret_cast<HWND>(kFirstForeignHandle + 2 * m_next++);
  if (!IsForeignHandle(handle)) return nullptr;  // The range is used up: the window stays unnamed.
  auto window = std::make_unique<ForeignWindow>();
  window->handle = handle;
  window->owner = owner;
  window->remote = remote;
  window->processId = processId;
  m_byHandle.emplace(handle, std::move(window));
  m_byRemote.emplace(key, handle);
  return handle;
}

std::optional<ForeignWindow> ForeignHandles::Find(HWND handle) {
  std::lock_guard lock(m_mutex);
  auto found = m_byHandle.find(handle);
  if (found == m_byHandle.end()) return std::nullopt;
  ForeignWindow copy;
  copy.handle = found->second->handle;
  copy.owner = found->second->owner;
  copy.remote = found->second->remote;
  copy.processId = found->second->processId;
  copy.gone = found->second->gone;
  return copy;
}

std::vector<std::pair<std::string, HANDLE>>* ForeignHandles::Properties(HWND handle) {
  std::lock_guard lock(m_mutex);
  auto found = m_byHandle.find(handle);
  return found != m_byHandle.end() ? &found->second->properties : nullptr;
}

void ForeignHandles::OwnerGone(const std::string& owner) {
  std::lock_guard lock(m_mutex);
  for (auto& [handle, window] : m_byHandle) {
    if (window->owner == owner) window->gone = true;
  }
}

}  // namespace vel::platform::bus
