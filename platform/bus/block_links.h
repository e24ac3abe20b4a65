#pragma once
// Global blocks that exist in two programs at once. A block sent to another program arrives
// there as a copy, and the protocol lets either side free it: freeing one copy frees the other
// (the program bus sends a release notice), and a copy sent back to the program it came from
// arrives as that program's own block again. Each pair has a random 64-bit number, so a stale
// notice can never free a block that merely reuses an old handle value.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "win32.h"

namespace vel::platform::bus {

/// One side of a linked pair, as this program sees it.
struct BlockLink {
  std::string peer;
  std::uint64_t id = 0;
  /// The block's handle in the peer (known for blocks the peer sent; 0 for ours).
  std::uint64_t peerHandle = 0;
};

class BlockLinks {
 public:
  /// Links a block of this program to the copy about to be made in `peer`. Returns the pair's id.
  std::uint64_t LinkSent(HGLOBAL local, const std::string& peer);
  /// Links a copy made here of the peer's block `peerHandle`.
  void LinkReceived(HGLOBAL local, const std::string& peer, std::uint64_t id, std::uint64_t peerHandle);
  /// The link of a local block that came from `peer`, if it did.
  std::optional<BlockLink> ReceivedFrom(HGLOBAL local, const std::string& peer);
  /// A block of this program that `peer` sends back: valid only when the pair exists and its
  /// block is `handle`. The pair ends.
  std::optional<HGLOBAL> TakeReturned(const std::string& peer, std::uint64_t id, std::uint64_t handle);
  /// The peer freed its copy: ends the pair and gives the local copy to free.
  std::optional<HGLOBAL> TakeReleased(const std::string& peer, std::uint64_t id);
  /// A local block was freed (or is being freed silently): ends its pairs and returns them.
  std::vector<BlockLink> Forget(HGLOBAL local);
  /// Ends one pair without freeing anything (a delivery that did not happen).
  void Drop(const std::string& peer, std::uint64_t id);
  /// The peer left: every pair with it ends; the local blocks stay.
  void ForgetPeer(const std::string& peer);

 private:
  struct Entry {
    HGLOBAL local = nullptr;
    std::uint64_t peerHandle = 0;
    bool received = false;
  };
  std::mutex m_mutex;
  std::map<std::pair<std::string, std::uint64_t>, Entry> m_links;
};

}  // namespace vel::platform::bus
