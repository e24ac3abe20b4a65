#pragma once
// Brushes for colour values, made once per value and kept for the life of the program, so that
// painting never creates or deletes one.

#include <cstdint>

#include "win32.h"

namespace vel::controls {

/// A colour value with this bit names a system colour (its low 16 bits the index).
inline constexpr std::uint32_t kSystemColour = 0x80000000u;
/// The colour value that stands for no colour.
inline constexpr std::uint32_t kNoColourValue = 0xFFFFFFFFu;

/// The solid brush of a colour value: the platform's own brush for a system colour (which keeps
/// following that colour), a cached brush for any other; the null brush for no colour. The
/// caller never deletes it.
HBRUSH BrushForColourValue(std::uint32_t value);

/// Deletes the cached brushes (when the control framework stops).
void ReleaseControlBrushes();

}  // namespace vel::controls
