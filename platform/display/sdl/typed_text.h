#pragma once
// Text typed on the desktop arrives as UTF-8 (from the keyboard's layout, dead keys or an input
// method); the program reads Windows-1252 characters. This is where one becomes the other.

#include <string_view>

#include "platform/display/display_backend.h"

namespace vel::platform {

/// Hands typed UTF-8 text to `sink` as Windows-1252 characters. A character that a key of the
/// layout types is passed over (its key events type it through TranslateMessage); a character
/// the code page lacks, or a malformed sequence, is refused with a beep instead of reaching the
/// program as a stand-in.
void DeliverTypedText(InputSink& sink, std::string_view utf8);

}  // namespace vel::platform
