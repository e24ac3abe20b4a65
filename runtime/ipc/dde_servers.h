#pragma once
// DDE server objects: what a runtime window answers initiates for. Each names an application
// and a topic (an empty topic answers any); a window offers an initiate to its server objects,
// the last registered first, and the first that matches opens the conversation.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "win32.h"

namespace vel::ipc {

struct DdeServerObject {
  std::int32_t number = 0;
  HWND window = nullptr;
  std::string application;
  std::string topic;
};

/// Registers a server object on a window; returns its number (counting up from 1).
std::int32_t AddServer(HWND window, std::string application, std::string topic);
/// Removes a server object; false when the number names none.
bool RemoveServer(std::int32_t number);
/// Removes every server object of a window (it is closing).
void RemoveServersOf(HWND window);

/// The server object of `window` that answers an initiate for an application and a topic (empty
/// for the wildcard the client leaves out), or nothing.
std::optional<DdeServerObject> ServerFor(HWND window, std::string_view application, std::string_view topic);

}  // namespace vel::ipc
