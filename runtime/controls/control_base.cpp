#include "runtime/controls/control_base.h"

#include "runtime/controls/control_chain.h"
#include "runtime/services/error_report.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/window_object.h"

namespace vel::controls {
namespace {

// The window of the chain being built. Outside window building there is no prototype to build
// a control from: error 501 "CTLMAIN" (the program ends; during shutdown a stand-in window
// keeps the object whole until the caller gives up).
windows::WindowObject& PrototypeWindow() {
  if (ChainContext* chain = CurrentChain()) return *chain->window;
  services::ReportRuntimeError(kErrorNoPrototype, "CTLMAIN");
  static windows::WindowObject none;
  return none;
}

}  // namespace

ControlBase::ControlBase(const windows::Record& record) : WindowElement(record, PrototypeWindow()) {
  ChainContext* chain = CurrentChain();
  if (chain == nullptr) return;
  m_container = chain->container;
  m_state |= chain->controlState;
  m_key = record.keyCode;
  m_number = record.textBlock.number;
  m_messageText = record.textBlock.message ? record.textBlock.message : chain->defaultMessage;
  m_helpKeyword = record.textBlock.help ? record.textBlock.help : chain->defaultHelp;
  if (record.cursor) m_cursor = windows::LoadNamedCursor(*record.cursor, m_window->resourceModule);
  if (m_window->attributes & windows::kAttrControlLook) m_attributes |= kAttrThreeDimensional;
  if (record.use) m_use = CreateUseLink(*record.use, *m_window);
}

ControlBase::~ControlBase() { windows::ReleaseHeldIcon(m_cursor, true); }

void ControlBase::SetState(std::uint32_t bits, bool on) {
  if (on) {
    m_state |= bits;
  } else {
    m_state &= ~bits;
  }
}

bool ControlBase::EffectivelyDisabled() const {
  for (const ControlBase* control = this; control != nullptr; control = control->m_container) {
    if (control->HasAttribute(kAttrDisabled)) return true;
  }
  return false;
}

bool ControlBase::EffectivelyHidden() const {
  for (const ControlBase* control = this; control != nullptr; control = control->m_container) {
    if (control->HasAttribute(kAttrHidden)) return true;
  }
  return false;
}

void ControlBase::PostFieldEvent(std::int32_t code) {
  if (m_window->metrics.report) {
    services::ReportRuntimeError(kErrorEventToReport);
    return;
  }
  // Without an application frame, events meant for the frame go to the owning window.
  windows::PostEvent(*m_window, code, this);
}

}  // namespace vel::controls
