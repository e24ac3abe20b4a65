#pragma once
// CTLUSE: the link between a control and its USE variable. A definition's USE descriptor names
// the variable's storage kind and size; the address comes from the procedure's USE address
// list, in chain order. The link reads and writes the variable through a typed value reference.

#include <cstdint>
#include <memory>
#include <string>

#include "runtime/values/value_reference.h"
#include "runtime/windows/definition_types.h"

namespace vel::windows {
struct WindowObject;
}

namespace vel::controls {

/// The runtime error of a USE binding that cannot be made (with the module text "CTLUSE").
inline constexpr std::int32_t kErrorUseBinding = 501;
inline constexpr const char kUseModule[] = "CTLUSE";

/// Storage kinds with a meaning of their own in a USE descriptor: 24 is refused; 25 and 26 are
/// bound through a typed value reference the procedure passes in place of a variable's
/// address (a value of any type, and a record).
inline constexpr std::uint8_t kUseKindRefused = 24;
inline constexpr std::uint8_t kUseKindAnyValue = 25;
inline constexpr std::uint8_t kUseKindAnyRecord = 26;

class UseLink {
 public:
  virtual ~UseLink() = default;
  UseLink(const UseLink&) = delete;
  UseLink& operator=(const UseLink&) = delete;

  /// The storage kind the definition gave.
  std::uint8_t Kind() const { return m_kind; }
  /// The variable, for reading, writing and comparing it.
  virtual values::ValueReference& Reference() = 0;

  /// The variable's value as text (a string's whole declared size, a number's digits).
  std::string Text();
  /// The same without trailing blanks: what a control shows.
  std::string DisplayText();
  /// Stores text into the variable as the value runtime converts text for its kind.
  void Assign(std::string_view text);

 protected:
  explicit UseLink(std::uint8_t kind) : m_kind(kind) {}

 private:
  std::uint8_t m_kind;
};

/// Makes the link for a control's USE descriptor. A variable binding takes the next address
/// from the window's USE address list; a constant (a descriptor with data) gets a copy of its
/// data of its own. A list that has run out (or holds a null address there), kind 24, or a kind
/// the value runtime does not know raise error 501 with "CTLUSE" and give no link.
std::unique_ptr<UseLink> CreateUseLink(const windows::UseDescriptor& descriptor,
                                       windows::WindowObject& window);

}  // namespace vel::controls
