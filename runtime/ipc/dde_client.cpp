#include "runtime/ipc/dde_client.h"

#include <string>

#include "runtime/ipc/dde_channels.h"
#include "runtime/ipc/dde_data.h"
#include "runtime/ipc/dde_events.h"
#include "runtime/ipc/dde_servers.h"
#include "runtime/ipc/dde_window_messages.h"
#include "runtime/ipc/timed_message_wait.h"
#include "runtime/services/error_state.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_errors.h"

namespace vel::ipc {
namespace {

std::uint32_t g_timeout = kDefaultDdeTimeout;

HWND Own(const DdeChannel& channel) { return channel.own; }

// The channel's window must still be this thread's to wait on it.
bool Usable(const DdeChannel& channel) { return IsWindow(channel.own) != FALSE; }

// Posts a request on a channel; a post that fails closes the channel (error 602).
bool PostRequest(DdeChannel& channel, UINT message, LPARAM lParam) {
  if (PostMessageA(channel.partner, message, reinterpret_cast<WPARAM>(channel.own), lParam)) return true;
  channel.partner = nullptr;
  services::SetError(kErrorChannelNotOpen);
  return false;
}

// Waits for the partner's reply in [first, last]. Replies of other conversations of the same
// window are handled as the window handles them. Error 605 when the time-out passes; 602 when
// the partner's window is gone.
bool AwaitReply(DdeChannel& channel, UINT first, UINT last, MSG& reply) {
  std::int32_t number = channel.number;
  TimedMessageWait wait(Own(channel), g_timeout);
  while (wait.Next(first, last, reply)) {
    DdeChannel* current = FindChannel(number);
    if (current == nullptr) return false;
    if (reinterpret_cast<HWND>(reply.wParam) == current->partner) return true;
    DispatchMessageA(&reply);
    current = FindChannel(number);
    if (current == nullptr || current->partner == nullptr || !IsWindow(current->partner)) {
      if (current != nullptr) current->partner = nullptr;
      services::SetError(kErrorChannelNotOpen);
      return false;
    }
  }
  services::SetError(kErrorTransactionTimedOut);
  return false;
}

// Reads an acknowledgement: its status, and the value it carries back.
bool ReadAck(const MSG& reply, UINT_PTR& value) {
  UINT_PTR status = 0;
  value = 0;
  if (!UnpackDDElParam(WM_DDE_ACK, reply.lParam, &status, &value)) return false;
  FreeDDElParam(WM_DDE_ACK, reply.lParam);
  return IsPositiveAck(static_cast<WORD>(status));
}

}  // namespace

void SetDdeTimeout(std::uint32_t milliseconds) {
  g_timeout = milliseconds != 0 ? milliseconds : kDefaultDdeTimeout;
}

std::uint32_t DdeTimeout() { return g_timeout; }

std::int32_t RegisterDdeServer(windows::WindowObject* window, std::string_view application,
                               std::string_view topic) {
  if (window == nullptr || window->handle == nullptr) {
    services::SetError(windows::kErrorWindowNotOpen);
    return 0;
  }
  return AddServer(window->handle, std::string(application), std::string(topic));
}

void UnregisterDdeServer(std::int32_t server) { RemoveServer(server); }

std::int32_t OpenDdeChannel(windows::WindowObject* window, std::string_view application,
                            std::string_view topic) {
  if (window == nullptr || window->handle == nullptr) {
    services::SetError(windows::kErrorWindowNotOpen);
    return 0;
  }
  ChannelOpening opening{window->handle, std::string(application), std::string(topic), 0};
  ATOM applicationAtom = application.empty() ? 0 : GlobalAddAtomA(opening.application.c_str());
  ATOM topicAtom = topic.empty() ? 0 : GlobalAddAtomA(opening.topic.c_str());
  BeginChannelOpening(&opening);
  SendMessageA(HWND_BROADCAST, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(window->handle),
               MAKELPARAM(applicationAtom, topicAtom));
  BeginChannelOpening(nullptr);
  GlobalDeleteAtom(applicationAtom);
  GlobalDeleteAtom(topicAtom);
  if (opening.channel == 0) services::SetError(kErrorChannelNotOpen);
  return opening.channel;
}

std::string DdeRequest(std::int32_t number, std::string_view item) {
  DdeChannel* channel = OpenChannelOrError(number);
  if (channel == nullptr || !Usable(*channel)) return {};
  ATOM itemAtom = GlobalAddAtomA(std::string(item).c_str());
  if (!PostRequest(*channel, WM_DDE_REQUEST, MAKELPARAM(CF_TEXT, itemAtom))) {
    GlobalDeleteAtom(itemAtom);
    return {};
  }
  // The server answers with the data, or refuses with a negative acknowledgement.
  MSG reply{};
  if (!AwaitReply(*channel, WM_DDE_ACK, WM_DDE_DATA, reply)) return {};
  if (reply.message == WM_DDE_ACK) {
    UINT_PTR atom = 0;
    ReadAck(reply, atom);
    GlobalDeleteAtom(static_cast<ATOM>(atom));
    return {};
  }
  std::optional<ArrivedData> arrived = UnpackArrivedData(WM_DDE_DATA, reply.lParam);
  if (!arrived) return {};
  const std::optional<DataBlock>& contents = arrived->contents;
  if (arrived->Releases()) GlobalFree(arrived->block);
  if (contents && contents->ackRequested)
    AcknowledgeOnChannel(number, true, arrived->item, false);
  else
    GlobalDeleteAtom(arrived->item);
  return contents ? contents->value : std::string();
}

void DdePoke(std::int32_t number, std::string_view item, std::string_view value) {
  DdeChannel* channel = OpenChannelOrError(number);
  if (channel == nullptr || !Usable(*channel)) return;
  DataBlock contents;
  contents.release = true;
  contents.value = std::string(value);
  HGLOBAL block = MakeDataBlock(contents);
  ATOM itemAtom = GlobalAddAtomA(std::string(item).c_str());
  LPARAM packed = PackDDElParam(WM_DDE_POKE, reinterpret_cast<UINT_PTR>(block), itemAtom);
  if (!PostRequest(*channel, WM_DDE_POKE, packed)) {
    FreeDDElParam(WM_DDE_POKE, packed);
    GlobalFree(block);
    GlobalDeleteAtom(itemAtom);
    return;
  }
  MSG reply{};
  if (!AwaitReply(*channel, WM_DDE_ACK, WM_DDE_ACK, reply)) return;
  UINT_PTR atom = 0;
  bool positive = ReadAck(reply, atom);
  GlobalDeleteAtom(static_cast<ATOM>(atom));
  // A server that takes a poke with fRelease frees the block itself.
  if (!positive) {
    GlobalFree(block);
    services::SetError(kErrorPokeRefused);
  }
}

void DdeExecute(std::int32_t number, std::string_view command) {
  DdeChannel* channel = OpenChannelOrError(number);
  if (channel == nullptr || !Usable(*channel)) return;
  HGLOBAL commands = MakeTextBlock(command);
  channel->transaction = commands;
  if (!PostRequest(*channel, WM_DDE_EXECUTE,
                   PackDDElParam(WM_DDE_EXECUTE, 0, reinterpret_cast<UINT_PTR>(commands)))) {
    channel->transaction = nullptr;
    GlobalFree(commands);
    return;
  }
  MSG reply{};
  bool answered = AwaitReply(*channel, WM_DDE_ACK, WM_DDE_ACK, reply);
  // The command block comes back with the acknowledgement; it is the client's to free either
  // way (a late acknowledgement then finds no transaction to free).
  if (DdeChannel* current = FindChannel(number)) current->transaction = nullptr;
  GlobalFree(commands);
  if (!answered) return;
  UINT_PTR returned = 0;
  if (!ReadAck(reply, returned)) services::SetError(kErrorExecuteRefused);
}

void CloseDdeChannel(std::int32_t number) {
  DdeChannel* channel = FindChannel(number);
  if (channel == nullptr) {
    services::SetError(kErrorInvalidChannel);
    return;
  }
  if (channel->partner != nullptr && Usable(*channel) &&
      PostMessageA(channel->partner, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(channel->own), 0)) {
    MSG reply{};
    AwaitReply(*channel, WM_DDE_TERMINATE, WM_DDE_TERMINATE, reply);
  }
  RemoveChannel(number);
}

void DdeWrite(std::int32_t number, std::string_view item, std::string_view value) {
  DdeChannel* channel = OpenChannelOrError(number);
  if (channel == nullptr) return;
  if (!channel->server) {
    services::SetError(kErrorInvalidChannel);
    return;
  }
  DataBlock contents;
  contents.release = true;
  contents.value = std::string(value);
  ATOM itemAtom = 0;
  // The answer to the request being handled reuses the request's atom.
  DdeEventData* current = CurrentDdeEvent(windows::TargetWindow());
  if (current != nullptr && current->code == windows::EVENT_DDErequest && current->channel == number &&
      !current->answered && AtomName(current->itemAtom) == item) {
    current->answered = true;
    contents.response = true;
    itemAtom = current->itemAtom;
  } else {
    itemAtom = GlobalAddAtomA(std::string(item).c_str());
  }
  HGLOBAL block = MakeDataBlock(contents);
  LPARAM packed = PackDDElParam(WM_DDE_DATA, reinterpret_cast<UINT_PTR>(block), itemAtom);
  if (!PostRequest(*channel, WM_DDE_DATA, packed)) {
    FreeDDElParam(WM_DDE_DATA, packed);
    GlobalFree(block);
    GlobalDeleteAtom(itemAtom);
  }
}

}  // namespace vel::ipc
