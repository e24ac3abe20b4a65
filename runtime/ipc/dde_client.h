#pragma once
// The DDE operations of a procedure, in plain C++: registering a server, opening a channel as a
// client, reading, poking, executing, closing, and a server's writing of data. Every client
// operation posts its request and waits for the reply (looking only for that reply), up to the
// DDE time-out on the platform clock; when it passes, error 605. Failures set the error state:
// 601 for a number that names no channel, 602 for a conversation that has ended, 603 and 604
// for an execute or poke the server refused.

#include <cstdint>
#include <string>
#include <string_view>

namespace vel::windows {
struct WindowObject;
}

namespace vel::ipc {

/// The time-out a program starts with, in milliseconds.
inline constexpr std::uint32_t kDefaultDdeTimeout = 5000;

/// Sets the time-out of client waits (milliseconds; 0 restores the default).
void SetDdeTimeout(std::uint32_t milliseconds);
std::uint32_t DdeTimeout();

/// Registers a server object for an application and topic (empty: any topic) on `window`.
/// Returns its number, or 0 (error 536) when the window is not open.
std::int32_t RegisterDdeServer(windows::WindowObject* window, std::string_view application,
                               std::string_view topic);
/// Removes a server object: its window no longer answers for it.
void UnregisterDdeServer(std::int32_t server);

/// Opens a channel from `window` to the server of an application and topic: the initiate goes
/// to every top-level window, of this program and of others. Returns the channel number, or 0
/// (error 602) when no server answered.
std::int32_t OpenDdeChannel(windows::WindowObject* window, std::string_view application,
                            std::string_view topic);

/// Asks the server for an item as text. A refusal gives the empty text.
std::string DdeRequest(std::int32_t channel, std::string_view item);
/// Sends an item's new value to the server (error 604 when refused).
void DdePoke(std::int32_t channel, std::string_view item, std::string_view value);
/// Has the server carry out a command (error 603 when refused).
void DdeExecute(std::int32_t channel, std::string_view command);
/// Ends a conversation: the partner is told and its answer awaited; the channel is gone after.
void CloseDdeChannel(std::int32_t channel);

/// On a server's channel: sends an item's value to the client, as the answer to the request
/// the procedure is handling for that item, or else as an update of an advised item.
void DdeWrite(std::int32_t channel, std::string_view item, std::string_view value);

}  // namespace vel::ipc
