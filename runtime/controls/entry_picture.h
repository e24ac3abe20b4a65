#pragma once
// An entry's display picture: which kind of value it edits, how the value looks while it is
// edited and while it is only shown, and how typed text turns back into a value. Typed text is
// read tolerantly (a number without its grouping, a date with fewer leading blanks than the
// picture shows) and refused with an error code when it cannot mean a value.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/values/picture_record.h"

namespace vel::controls {

/// The error an entry reports when typed text is not a value of its picture ("Invalid Data").
inline constexpr std::int32_t kErrorInvalidInput = 313;

/// Edit mode bits of an entry's definition.
inline constexpr std::uint8_t kModeReadOnly = 0x80;
inline constexpr std::uint8_t kModePassword = 0x40;
inline constexpr std::uint8_t kModeUpperCase = 0x20;
inline constexpr std::uint8_t kModeCapitalise = 0x10;

class EntryPicture {
 public:
  /// Compiles the definition's picture; none, or one that does not compile, is "S20". A leading
  /// "@" is optional.
  explicit EntryPicture(const std::optional<std::string>& text);

  EntryPicture(const EntryPicture&) = delete;
  EntryPicture& operator=(const EntryPicture&) = delete;

  /// The picture's letter in upper case: N, E, T, D, S, K or P.
  char Kind() const { return m_kind; }
  const values::CompiledPicture& Compiled() const { return m_compiled; }
  /// The number of display positions (a string picture's declared width).
  int DeclaredWidth() const { return m_compiled.Width(); }
  /// String and key-in pictures edit text; the others a number, date or time.
  bool IsStringData() const { return m_kind == 'S' || m_kind == 'K'; }
  /// The edit mode as the picture adjusts it: numbers are never upper-cased or capitalised;
  /// scientific numbers capitalise (the exponent's "E").
  std::uint8_t AdjustMode(std::uint8_t mode) const;

  /// The value (as its text) as the entry shows it without the focus: formatted through the
  /// picture at full width; a string without its trailing blanks.
  std::string DisplayText(std::string_view value) const;
  /// The value as it is edited: the display text without the blanks around it (a key-in
  /// template keeps every position).
  std::string EditingText(std::string_view value) const;
  /// Reads typed text back: 0 and the value as text in `value`, or kErrorInvalidInput.
  std::int32_t Read(std::string_view typed, std::string& value) const;

 private:
  std::int32_t ReadNumber(std::string_view typed, std::string& value) const;
  std::int32_t ReadScientific(std::string_view typed, std::string& value) const;
  std::int32_t ReadDateOrTime(std::string_view typed, std::string& value) const;
  std::int32_t ReadPattern(std::string_view typed, std::string& value) const;
  /// True when `serial` shows the same month, day and year as the typed (aligned) text.
  bool SameDateFields(const std::string& typed, std::int32_t serial) const;

  std::string m_source;
  values::CompiledPicture m_compiled;
  char m_kind = 'S';
};

}  // namespace vel::controls
