#pragma once
// The program bus: window messages between runtime programs over the desktop session's
// message bus. It is the window manager's carrier of foreign windows (foreign_windows.h): a
// message to another program's window, or a broadcast, is encoded (message_shapes.h,
// param_codec.h) and delivered to that program, which makes its parameters local and queues or
// sends the message to its own window. Sent messages wait for the answer while the waiting
// thread goes on handling what is sent to it, so two programs sending to each other never
// deadlock; a program that leaves the bus fails every delivery to it at once.
//
// A posted message counts as work another program does for this one (ExternalWork) until that
// program's receiving thread next runs out of things to do, so a virtual clock waits for the
// answer instead of timing out first.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/bus/block_links.h"
#include "platform/bus/bus_connection.h"
#include "platform/bus/foreign_handles.h"
#include "platform/bus/message_shapes.h"
#include "platform/bus/param_codec.h"
#include "platform/user/foreign_windows.h"

namespace vel::platform::bus {

class ProgramBus final : public ForeignWindows, public BusEvents {
 public:
  /// Connects; null (with the reason) when there is no session bus.
  static std::unique_ptr<ProgramBus> Connect(std::string& failure);
  ~ProgramBus() override;

  // ForeignWindows.
  bool IsWindow(HWND window) override;
  DWORD ProcessOf(HWND window) override;
  LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void Broadcast(bool send, UINT message, WPARAM wParam, LPARAM lParam) override;
  std::vector<std::pair<std::string, HANDLE>>* Properties(HWND window) override;
  HWND OtherProgramTopLevelAt(POINT screenPoint) override;

  /// The top-level windows of every other program, with handles of this program for them.
  std::vector<std::pair<HWND, TopLevelInfo>> OtherProgramsTopLevels();

  const std::string& UniqueName() const { return m_connection->UniqueName(); }
  const std::string& WellKnownName() const { return m_connection->WellKnownName(); }

  // BusEvents (bus thread).
  void Delivered(const std::string& sender, Delivery delivery, CallToken call) override;
  bool IsOwnWindow(std::uint64_t handle) override;
  std::vector<TopLevelInfo> OwnTopLevels() override;
  void Released(const std::string& sender, std::uint64_t link) override;
  void Settled(const std::string& sender, std::uint64_t ticket) override;
  void ChildSettled(std::uint64_t processId) override;
  void PeerVanished(const std::string& uniqueName) override;

  /// A thread of this program ran out of work (ThreadIdleObserver).
  void ThreadIdle(DWORD threadId, std::uint64_t changesSeen);
  /// A global block of this program was freed (GlobalFreeObserver).
  void BlockFreed(HGLOBAL block);

 private:
  struct OwedSettle {
    DWORD threadId = 0;
    std::uint64_t changesAfter = 0;
    std::string peer;
    std::uint64_t ticket = 0;
  };
  struct OutstandingPost {
    std::string peer;
    std::uint64_t work = 0;
  };
  struct SendChain;

  ProgramBus() = default;
  CodecContext Context(const std::string& peer);
  /// Delivers an encoded message and waits, handling messages sent to this thread meanwhile.
  bool DeliverAndWait(const std::string& peer, Delivery delivery, std::int64_t& result);
  /// The other programs on the bus, waiting as DeliverAndWait does.
  std::vector<std::string> ListPeersAndWait();
  void DeliverPosted(const std::string& sender, const Delivery& delivery, const ParamShape& shape,
                     const std::vector<HWND>& targets, CallToken call);
  void SendNext(std::shared_ptr<SendChain> chain);
  void OweSettle(DWORD threadId, const std::string& peer, std::uint64_t ticket);

  std::unique_ptr<BusConnection> m_connection;
  ForeignHandles m_windows;
  BlockLinks m_links;

  std::mutex m_settleMutex;
  std::vector<OwedSettle> m_owed;
  /// The queue change count each thread had seen when it last ran out of work.
  std::map<DWORD, std::uint64_t> m_lastIdle;
  std::map<std::uint64_t, OutstandingPost> m_outstanding;
  std::uint64_t m_nextTicket = 1;
  bool m_toldParent = false;
};

/// The program bus when connected, else null.
ProgramBus* CurrentProgramBus();

}  // namespace vel::platform::bus
