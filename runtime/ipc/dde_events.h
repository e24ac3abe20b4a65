#pragma once
// DDE events: a request from a partner becomes an event in the window's queue, carrying the
// channel, item and value the procedure reads while it handles it. Events that the protocol
// acknowledges are acknowledged exactly once, after the procedure has seen the event: taken
// gives a positive acknowledgement, refused a negative one, and an event that never reaches
// the procedure (its window closed first) a negative one.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vel::windows {
struct WindowObject;
}

namespace vel::ipc {

struct DdeEventData {
  std::int32_t code = 0;
  std::int32_t channel = 0;
  std::string item;
  std::string value;
  /// The item's atom, which an answer to a request reuses.
  unsigned short itemAtom = 0;
  /// Set once a request has been answered with data (no negative acknowledgement then).
  bool answered = false;
};

/// Posts a DDE event to a window. `acknowledge` (may be empty) runs once with the answer.
void PostDdeEvent(windows::WindowObject& window, std::int32_t code, std::shared_ptr<DdeEventData> data,
                  std::function<void(bool taken)> acknowledge);

/// The data of the event the window's procedure is handling, or null when that is no DDE event.
DdeEventData* CurrentDdeEvent(windows::WindowObject* window);

}  // namespace vel::ipc
