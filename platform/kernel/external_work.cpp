#include "platform/kernel/external_work.h"

#include "platform/kernel/wait_hub.h"

namespace vel::platform {
namespace {

// How long a started program may take to settle before the virtual clock goes on without it.
constexpr std::chrono::milliseconds kChildSettleLimit{10000};

void WakeWaiters() {
  WaitHub& hub = WaitHub::Instance();
  std::lock_guard lock(hub.Mutex());
  hub.NotifyLocked();
}

}  // namespace

ExternalWork& ExternalWork::Instance() {
  static auto* instance = new ExternalWork();
  return *instance;
}

std::uint64_t ExternalWork::Begin(std::chrono::milliseconds limit) {
  std::lock_guard lock(m_mutex);
  std::uint64_t ticket = m_nextTicket++;
  m_work.emplace(ticket, std::chrono::steady_clock::now() + limit);
  return ticket;
}

void ExternalWork::End(std::uint64_t ticket) {
  {
    std::lock_guard lock(m_mutex);
    if (m_work.erase(ticket) == 0) return;
  }
  // Threads that held back from moving the clock look again.
  WakeWaiters();
}

bool ExternalWork::Pending() {
  std::lock_guard lock(m_mutex);
  auto now = std::chrono::steady_clock::now();
  std::erase_if(m_work, [now](const auto& entry) { return entry.second <= now; });
  return !m_work.empty();
}

void ExternalWork::ChildStarted(long processId) {
  {
    std::lock_guard lock(m_mutex);
    if (!m_childSettlingObservable) return;
  }
  std::uint64_t ticket = Begin(kChildSettleLimit);
  std::lock_guard lock(m_mutex);
  m_children[processId] = ticket;
}

void ExternalWork::ChildSettled(long processId) {
  std::uint64_t ticket = 0;
  {
    std::lock_guard lock(m_mutex);
    auto found = m_children.find(processId);
    if (found == m_children.end()) return;
    ticket = found->second;
    m_children.erase(found);
  }
  End(ticket);
}

void ExternalWork::SetChildSettlingObservable(bool observable) {
  std::lock_guard lock(m_mutex);
  m_childSettlingObservable = observable;
}

}  // namespace vel::platform
