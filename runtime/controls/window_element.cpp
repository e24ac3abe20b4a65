#include "runtime/controls/window_element.h"

#include "runtime/windows/window_object.h"

namespace vel::controls {

WindowElement::WindowElement(const windows::Record& record, windows::WindowObject& window)
    : m_field(record.field),
      m_attributes(record.flags),
      m_typeCode(record.kind),
      m_window(&window),
      m_name(record.name.value_or(std::string())) {
  if (m_field != 0) m_extraFlags |= kExtraField;
}

void WindowElement::SetAttribute(std::uint32_t bits, bool on) {
  if (on) {
    m_attributes |= bits;
  } else {
    m_attributes &= ~bits;
  }
}

void WindowElement::SetExtraFlag(std::uint16_t bits, bool on) {
  if (on) {
    m_extraFlags = static_cast<std::uint16_t>(m_extraFlags | bits);
  } else {
    m_extraFlags = static_cast<std::uint16_t>(m_extraFlags & ~bits);
  }
}

}  // namespace vel::controls
