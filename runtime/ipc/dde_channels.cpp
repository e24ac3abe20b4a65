#include "runtime/ipc/dde_channels.h"

#include <map>
#include <memory>

#include "runtime/services/error_state.h"

namespace vel::ipc {
namespace {

// Runtime work is serialised by the runtime lock, so the table needs no lock of its own.
std::map<std::int32_t, std::unique_ptr<DdeChannel>>& Channels() {
  static auto* channels = new std::map<std::int32_t, std::unique_ptr<DdeChannel>>();
  return *channels;
}

std::int32_t g_nextNumber = 1;

}  // namespace

DdeChannel& AddChannel(HWND own, HWND partner, bool server, std::string application, std::string topic) {
  auto channel = std::make_unique<DdeChannel>();
  channel->number = g_nextNumber++;
  channel->own = own;
  channel->partner = partner;
  channel->server = server;
  channel->application = std::move(application);
  channel->topic = std::move(topic);
  DdeChannel& added = *channel;
  Channels()[added.number] = std::move(channel);
  return added;
}

DdeChannel* FindChannel(std::int32_t number) {
  auto found = Channels().find(number);
  return found != Channels().end() ? found->second.get() : nullptr;
}

DdeChannel* FindChannel(HWND own, HWND partner) {
  if (partner == nullptr) return nullptr;
  for (auto& [number, channel] : Channels()) {
    if (channel->own == own && channel->partner == partner) return channel.get();
  }
  return nullptr;
}

void RemoveChannel(std::int32_t number) { Channels().erase(number); }

std::vector<DdeChannel*> ChannelsOf(HWND own) {
  std::vector<DdeChannel*> held;
  for (auto& [number, channel] : Channels()) {
    if (channel->own == own) held.push_back(channel.get());
  }
  return held;
}

DdeChannel* OpenChannelOrError(std::int32_t number) {
  DdeChannel* channel = FindChannel(number);
  if (channel == nullptr) {
    services::SetError(kErrorInvalidChannel);
    return nullptr;
  }
  if (channel->partner == nullptr) {
    services::SetError(kErrorChannelNotOpen);
    return nullptr;
  }
  return channel;
}

}  // namespace vel::ipc
