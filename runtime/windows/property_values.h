#pragma once
// How property values travel on the string stack, for windows and controls alike: numbers as
// their decimal text, texts without the trailing blanks fixed-string variables pad them with.

#include <cstdint>
#include <string>

namespace vel::windows {

/// Pushes a whole number (of pointer width: handles and procedures travel this way too).
void PushPropertyNumber(std::int64_t value);
/// Pushes a text.
void PushPropertyText(const std::string& text);

/// Pops the top value as text without its trailing blanks.
std::string PopPropertyText();
/// Pops a whole number of pointer width: plain digits are read exactly (an address needs more
/// than 32 bits, and more digits than a double holds exactly); any other text is read as the
/// value runtime reads numbers for integer variables.
std::int64_t PopPropertyNumber();

}  // namespace vel::windows
