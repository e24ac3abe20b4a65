#pragma once
// Work that other programs are doing for this one: a message another program has not finished
// handling, a program this one started that has not yet settled down to wait for input. A
// virtual clock must not jump over such work, or a reply that takes a few real milliseconds
// would arrive after every wait for it had already timed out; the headless display asks here
// before it moves its clock to the next timer. Each piece of work has a real-time limit, so a
// peer that hangs only delays the virtual clock, never stops it.

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>

namespace vel::platform {

class ExternalWork {
 public:
  static ExternalWork& Instance();

  /// Notes work that may take up to `limit` of real time. Returns its ticket.
  std::uint64_t Begin(std::chrono::milliseconds limit);
  /// The work is done (or will never be): a ticket ended twice, or never begun, is ignored.
  void End(std::uint64_t ticket);
  /// True while any work is neither ended nor past its limit.
  bool Pending();

  /// A program this one started (process id). Noted only while settling can be observed
  /// (SetChildSettlingObservable): otherwise nothing could end it before its limit.
  void ChildStarted(long processId);
  /// The started program waits for input, or has ended.
  void ChildSettled(long processId);
  /// Whether started programs report when they settle (the program bus says so once connected).
  void SetChildSettlingObservable(bool observable);

 private:
  std::mutex m_mutex;
  std::uint64_t m_nextTicket = 1;
  std::map<std::uint64_t, std::chrono::steady_clock::time_point> m_work;
  std::map<long, std::uint64_t> m_children;
  bool m_childSettlingObservable = false;
};

}  // namespace vel::platform
