#pragma once
// The compiled form of a display picture: a fixed-size record holding a list of display
// positions, each a fill character and a position code. Controls compile their picture once
// into their own storage and format through it on every repaint, so the record never owns
// memory.

#include <cstdint>

namespace vel::values {

/// Picture classes (bits 0-2 of the header word).
enum class PictureClass : uint8_t {
  Numeric = 0,
  Scientific = 1,
  Date = 2,
  Time = 3,
  Pattern = 4,
  String = 5,
  KeyIn = 6,
};

/// The kind of value a picture reads and writes (bits 3-5 of the header word).
enum class PictureValueKind : uint8_t {
  Text = 0,
  DateOrTime = 1,
  Scientific = 2,
  Numeric = 3,
};

/// Position codes: what a display position shows when formatting.
enum PositionCode : uint8_t {
  kLiteral = 0,
  kGroupSeparator = 1,
  kDecimalSeparator = 2,
  kDigitShown = 3,          ///< A leading zero shows the fill ("0" or "*").
  kDigitBlankable = 4,      ///< A leading zero shows a blank.
  kSign = 5,
  kCurrency = 6,
  kMonthDigit = 7,
  kDayDigit = 8,
  kYearDigit = 9,
  kMonthNameLetter = 10,
  kHourDigit = 11,
  kMinuteDigit = 12,
  kSecondDigit = 13,
  kKeyInLetter = 14,        ///< "@"
  kKeyInUpper = 15,         ///< "^"
  kKeyInLower = 16,         ///< "_"
  kKeyInAny = 17,           ///< "?"
  kDateTimeSeparator = 19,
  kAmPm = 20,
  kExponentSign = 21,
  kImpliedDecimal = 22,     ///< Units digit followed by a decimal point that is not shown.
  kKeyInOptionalEnd = 23,   ///< "|"
};

/// True for the codes of digit positions (shown, blankable, and the units digit that carries
/// an implied decimal point).
inline bool IsDigitCode(uint8_t code) {
  return code == kDigitShown || code == kDigitBlankable || code == kImpliedDecimal;
}

/// Most display positions a picture can list (string pictures need none).
inline constexpr int kMaxPicturePositions = 100;

/// One display position.
struct PicturePosition {
  uint8_t fill = 0;
  uint8_t code = 0;
};

/// A run of consecutive positions with the same code.
struct PositionRun {
  uint8_t code = 0;
  uint8_t first = 0;
  uint8_t count = 0;
};

/// Widest date picture that gets a template, and most runs it may have.
inline constexpr int kMaxDateTemplateWidth = 16;
inline constexpr int kMaxDateRuns = 8;

/// Where a field of a date template is read in one 4-byte load of the typed text: its digits
/// are the load from `loadAt` shifted left by `shift` bits and masked with `digitBits`, with
/// the first digit in the lowest byte kept and a leading zero in every byte below it.
struct DateShapeField {
  uint8_t loadAt = 0;
  uint8_t shift = 0;
  uint32_t digitBits = 0;  ///< 0 for a field the picture lacks
};

/// Where text typed in a date template's shape must show what: 0xFF in lane i where position
/// i is in the set, so that such text is checked in one pass over 16 lanes.
struct DateShape {
  /// False for a template too narrow for a 4-byte load or with a field of more than 4 digits.
  bool readable = false;
  /// The first position of a blankable field that ends the picture (kNoPosition if none): led
  /// by blanks, it must not be followed by a digit past the picture.
  uint8_t lastFieldFirst = kNoPosition;
  /// The month, day and year.
  DateShapeField fields[3] = {};
  /// The digit positions of the month, day and year.
  uint8_t fieldLanes[16] = {};
  /// Field positions that may hold a leading blank instead of a digit: all but the last of a
  /// field that starts the picture or follows a literal or separator.
  uint8_t blankableLanes[16] = {};
  /// Blankable positions after their field's first: a blank there needs a blank before it.
  uint8_t blankAfterBlankLanes[16] = {};
  /// Literal and separator positions, which must hold punctuation or a blank.
  uint8_t punctuationLanes[16] = {};

  static constexpr uint8_t kNoPosition = 0xFF;
  static_assert(kMaxDateTemplateWidth <= 16, "16 lanes cover a template");
};

/// A compiled picture. A width of 0 marks an invalid picture.
struct CompiledPicture {
  /// Class in bits 0-2, value kind in bits 3-5, blank-when-zero in bit 6, width in bits 7-14.
  uint16_t header = 0;
  /// Pivot for two-digit years (date pictures).
  uint8_t centuryWindow = 0;
  /// The number after the class letter: date or time layout, scientific width.
  uint8_t pictureNumber = 0;
  /// Derived from the positions when compiling, so that formatting a number needs a single
  /// walk: the units digit's index, the number of fraction digits, the number of integer
  /// digit positions and whether a sign position exists (numeric and pattern pictures).
  uint8_t unitsIndex = 0;
  uint8_t decimalPlaces = 0;
  uint8_t integerCapacity = 0;
  bool hasSign = false;
  PicturePosition positions[kMaxPicturePositions] = {};
  /// Derived when compiling a date picture of digit fields, literals and separators only (no
  /// month names), at most kMaxDateTemplateWidth wide and with one run per field: its text with every fill in
  /// place, and its runs of positions, so that a date is written by filling in its digits and
  /// read a field at a time. `dateRunCount` 0: the picture has no template.
  uint8_t dateRunCount = 0;
  PositionRun dateRuns[kMaxDateRuns] = {};
  /// The month, day and year runs of a template (a count of 0 when the picture lacks one).
  PositionRun dateFields[3] = {};
  char dateTemplate[kMaxDateTemplateWidth] = {};
  /// How text typed in the template's shape is checked (date pictures with a template).
  DateShape dateShape;
  /// The picture text this record was compiled from; owned by the caller.
  const char* source = nullptr;

  PictureClass Class() const { return static_cast<PictureClass>(header & 7); }
  PictureValueKind ValueKind() const { return static_cast<PictureValueKind>(header >> 3 & 7); }
  bool BlankWhenZero() const { return (header & 0x40) != 0; }
  int Width() const { return header >> 7 & 0xFF; }
  bool IsValid() const { return Width() != 0; }
  /// Number of entries in `positions` that are in use (string pictures use none).
  int PositionCount() const { return Class() == PictureClass::String ? 0 : Width(); }

  /// The last index of the run of positions with the same code that starts at `first`.
  int RunEnd(int first) const {
    const int width = PositionCount();
    int last = first;
    while (last + 1 < width && positions[last + 1].code == positions[first].code) ++last;
    return last;
  }

  void SetClass(PictureClass pictureClass, PictureValueKind kind) {
    header = static_cast<uint16_t>((header & ~0x3F) | static_cast<int>(pictureClass) |
                                   static_cast<int>(kind) << 3);
  }
  void SetBlankWhenZero(bool on) {
    header = static_cast<uint16_t>(on ? header | 0x40 : header & ~0x40);
  }
  void SetWidth(int width) {
    header = static_cast<uint16_t>((header & ~(0xFF << 7)) | (width & 0xFF) << 7);
  }
};

}  // namespace vel::values
