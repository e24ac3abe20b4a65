#include "runtime/ipc/dde_procedures.h"

#include <string>

#include "runtime/ipc/dde_client.h"
#include "runtime/ipc/dde_events.h"
#include "runtime/values/string_stack.h"
#include "runtime/windows/event_accessors.h"

namespace vel::ipc {
namespace {

// Takes the text on top of the string stack.
std::string PopText() {
  values::StringView top = values::TopView();
  std::string text(top.data, top.length);
  values::DropTop();
  return text;
}

// Takes two texts pushed in order: the first pushed comes second off the stack.
std::pair<std::string, std::string> PopPair() {
  std::string second = PopText();
  std::string first = PopText();
  return {first, second};
}

// A detached copy: the texts pushed here are gone once the call returns.
void PushText(const std::string& text) {
  values::PushBytes(text.data(), static_cast<std::uint32_t>(text.size()));
}

}  // namespace

std::int32_t DDESERVER() {
  auto [application, topic] = PopPair();
  return RegisterDdeServer(windows::TargetWindow(), application, topic);
}

std::int32_t DDECLIENT() {
  auto [application, topic] = PopPair();
  return OpenDdeChannel(windows::TargetWindow(), application, topic);
}

void DDEREAD(std::int32_t channel) { PushText(DdeRequest(channel, PopText())); }

void DDEPOKE(std::int32_t channel) {
  auto [item, value] = PopPair();
  DdePoke(channel, item, value);
}

void DDEEXECUTE(std::int32_t channel) { DdeExecute(channel, PopText()); }

void DDEWRITE(std::int32_t channel) {
  auto [item, value] = PopPair();
  DdeWrite(channel, item, value);
}

void DDECLOSE(std::int32_t channel) { CloseDdeChannel(channel); }

void DDETIMEOUT(std::int32_t milliseconds) {
  SetDdeTimeout(milliseconds > 0 ? static_cast<std::uint32_t>(milliseconds) : 0);
}

std::int32_t DDECHANNEL() {
  DdeEventData* current = CurrentDdeEvent(windows::TargetWindow());
  return current != nullptr ? current->channel : 0;
}

void DDEITEM() {
  DdeEventData* current = CurrentDdeEvent(windows::TargetWindow());
  PushText(current != nullptr ? current->item : std::string());
}

void DDEVALUE() {
  DdeEventData* current = CurrentDdeEvent(windows::TargetWindow());
  PushText(current != nullptr ? current->value : std::string());
}

}  // namespace vel::ipc
