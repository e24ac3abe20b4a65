#pragma once
// DDE channels: one per conversation a runtime window holds, as a server (a server object
// answered a client's initiate) or as a client (the procedure opened it). A procedure names a
// channel by its number; the window procedure finds it by the two windows of the conversation.

#include <cstdint>
#include <string>
#include <vector>

#include "win32.h"

namespace vel::ipc {

/// DDE error codes.
inline constexpr std::int32_t kErrorInvalidChannel = 601;       ///< "Invalid DDE channel"
inline constexpr std::int32_t kErrorChannelNotOpen = 602;       ///< "DDE channel is not open"
inline constexpr std::int32_t kErrorExecuteRefused = 603;       ///< "DDEexecute - invalid command"
inline constexpr std::int32_t kErrorPokeRefused = 604;          ///< "DDEpoke - invalid command"
inline constexpr std::int32_t kErrorTransactionTimedOut = 605;  ///< "DDE transaction timed out"

struct DdeChannel {
  std::int32_t number = 0;
  /// The runtime window that holds the conversation.
  HWND own = nullptr;
  /// The other side's window; null once the conversation has ended.
  HWND partner = nullptr;
  /// True when this side is the server.
  bool server = false;
  std::string application;
  std::string topic;
  /// The data block of the transaction in progress (an execute's command), or null.
  HGLOBAL transaction = nullptr;
};

/// Opens a channel between a runtime window and a partner and returns it (numbers count up
/// from 1 and are never reused).
DdeChannel& AddChannel(HWND own, HWND partner, bool server, std::string application, std::string topic);
/// The channel with a number, or null.
DdeChannel* FindChannel(std::int32_t number);
/// The open channel between two windows, or null.
DdeChannel* FindChannel(HWND own, HWND partner);
/// Forgets a channel.
void RemoveChannel(std::int32_t number);
/// The channels a window holds.
std::vector<DdeChannel*> ChannelsOf(HWND own);

/// The channel a procedure names, checked: error 601 for a number that names none, 602 for a
/// conversation that has ended; null then.
DdeChannel* OpenChannelOrError(std::int32_t number);

}  // namespace vel::ipc
