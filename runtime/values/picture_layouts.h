#pragma once
// The fixed date and time layouts of date and time pictures.

#include "runtime/values/picture_builder.h"

namespace vel::values {

/// Appends the positions of date layout `number` (1 to 18). False for an unknown number.
bool BuildDateLayout(int number, PictureBuilder& builder);

/// Appends the positions of time layout `number` (1 to 8). False for an unknown number.
bool BuildTimeLayout(int number, PictureBuilder& builder);

/// True for the date layouts without a day field (month and year only).
inline bool DateLayoutHasNoDay(int number) { return number >= 13 && number <= 16; }

/// True for the layouts that show month names as stored instead of upper-cased.
inline bool DateLayoutKeepsNameCase(int number) { return number == 4 || number == 18; }

/// True for the layouts built from the Windows regional settings.
inline bool TimeLayoutUsesWindowsAmPm(int number) { return number == 7 || number == 8; }

}  // namespace vel::values
