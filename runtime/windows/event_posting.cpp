#include "runtime/windows/event_posting.h"

#include <algorithm>
#include <mutex>
#include <unordered_set>

#include "runtime/services/runtime_running.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_object.h"

namespace vel::windows {
namespace {

// Records in flight as 0x241B messages. The window procedure accepts only addresses listed
// here, so a message with a made-up parameter can never be taken for a record. Window
// procedures of other threads may look here without the runtime lock, hence the mutex.
std::mutex g_inFlightMutex;
std::unordered_set<EventRecord*> g_inFlight;

bool MayQueue(const WindowObject& window, const WindowControl* control) {
  if (!services::RuntimeRunning() || !IsOpenWindow(&window) || window.handle == nullptr) return false;
  return control == nullptr || control->IsField();
}

void Wake(const WindowObject& window) { PostMessageA(window.handle, WM_NULL, 0, 0); }

}  // namespace

std::unique_ptr<EventRecord> MakeEventRecord(WindowObject& window, std::int32_t code, WindowControl* control) {
  auto record = std::make_unique<EventRecord>();
  // Only an event the procedure is handling lends its keys and mouse position: an event the
  // runtime raises from input while the loop waits (an alert key, a control's Accepted) carries
  // the key and the position of that input.
  if (window.currentEvent && window.eventWithProcedure) {
    *record = *window.currentEvent;
    record->completion = nullptr;
    record->answer = nullptr;
    record->sent = false;
  } else {
    if (const ThreadSlot* slot = SlotAt(window.threadSlot)) {
      record->keyCode = slot->lastKeyCode & kKeyCodeMask;
      record->character = slot->lastCharacter;
      record->scanCode = slot->lastScanCode;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    if (window.handle != nullptr) ScreenToClient(window.handle, &cursor);
    record->mouseX = cursor.x;
    record->mouseY = cursor.y;
  }
  record->window = &window;
  record->code = code;
  record->threadSlot = window.threadSlot;
  record->control = control;
  record->focusControl = window.FocusControl();
  return record;
}

void PostEvent(WindowObject& window, std::int32_t code, WindowControl* control) {
  PostEvent(window, code, control, nullptr, nullptr);
}

void PostEvent(WindowObject& window, std::int32_t code, WindowControl* control, std::function<void()> completion,
               std::function<void(bool taken)> answer) {
  if (!MayQueue(window, control)) return;
  std::unique_ptr<EventRecord> record = MakeEventRecord(window, code, control);
  record->completion = std::move(completion);
  record->answer = std::move(answer);
  EventRecord* carried = record.get();
  {
    std::lock_guard lock(g_inFlightMutex);
    g_inFlight.insert(carried);
  }
  if (PostMessageA(window.handle, kPostedEventMessage, 0, reinterpret_cast<LPARAM>(carried))) {
    record.release();
    return;
  }
  std::lock_guard lock(g_inFlightMutex);
  g_inFlight.erase(carried);
}

void PostUrgentEvent(WindowObject& window, std::int32_t code, WindowControl* control) {
  if (!MayQueue(window, control)) return;
  window.queue.push_front(MakeEventRecord(window, code, control));
  Wake(window);
}

void SendEvent(WindowObject& window, std::int32_t code, WindowControl* control,
               std::function<void(bool taken)> answer) {
  if (!MayQueue(window, control)) {
    if (answer) answer(true);
    return;
  }
  std::unique_ptr<EventRecord> record = MakeEventRecord(window, code, control);
  record->answer = std::move(answer);
  record->sent = true;
  auto after = std::find_if(window.queue.begin(), window.queue.end(),
                            [](const std::unique_ptr<EventRecord>& queued) { return !queued->sent; });
  window.queue.insert(after, std::move(record));
  Wake(window);
}

std::unique_ptr<EventRecord> ClaimPostedRecord(WindowObject& window, LPARAM carried) {
  auto* record = reinterpret_cast<EventRecord*>(carried);
  {
    std::lock_guard lock(g_inFlightMutex);
    if (g_inFlight.erase(record) == 0) return nullptr;
  }
  std::unique_ptr<EventRecord> owned(record);
  if (owned->window != &window) return nullptr;
  return owned;
}

void DiscardPendingPostedRecords(WindowObject& window) {
  if (window.handle == nullptr) return;
  MSG message{};
  while (PeekMessageA(&message, window.handle, kPostedEventMessage, kPostedEventMessage, PM_REMOVE)) {
    std::unique_ptr<EventRecord> record = ClaimPostedRecord(window, message.lParam);
  }
}

}  // namespace vel::windows
