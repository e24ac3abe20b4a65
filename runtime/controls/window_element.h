#pragma once
// The window element: what controls (and menu items) share about their place in a window: the
// field number, the attribute flags, the type code, the extra flags, the owning window and the
// name.

#include <cstdint>
#include <string>

#include "runtime/controls/control_flags.h"
#include "runtime/windows/definition_record.h"

namespace vel::windows {
struct WindowObject;
}

namespace vel::controls {

class WindowElement {
 public:
  /// Takes the field number, attributes, type code and name of `record`; the element belongs to
  /// `window`. A field number other than 0 makes the element a field.
  WindowElement(const windows::Record& record, windows::WindowObject& window);
  virtual ~WindowElement() = default;
  WindowElement(const WindowElement&) = delete;
  WindowElement& operator=(const WindowElement&) = delete;

  std::int32_t Field() const { return m_field; }
  std::uint8_t TypeCode() const { return m_typeCode; }
  windows::WindowObject& Window() const { return *m_window; }
  const std::string& Name() const { return m_name; }

  std::uint32_t Attributes() const { return m_attributes; }
  bool HasAttribute(std::uint32_t bits) const { return (m_attributes & bits) != 0; }
  /// Sets (`on`) or clears attribute bits.
  void SetAttribute(std::uint32_t bits, bool on);

  std::uint16_t ExtraFlags() const { return m_extraFlags; }
  void SetExtraFlag(std::uint16_t bits, bool on);

 protected:
  std::int32_t m_field = 0;
  std::uint32_t m_attributes = 0;
  std::uint8_t m_typeCode = 0;
  std::uint16_t m_extraFlags = 0;
  windows::WindowObject* m_window = nullptr;
  std::string m_name;
};

}  // namespace vel::controls
