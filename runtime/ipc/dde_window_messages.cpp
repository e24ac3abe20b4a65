#include "runtime/ipc/dde_window_messages.h"

#include <memory>

#include "runtime/ipc/dde_channels.h"
#include "runtime/ipc/dde_data.h"
#include "runtime/ipc/dde_events.h"
#include "runtime/ipc/dde_servers.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/window_object.h"

namespace vel::ipc {
namespace {

ChannelOpening* g_opening = nullptr;

// Atoms are below this; blocks are addresses far above it.
constexpr UINT_PTR kAtomLimit = 0x10000;

HWND Sender(WPARAM wParam) { return reinterpret_cast<HWND>(wParam); }

std::shared_ptr<DdeEventData> EventData(const DdeChannel& channel, ATOM item, std::string value = {}) {
  auto data = std::make_shared<DdeEventData>();
  data->channel = channel.number;
  data->item = AtomName(item);
  data->itemAtom = item;
  data->value = std::move(value);
  return data;
}

// A server object of the window answers with the window itself as the server's window.
LRESULT Initiate(windows::WindowObject& window, WPARAM wParam, LPARAM lParam) {
  HWND client = Sender(wParam);
  // A window never answers its own initiate.
  if (client == window.handle || client == nullptr) return 0;
  std::string application = AtomName(LOWORD(lParam));
  std::string topic = AtomName(HIWORD(lParam));
  std::optional<DdeServerObject> server = ServerFor(window.handle, application, topic);
  if (!server) return 0;
  std::string answeredTopic = topic.empty() ? server->topic : topic;
  // The window is the server's window of all its conversations, so a client that initiates
  // again has the one conversation it already holds, under its new names.
  if (DdeChannel* held = FindChannel(window.handle, client); held != nullptr && held->server) {
    held->application = server->application;
    held->topic = answeredTopic;
  } else {
    AddChannel(window.handle, client, true, server->application, answeredTopic);
  }
  // The atoms of the acknowledgement are the client's to delete.
  ATOM applicationAtom = GlobalAddAtomA(server->application.c_str());
  ATOM topicAtom = answeredTopic.empty() ? 0 : GlobalAddAtomA(answeredTopic.c_str());
  SendMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(window.handle),
               MAKELPARAM(applicationAtom, topicAtom));
  return 0;
}

// A server's answer to this window's initiate: the first opens the channel, later ones are
// turned away.
void InitiateAnswered(HWND server, LPARAM lParam) {
  ATOM applicationAtom = LOWORD(lParam);
  ATOM topicAtom = HIWORD(lParam);
  std::string application = AtomName(applicationAtom);
  std::string topic = AtomName(topicAtom);
  GlobalDeleteAtom(applicationAtom);
  GlobalDeleteAtom(topicAtom);
  if (g_opening->channel == 0) {
    g_opening->channel = AddChannel(g_opening->own, server, false, application, topic).number;
    return;
  }
  PostMessageA(server, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(g_opening->own), 0);
}

// An acknowledgement no wait was looking for (it came after its time-out): what it carries is
// released, the command block only when it is the channel's own.
void StrayAcknowledgement(HWND own, WPARAM wParam, LPARAM lParam) {
  UINT_PTR status = 0;
  UINT_PTR value = 0;
  if (!UnpackDDElParam(WM_DDE_ACK, lParam, &status, &value)) return;
  FreeDDElParam(WM_DDE_ACK, lParam);
  DdeChannel* channel = FindChannel(own, Sender(wParam));
  if (channel != nullptr && value != 0 && reinterpret_cast<HGLOBAL>(value) == channel->transaction) {
    GlobalFree(channel->transaction);
    channel->transaction = nullptr;
  } else if (value != 0 && value < kAtomLimit) {
    GlobalDeleteAtom(static_cast<ATOM>(value));
  }
}

void Terminated(windows::WindowObject& window, WPARAM wParam) {
  DdeChannel* channel = FindChannel(window.handle, Sender(wParam));
  if (channel == nullptr) return;
  PostMessageA(channel->partner, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window.handle), 0);
  channel->partner = nullptr;
  PostDdeEvent(window, windows::EVENT_DDEclosed, EventData(*channel, 0), nullptr);
}

void Requested(windows::WindowObject& window, WPARAM wParam, LPARAM lParam) {
  ATOM item = HIWORD(lParam);
  DdeChannel* channel = FindChannel(window.handle, Sender(wParam));
  if (channel == nullptr) {
    GlobalDeleteAtom(item);
    return;
  }
  auto data = EventData(*channel, item);
  PostDdeEvent(window, windows::EVENT_DDErequest, data, [data](bool) {
    // A request the procedure did not answer with data is refused.
    if (!data->answered) AcknowledgeOnChannel(data->channel, false, data->itemAtom, false);
  });
}

void Advised(windows::WindowObject& window, WPARAM wParam, LPARAM lParam) {
  UINT_PTR options = 0;
  UINT_PTR item = 0;
  if (!UnpackDDElParam(WM_DDE_ADVISE, lParam, &options, &item)) return;
  FreeDDElParam(WM_DDE_ADVISE, lParam);
  DdeChannel* channel = FindChannel(window.handle, Sender(wParam));
  if (channel == nullptr) {
    GlobalFree(reinterpret_cast<HGLOBAL>(options));
    GlobalDeleteAtom(static_cast<ATOM>(item));
    return;
  }
  auto data = EventData(*channel, static_cast<ATOM>(item));
  PostDdeEvent(window, windows::EVENT_DDEadvise, data, [data, options](bool taken) {
    // The server frees the options when it takes the advise; the client when it is refused.
    if (taken) GlobalFree(reinterpret_cast<HGLOBAL>(options));
    AcknowledgeOnChannel(data->channel, taken, data->itemAtom, false);
  });
}

void Unadvised(windows::WindowObject& window, WPARAM wParam, LPARAM lParam) {
  ATOM item = HIWORD(lParam);
  if (FindChannel(window.handle, Sender(wParam)) == nullptr) {
    GlobalDeleteAtom(item);
    return;
  }
  AcknowledgeOnChannel(FindChannel(window.handle, Sender(wParam))->number, true, item, false);
}

// Data from a server that no wait was looking for: an update of an item the procedure asked to
// be advised of.
void DataArrived(windows::WindowObject& window, WPARAM wParam, LPARAM lParam) {
  std::optional<ArrivedData> arrived = UnpackArrivedData(WM_DDE_DATA, lParam);
  if (!arrived) return;
  DdeChannel* channel = FindChannel(window.handle, Sender(wParam));
  if (channel == nullptr) {
    if (arrived->Releases()) GlobalFree(arrived->block);
    GlobalDeleteAtom(arrived->item);
    return;
  }
  bool ackRequested = arrived->contents && arrived->contents->ackRequested;
  bool release = arrived->Releases();
  HGLOBAL block = arrived->block;
  auto data =
      EventData(*channel, arrived->item, arrived->contents ? arrived->contents->value : std::string());
  PostDdeEvent(window, windows::EVENT_DDEdata, data, [data, block, ackRequested, release](bool taken) {
    if (release && (!ackRequested || taken)) GlobalFree(block);
    if (ackRequested)
      AcknowledgeOnChannel(data->channel, taken, data->itemAtom, false);
    else
      GlobalDeleteAtom(data->itemAtom);
  });
}

void Poked(windows::WindowObject& window, WPARAM wParam, LPARAM lParam) {
  std::optional<ArrivedData> arrived = UnpackArrivedData(WM_DDE_POKE, lParam);
  if (!arrived) return;
  DdeChannel* channel = FindChannel(window.handle, Sender(wParam));
  if (channel == nullptr) {
    GlobalDeleteAtom(arrived->item);
    return;
  }
  bool release = arrived->Releases();
  HGLOBAL block = arrived->block;
  auto data =
      EventData(*channel, arrived->item, arrived->contents ? arrived->contents->value : std::string());
  PostDdeEvent(window, windows::EVENT_DDEpoke, data, [data, block, release](bool taken) {
    // Taken with fRelease, the block is the server's to free; otherwise the client frees it.
    if (taken && release) GlobalFree(block);
    AcknowledgeOnChannel(data->channel, taken, data->itemAtom, false);
  });
}

void Executed(windows::WindowObject& window, WPARAM wParam, LPARAM lParam) {
  auto commands = reinterpret_cast<HGLOBAL>(lParam);
  DdeChannel* channel = FindChannel(window.handle, Sender(wParam));
  if (channel == nullptr) return;
  auto data = EventData(*channel, 0, ReadTextBlock(commands));
  PostDdeEvent(window, windows::EVENT_DDEexecute, data, [data, commands](bool taken) {
    AcknowledgeOnChannel(data->channel, taken, reinterpret_cast<UINT_PTR>(commands), true);
  });
}

}  // namespace

void EndConversationsOf(HWND own) {
  for (DdeChannel* channel : ChannelsOf(own)) {
    if (channel->partner != nullptr) {
      PostMessageA(channel->partner, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(own), 0);
    }
    RemoveChannel(channel->number);
  }
  RemoveServersOf(own);
}

void BeginChannelOpening(ChannelOpening* opening) { g_opening = opening; }

void AcknowledgeOnChannel(std::int32_t channelNumber, bool positive, UINT_PTR value, bool isBlock) {
  DdeChannel* channel = FindChannel(channelNumber);
  if (channel != nullptr && channel->partner != nullptr) {
    LPARAM packed = PackDDElParam(WM_DDE_ACK, AckStatus(positive), value);
    if (PostMessageA(channel->partner, WM_DDE_ACK, reinterpret_cast<WPARAM>(channel->own), packed)) return;
    FreeDDElParam(WM_DDE_ACK, packed);
    channel->partner = nullptr;
  }
  if (isBlock)
    GlobalFree(reinterpret_cast<HGLOBAL>(value));
  else
    GlobalDeleteAtom(static_cast<ATOM>(value));
}

bool HandleDdeWindowMessage(windows::WindowObject& window, UINT message, WPARAM wParam, LPARAM lParam,
                            LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_DDE_INITIATE: result = Initiate(window, wParam, lParam); return true;
    case WM_DDE_ACK:
      if (g_opening != nullptr && g_opening->own == window.handle)
        InitiateAnswered(Sender(wParam), lParam);
      else
        StrayAcknowledgement(window.handle, wParam, lParam);
      return true;
    case WM_DDE_TERMINATE: Terminated(window, wParam); return true;
    case WM_DDE_REQUEST: Requested(window, wParam, lParam); return true;
    case WM_DDE_ADVISE: Advised(window, wParam, lParam); return true;
    case WM_DDE_UNADVISE: Unadvised(window, wParam, lParam); return true;
    case WM_DDE_DATA: DataArrived(window, wParam, lParam); return true;
    case WM_DDE_POKE: Poked(window, wParam, lParam); return true;
    case WM_DDE_EXECUTE: Executed(window, wParam, lParam); return true;
    case WM_DESTROY: EndConversationsOf(window.handle); return false;
    default: return false;
  }
}

}  // namespace vel::ipc
