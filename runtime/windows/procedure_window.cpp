#include "runtime/windows/procedure_window.h"

#include <string>
#include <vector>

#include "runtime/values/string_stack.h"

#include "runtime/windows/accept_step.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/window_object_close.h"
#include "runtime/windows/window_object_errors.h"
#include "runtime/windows/window_object_open.h"
#include "runtime/windows/window_properties.h"
#include "runtime/windows/window_timers.h"

namespace vel::windows {

void ProcedureWindow::Open(std::string_view qualifiedName, std::string_view label,
                           std::initializer_list<void*> useAddresses) {
  std::vector<void*> addresses(useAddresses);
  OpenWindow(m_object, label, qualifiedName, addresses);
}

void ProcedureWindow::Open(std::string_view qualifiedName, std::string_view label,
                           std::span<void* const> useAddresses) {
  OpenWindow(m_object, label, qualifiedName, useAddresses);
}

bool ProcedureWindow::Accept() { return AcceptStep(); }

void ProcedureWindow::Refuse() { RefuseCurrentEvent(); }

void ProcedureWindow::Post(std::int32_t eventNumber, std::int32_t field) {
  PostEvent(m_object, eventNumber + kEventBase, m_object.ControlOfField(field));
}

void ProcedureWindow::Close() { CloseWindow(&m_object); }

std::string ProcedureWindow::Property(std::int32_t property) {
  GetWindowProperty(&m_object, property);
  values::StringView top = values::TopView();
  std::string value(top.data != nullptr ? top.data : "", top.length);
  values::DropTop();
  return value;
}

void ProcedureWindow::SetProperty(std::int32_t property, std::string_view value) {
  values::PushBytes(value.data(), static_cast<std::uint32_t>(value.size()));
  SetWindowProperty(&m_object, property);
}

void ProcedureWindow::SetProperty(std::int32_t property, std::int64_t value) {
  SetProperty(property, std::string_view(std::to_string(value)));
}

void ProcedureWindow::SetIdleTimer(std::int32_t eventNumber, std::int32_t interval) {
  if (!IsOpenWindow(&m_object) || m_object.handle == nullptr) {
    ReportWindowError(kErrorWindowNotOpen);
    return;
  }
  vel::windows::SetIdleTimer(m_object, eventNumber, interval);
}

}  // namespace vel::windows
