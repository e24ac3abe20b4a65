#pragma once
// The program's connection to the desktop session's message bus: the one place that speaks the
// bus protocol. A thread of its own owns the connection; other threads hand it work and get
// their answers through callbacks, which run on that thread and must not block.
//
// Every runtime program owns a bus name of its own ("io.velmora.Program.P<process id>") and
// answers a small interface on it: deliver a window message, tell whether a window exists, list
// its top-level windows, and the one-way notices of the exchange (a linked block released, a
// posted message settled, a started program settled).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/bus/bus_wire.h"

namespace vel::platform::bus {

/// The prefix of every runtime program's well-known bus name.
inline constexpr const char* kProgramNamePrefix = "io.velmora.Program.P";

/// A delivery from another program that is answered later, from any thread.
using CallToken = std::uint64_t;

/// What arrives from other programs. Called on the bus thread; must not block.
class BusEvents {
 public:
  virtual ~BusEvents() = default;
  /// A message for one of this program's windows; answer it with BusConnection::Answer.
  /// `sender` is the peer's unique bus name.
  virtual void Delivered(const std::string& sender, Delivery delivery, CallToken call) = 0;
  virtual bool IsOwnWindow(std::uint64_t handle) = 0;
  virtual std::vector<TopLevelInfo> OwnTopLevels() = 0;
  /// The peer freed its copy of a linked block.
  virtual void Released(const std::string& sender, std::uint64_t link) = 0;
  /// The peer has handled everything up to the post with this ticket.
  virtual void Settled(const std::string& sender, std::uint64_t ticket) = 0;
  /// A program this one started (process id) waits for input.
  virtual void ChildSettled(std::uint64_t processId) = 0;
  /// A peer's connection is gone (unique name).
  virtual void PeerVanished(const std::string& uniqueName) = 0;
};

class BusConnection {
 public:
  /// Connects to the session bus, takes a name and starts the bus thread. Null, with the reason
  /// in `failure`, when there is no bus.
  static std::unique_ptr<BusConnection> Open(BusEvents& events, std::string& failure);
  ~BusConnection();
  BusConnection(const BusConnection&) = delete;
  BusConnection& operator=(const BusConnection&) = delete;

  /// This program's unique name (":1.42"), which identifies its windows to others.
  const std::string& UniqueName() const;
  /// This program's well-known name.
  const std::string& WellKnownName() const;
  bool OnBusThread() const;

  /// Delivers a message to a peer (a unique or well-known name). `done` gets whether the peer
  /// took it and, for a send, the window procedure's answer.
  void Deliver(const std::string& peer, Delivery delivery,
               std::function<void(bool taken, std::int64_t result)> done);
  void AskIsWindow(const std::string& peer, std::uint64_t handle, std::function<void(bool exists)> done);
  void AskTopLevels(const std::string& peer, std::function<void(std::vector<TopLevelInfo>)> done);
  /// The unique names of the other runtime programs on the bus.
  void ListPeers(std::function<void(std::vector<std::string>)> done);

  void Release(const std::string& peer, std::uint64_t link);
  void Settled(const std::string& peer, std::uint64_t ticket);
  /// Tells the program with this process id that this one, which it started, waits for input.
  void ChildSettled(std::uint64_t parentProcessId);

  /// Answers a delivery: whether it was taken and the result for a send.
  void Answer(CallToken call, bool taken, std::int64_t result);

 private:
  struct Impl;
  explicit BusConnection(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> m_impl;
};

/// The process id in a runtime program's well-known name, or 0.
std::uint64_t ProcessOfProgramName(const std::string& name);

}  // namespace vel::platform::bus
