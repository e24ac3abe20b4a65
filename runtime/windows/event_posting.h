#pragma once
// Making event records and queueing them: a normal post travels through the window's platform
// message queue (message 0x241B) so that it keeps its order with the window's other messages;
// an urgent post goes to the front of the event queue; a send is an urgent post whose answer
// the procedure gives when it comes back to its ACCEPT loop.

#include <cstdint>
#include <functional>
#include <memory>

#include "runtime/windows/event_record.h"
#include "win32.h"

namespace vel::windows {

struct WindowObject;
class WindowControl;

/// A record for `window`: a copy of the window's current event with the new code and control
/// while the procedure is handling that event (so it keeps the key code and mouse position of
/// the event being handled), otherwise the thread's last key and the present mouse position.
std::unique_ptr<EventRecord> MakeEventRecord(WindowObject& window, std::int32_t code, WindowControl* control);

/// Posts an event to an open window through message 0x241B. Does nothing before the runtime
/// runs, for a window that is not open, or for a control that is not a field.
void PostEvent(WindowObject& window, std::int32_t code, WindowControl* control = nullptr);

/// Posts an event like PostEvent, with a completion that runs when the event becomes current
/// and an answer (taken or refused) given when the procedure comes back to its ACCEPT loop, or
/// at once (taken) when a registered handler consumed it. When the event cannot be queued,
/// neither runs; both are destroyed.
void PostEvent(WindowObject& window, std::int32_t code, WindowControl* control, std::function<void()> completion,
               std::function<void(bool taken)> answer);

/// Inserts an event at the front of the window's queue and wakes its loop. Same conditions as
/// PostEvent.
void PostUrgentEvent(WindowObject& window, std::int32_t code, WindowControl* control = nullptr);

/// Sends an event: it is delivered before anything posted (after events sent earlier), and `answer` receives the
/// procedure's answer (true = taken, false = refused) when the procedure comes back to its
/// ACCEPT loop. When the event cannot be queued, the answer is "taken" at once, so that a
/// system command is not lost for a window that cannot be asked.
void SendEvent(WindowObject& window, std::int32_t code, WindowControl* control,
               std::function<void(bool taken)> answer);

/// Takes the record carried by a 0x241B message for `window`. Returns null for an address the
/// runtime did not post (a forged or stale message), or a record meant for another window.
std::unique_ptr<EventRecord> ClaimPostedRecord(WindowObject& window, LPARAM carried);

/// Removes the 0x241B messages still pending for a window and frees their records.
void DiscardPendingPostedRecords(WindowObject& window);

}  // namespace vel::windows
