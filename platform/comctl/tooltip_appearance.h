#pragma once
// How a tip looks and where it goes: its size from its text, its place below the pointer
// kept on the screen, and its painting.

#include <string>

#include "win32.h"

namespace vel::platform {

/// The tip's text as shown: "&" prefixes removed unless the control has TTS_NOPREFIX.
std::string TipDisplayText(const std::string& text, DWORD tooltipStyle);

/// The window size (1-pixel frame included) that holds the text on one line, or wrapped at
/// `maxWidth` pixels when that is not negative.
SIZE TipWindowSize(const std::string& displayText, int maxWidth);

/// Where a tip of `size` goes for the pointer at `pointer`: just below it, moved left to stay
/// on the screen and above the pointer when there is no room below.
POINT TipPosition(POINT pointer, SIZE size, SIZE screen);

/// Paints the client area: the info background and the text in the info colour.
void PaintTip(HWND tooltip, HDC dc, const std::string& displayText, int maxWidth);

/// Draws the 1-pixel black frame round the window.
void PaintTipFrame(HWND tooltip);

/// The font tips are written in.
HFONT TipFont();

}  // namespace vel::platform
