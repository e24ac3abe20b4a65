#pragma once
// String functions on the string stack that go through pictures and the character tables,
// and substring references.

#include <cstdint>
#include <memory>

namespace vel::values {

/// FORMAT: pops the value text, formats it through `picture` (zero-terminated; nullptr is a
/// string picture of width 255) and pushes the formatted text. Text pictures copy the value
/// with the fixed-string rules, numeric and pattern pictures read it as a decimal, date, time
/// and scientific pictures read it as a floating-point number. An invalid picture pushes the
/// empty text.
void FormatTopWithPicture(const char* picture);

/// DEFORMAT: pops the text, reads it back through `picture` and pushes the result as a value
/// of its own. With nullptr the formatting characters of a plain number are stripped.
void DeformatTopWithPicture(const char* picture);

/// A reference to characters start to end (from 1, inclusive) of a fixed string variable. It
/// shares the variable's storage and does not own it.
class SubstringReference {
 public:
  SubstringReference(char* data, uint32_t size) : m_data(data), m_size(size) {}

  /// The first referenced byte and the slice width.
  char* Data() const { return m_data; }
  uint32_t Size() const { return m_size; }

  /// Writes a value into the slice with the fixed-string rules: a longer value is cut, a
  /// shorter one filled with blanks to the slice width.
  void Assign(const char* value, uint32_t length);

  /// Pushes the slice's bytes onto the string stack as a reference.
  void Push() const;

 private:
  char* m_data;
  uint32_t m_size;
};

/// Makes a reference to characters `start` to `end` of the fixed string at `storage` of
/// `declaredSize` bytes. Unless 1 <= start <= end <= declaredSize, raises runtime error 8 with
/// the extra text "Parameter typing error" through the value error sink, as a typed
/// reference's slice does, and returns no reference.
std::unique_ptr<SubstringReference> SliceString(char* storage, uint32_t declaredSize, int32_t start,
                                                int32_t end);

}  // namespace vel::values
