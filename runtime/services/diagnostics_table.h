#pragma once
// The runtime's internal diagnostics (heap and stream misuse, pure virtual calls): a table of
// numbered texts, some of them formats, and their formatting with typed arguments.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace vel::services {

/// One row of the diagnostics table. The last row has number kUnknownDiagnostic and stands for
/// every number the table does not hold.
struct DiagnosticRow {
  int number;
  const char* format;
};

inline constexpr int kUnknownDiagnostic = -1;
inline constexpr int kPureVirtualCallDiagnostic = 80;
inline constexpr int kUnimplementedFunctionDiagnostic = 81;

/// A formatted diagnostic fits into a buffer of this size, terminator included.
inline constexpr std::size_t kDiagnosticTextSize = 200;

/// One argument of a diagnostic: a number or a text. Arguments carry their type, so a format
/// can never read more or other than it was given.
class DiagnosticArgument {
 public:
  DiagnosticArgument(long long number) : m_value(number) {}
  DiagnosticArgument(long number) : m_value(static_cast<long long>(number)) {}
  DiagnosticArgument(int number) : m_value(static_cast<long long>(number)) {}
  DiagnosticArgument(unsigned long number) : m_value(static_cast<long long>(number)) {}
  DiagnosticArgument(unsigned number) : m_value(static_cast<long long>(number)) {}
  DiagnosticArgument(std::string_view text) : m_value(text) {}
  /// The argument refers to the text, which must outlive the formatting.
  DiagnosticArgument(const std::string& text) : m_value(std::string_view(text)) {}
  DiagnosticArgument(const char* text) : m_value(std::string_view(text != nullptr ? text : "(null)")) {}

  /// The argument as the conversion wants it: numbers in decimal (or hexadecimal for 'x'),
  /// texts as they are, whatever the conversion.
  std::string Render(char conversion) const;

 private:
  std::variant<long long, std::string_view> m_value;
};

/// The whole table in search order, the terminating row included.
std::span<const DiagnosticRow> DiagnosticTable();

/// The format of the first row with this number, or the terminating row's "Unknown Error".
const char* DiagnosticFormat(int number);

/// Formats a format from the table with the arguments into at most kDiagnosticTextSize - 1
/// characters. Conversions d, i, u, x and s (with an optional l, ll or h) take the next
/// argument; "%%" is a percent sign; a conversion without an argument left reads "(missing)";
/// anything else after a percent sign is copied as it stands.
std::string FormatDiagnosticText(std::string_view format, std::span<const DiagnosticArgument> arguments);

/// Looks the number up and formats its text with the arguments.
std::string FormatDiagnostic(int number, std::initializer_list<DiagnosticArgument> arguments = {});

}  // namespace vel::services
