#pragma once
// The font facts a window's unit converts with, measured the way dialog units are measured
// on the platform: the average character width from the extent of the 52 letters "A".."Z",
// "a".."z" and the height from the font's cell height, with the window font selected into a
// screen device context, and the screen's dots per inch.

#include <optional>

#include "runtime/windows/definition_types.h"
#include "runtime/windows/unit_conversion.h"
#include "win32.h"

namespace vel::windows {

/// The logical font of a definition's font record at `dotsPerInchY`: the face ("System" when
/// the record has none), the height for its points (0, the face's default, when it gives none),
/// and the weight, italic, underline and strike-out of its style (a style not given is a
/// normal weight).
LOGFONTA LogicalFontFor(const FontRecord& font, int dotsPerInchY);

/// Measures the window font: the definition's font record when it has one, else the system
/// font. Falls back to the system font's nominal cell (6 by 13 pixels) when the screen cannot
/// be measured.
UnitMetrics MeasureWindowFont(const std::optional<FontRecord>& font);

}  // namespace vel::windows
