#pragma once
// The variables vel-preview binds to a window in place of a procedure's: one per USE binding,
// of the binding's storage kind and size, cleared, at addresses that stay put while the window
// is open. Values go in and come out as text: strings as they are, numbers as decimal text,
// dates and times through their default pictures.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/values/value_reference.h"
#include "runtime/windows/window_record_order.h"

namespace vel::tools {

/// The pictures dates and times are shown and read through: the short date and the long time
/// of the user's regional settings.
inline constexpr const char kDatePicture[] = "@D17";
inline constexpr const char kTimePicture[] = "@T8";

/// A variable larger than this is refused: no window has a use for it, and a damaged size must
/// not make the tool allocate gigabytes.
inline constexpr std::int32_t kLargestVariable = 1 << 20;
/// The same for all variables together: many records may share one descriptor.
inline constexpr std::uint64_t kLargestVariableTotal = 16u << 20;

class PreviewVariables {
 public:
  /// Makes and clears one variable per binding. Throws PreviewError (naming `path`) for a size
  /// below 0 or above kLargestVariable, or variables above kLargestVariableTotal together.
  PreviewVariables(const std::string& path, const std::vector<windows::UseBinding>& bindings);

  PreviewVariables(const PreviewVariables&) = delete;
  PreviewVariables& operator=(const PreviewVariables&) = delete;

  /// The addresses, in binding order: the window's USE address list.
  std::vector<void*> Addresses() const;

  /// The field numbers of the variables, in binding order (a field may repeat).
  std::vector<std::int32_t> Fields() const;
  /// True when `field` has a variable of a kind the value runtime can store into.
  bool CanStore(std::int32_t field) const;

  /// Stores `ansiText` into every variable of `field` as a procedure's assignment would:
  /// through the string stack, a date or time read back through its picture. False when the
  /// field has no variable the value runtime can store into.
  bool Set(std::int32_t field, std::string_view ansiText);

  /// The value of each variable of `field` as the event log shows it: a string quoted (clipped
  /// of trailing blanks), a number as decimal text, a date or time quoted through its picture,
  /// a kind the value runtime does not know as "(kind K, N bytes)".
  std::vector<std::string> Describe(std::int32_t field) const;

  /// The same for the variable at `index` in binding order.
  std::string DescribeAt(std::size_t index) const;

 private:
  struct Variable {
    /// A reference to the variable, as the value runtime sees it.
    std::unique_ptr<values::ValueReference> Reference() const;

    windows::UseBinding binding;
    /// The size the value runtime reads it with: the kind's width, else the declared size.
    std::uint32_t size = 0;
    /// At least `size` and at least one byte.
    std::uint32_t allocated = 0;
    std::unique_ptr<std::uint8_t[]> storage;
  };

  std::vector<Variable> m_variables;
};

/// `ansiText` in double quotes for the log, in UTF-8: a quote or backslash escaped with a
/// backslash, control characters as \xNN.
std::string QuoteForLog(std::string_view ansiText);

}  // namespace vel::tools
