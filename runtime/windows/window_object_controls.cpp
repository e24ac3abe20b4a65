#include "runtime/windows/window_object_controls.h"

#include "runtime/windows/event_codes.h"
#include "runtime/windows/query_messages.h"

namespace vel::windows {
namespace {

ControlChainBuilder g_builder = nullptr;

}  // namespace

void WindowControl::Command(WORD notification, HWND source) {
  HWND own = Handle();
  if (own == nullptr) return;
  auto identifier = static_cast<WORD>(FieldNumber() + kCommandIdentifierBase);
  SendMessageA(own, QUERY_COMMAND, MAKEWPARAM(identifier, notification), reinterpret_cast<LPARAM>(source));
}

void SetControlChainBuilder(ControlChainBuilder builder) { g_builder = builder; }

ControlChainBuilder InstalledControlChainBuilder() { return g_builder; }

}  // namespace vel::windows
