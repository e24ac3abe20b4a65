#pragma once
// The exact decimal value that numeric pictures format: the same unpacked layout as an entry of
// the decimal stack, so that a stack entry can be handed over digit for digit.

#include <cstddef>
#include <cstdint>

namespace vel::values {

/// Position of the units digit; position i weighs 10 to the power (i - 32).
inline constexpr int kUnitsPosition = 32;
inline constexpr int kDecimalPositions = 64;

/// An unpacked fixed-point decimal: 32 integer and 32 fraction digits and a sign.
struct PictureDecimal {
  uint8_t digits[kDecimalPositions] = {};
  bool negative = false;
};

/// Parses text by the decimal text grammar: leading blanks, an optional "-", integer digits,
/// optionally "." and fraction digits, and only after a fraction an exponent ("e" or "E", an
/// optional "-", digits). Anything else ends the number; text without digits gives 0. Digits
/// beyond the 32 integer or 32 fraction positions are lost.
void ParseDecimalText(const char* text, size_t length, PictureDecimal& value);

/// Converts a floating-point value rounded to 15 significant digits (non-finite values give 0).
void DecimalFromDouble(double number, PictureDecimal& value);

/// True when every digit is 0.
bool IsZero(const PictureDecimal& value);

/// Rounds the magnitude half up to `places` decimal places (0 to 32), carrying upwards.
void RoundDecimal(PictureDecimal& value, int places);

}  // namespace vel::values
