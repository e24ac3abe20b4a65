#include "runtime/windows/procedure_window.h"

#include <vector>

#include "runtime/windows/accept_step.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/window_object_close.h"
#include "runtime/windows/window_object_open.h"

namespace vel::windows {

void ProcedureWindow::Open(std::string_view qualifiedName, std::string_view label,
                           std::initializer_list<void*> useAddresses) {
  std::vector<void*> addresses(useAddresses);
  OpenWindow(m_object, label, qualifiedName, addresses);
}

bool ProcedureWindow::Accept() { return AcceptStep(); }

void ProcedureWindow::Refuse() { RefuseCurrentEvent(); }

void ProcedureWindow::Post(std::int32_t eventNumber, std::int32_t field) {
  PostEvent(m_object, eventNumber + kEventBase, m_object.ControlOfField(field));
}

void ProcedureWindow::Close() { CloseWindow(&m_object); }

}  // namespace vel::windows
