#include "runtime/ipc/dde_servers.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace vel::ipc {
namespace {

std::vector<DdeServerObject>& Servers() {
  static auto* servers = new std::vector<DdeServerObject>();
  return *servers;
}

std::int32_t g_nextNumber = 1;

// DDE names are atoms, which compare without regard to case.
bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::int32_t AddServer(HWND window, std::string application, std::string topic) {
  Servers().push_back(DdeServerObject{g_nextNumber, window, std::move(application), std::move(topic)});
  return g_nextNumber++;
}

bool RemoveServer(std::int32_t number) {
  return std::erase_if(Servers(),
                       [number](const DdeServerObject& server) { return server.number == number; }) > 0;
}

void RemoveServersOf(HWND window) {
  std::erase_if(Servers(), [window](const DdeServerObject& server) { return server.window == window; });
}

std::optional<DdeServerObject> ServerFor(HWND window, std::string_view application, std::string_view topic) {
  const auto& servers = Servers();
  for (auto server = servers.rbegin(); server != servers.rend(); ++server) {
    if (server->window != window) continue;
    bool applicationMatches = application.empty() || SameName(application, server->application);
    bool topicMatches = topic.empty() || server->topic.empty() || SameName(topic, server->topic);
    if (applicationMatches && topicMatches) return *server;
  }
  return std::nullopt;
}

}  // namespace vel::ipc
