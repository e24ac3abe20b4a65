#pragma once
// Appends display positions to a compiled picture while it is being built, refusing (and
// remembering) anything beyond the record's capacity.

#include "runtime/values/picture_record.h"

namespace vel::values {

/// Builds the position list of one picture.
class PictureBuilder {
 public:
  explicit PictureBuilder(CompiledPicture& picture) : m_picture(picture) {}

  /// Appends one position; beyond the capacity the builder is marked overflowed.
  void Add(uint8_t fill, uint8_t code) {
    if (m_count >= kMaxPicturePositions) {
      m_overflow = true;
      return;
    }
    m_picture.positions[m_count++] = PicturePosition{fill, code};
  }

  /// Appends a digit field of `digits` positions. In a two-digit field the first position
  /// takes `leadFill` (a blank suppresses a leading zero, "0" pads); every other position "0".
  void AddField(uint8_t code, int digits, uint8_t leadFill) {
    for (int i = 0; i < digits; ++i) Add(i == 0 && digits > 1 ? leadFill : '0', code);
  }

  int Count() const { return m_count; }
  bool Overflowed() const { return m_overflow; }

 private:
  CompiledPicture& m_picture;
  int m_count = 0;
  bool m_overflow = false;
};

}  // namespace vel::values
