#include "platform/bus/block_links.h"

#include <random>

namespace vel::platform::bus {
namespace {

std::uint64_t NewLinkId() {
  static std::mutex mutex;
  static std::mt19937_64 generator{std::random_device{}()};
  std::lock_guard lock(mutex);
  std::uint64_t id = 0;
  while (id == 0) id = generator();
  return id;
}

}  // namespace

std::uint64_t BlockLinks::LinkSent(HGLOBAL local, const std::string& peer) {
  std::uint64_t id = NewLinkId();
  std::lock_guard lock(m_mutex);
  m_links[{peer, id}] = Entry{local, 0, false};
  return id;
}

void BlockLinks::LinkReceived(HGLOBAL local, const std::string& peer, std::uint64_t id,
                              std::uint64_t peerHandle) {
  std::lock_guard lock(m_mutex);
  m_links[{peer, id}] = Entry{local, peerHandle, true};
}

std::optional<BlockLink> BlockLinks::ReceivedFrom(HGLOBAL local, const std::string& peer) {
  std::lock_guard lock(m_mutex);
  for (const auto& [key, entry] : m_links) {
    if (entry.local == local && entry.received && key.first == peer)
      return BlockLink{key.first, key.second, entry.peerHandle};
  }
  return std::nullopt;
}

std::optional<HGLOBAL> BlockLinks::TakeReturned(const std::string& peer, std::uint64_t id,
                                                std::uint64_t handle) {
  std::lock_guard lock(m_mutex);
  auto found = m_links.find({peer, id});
  if (found == m_links.end() || found->second.received ||
      reinterpret_cast<std::uint64_t>(found->second.local) != handle) {
    return std::nullopt;
  }
  HGLOBAL local = found->second.local;
  m_links.erase(found);
  return local;
}

std::optional<HGLOBAL> BlockLinks::TakeReleased(const std::string& peer, std::uint64_t id) {
  std::lock_guard lock(m_mutex);
  auto found = m_links.find({peer, id});
  if (found == m_links.end()) return std::nullopt;
  HGLOBAL local = found->second.local;
  m_links.erase(found);
  return local;
}

std::vector<BlockLink> BlockLinks::Forget(HGLOBAL local) {
  std::vector<BlockLink> ended;
  std::lock_guard lock(m_mutex);
  for (auto at = m_links.begin(); at != m_links.end();) {
    if (at->second.local == local) {
      ended.push_back(BlockLink{at->first.first, at->first.second, at->second.peerHandle});
      at = m_links.erase(at);
    } else {
      ++at;
    }
  }
  return ended;
}

void BlockLinks::Drop(const std::string& peer, std::uint64_t id) {
  std::lock_guard lock(m_mutex);
  m_links.erase({peer, id});
}

void BlockLinks::ForgetPeer(const std::string& peer) {
  std::lock_guard lock(m_mutex);
  std::erase_if(m_links, [&](const auto& link) { return link.first.first == peer; });
}

}  // namespace vel::platform::bus
