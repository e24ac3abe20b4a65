#include "runtime/ipc/dde_events.h"

#include <map>

#include "runtime/windows/event_posting.h"
#include "runtime/windows/window_object.h"

namespace vel::ipc {
namespace {

struct Current {
  const windows::EventRecord* record = nullptr;
  std::shared_ptr<DdeEventData> data;
};

std::map<const windows::WindowObject*, Current>& CurrentEvents() {
  static auto* current = new std::map<const windows::WindowObject*, Current>();
  return *current;
}

// Calls the acknowledgement once: with the procedure's answer, or refused when the event is
// dropped unanswered.
class AcknowledgeOnce {
 public:
  explicit AcknowledgeOnce(std::function<void(bool)> acknowledge) : m_acknowledge(std::move(acknowledge)) {}
  ~AcknowledgeOnce() { Answer(false); }
  AcknowledgeOnce(const AcknowledgeOnce&) = delete;
  AcknowledgeOnce& operator=(const AcknowledgeOnce&) = delete;

  void Answer(bool taken) {
    if (!m_acknowledge) return;
    auto acknowledge = std::move(m_acknowledge);
    m_acknowledge = nullptr;
    acknowledge(taken);
  }

 private:
  std::function<void(bool)> m_acknowledge;
};

}  // namespace

void PostDdeEvent(windows::WindowObject& window, std::int32_t code, std::shared_ptr<DdeEventData> data,
                  std::function<void(bool taken)> acknowledge) {
  data->code = code;
  windows::WindowObject* target = &window;
  auto completion = [target, data] {
    if (windows::IsOpenWindow(target)) CurrentEvents()[target] = Current{target->currentEvent.get(), data};
  };
  std::function<void(bool)> answer;
  if (acknowledge) {
    auto once = std::make_shared<AcknowledgeOnce>(std::move(acknowledge));
    answer = [once](bool taken) { once->Answer(taken); };
  }
  windows::PostEvent(window, code, nullptr, completion, answer);
}

DdeEventData* CurrentDdeEvent(windows::WindowObject* window) {
  if (window == nullptr) return nullptr;
  auto found = CurrentEvents().find(window);
  if (found == CurrentEvents().end()) return nullptr;
  if (!window->currentEvent || window->currentEvent.get() != found->second.record) {
    CurrentEvents().erase(found);
    return nullptr;
  }
  return found->second.data.get();
}

}  // namespace vel::ipc
