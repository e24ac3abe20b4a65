#include "runtime/controls/keyin_template.h"

#include "runtime/values/char_tables.h"

namespace vel::controls {
namespace {

bool IsAsciiLetterOrHigh(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xC0;
}

}  // namespace

KeyInTemplate::KeyInTemplate(const values::CompiledPicture& picture) : m_picture(picture) {}

bool KeyInTemplate::IsEditable(int position) const {
  if (position < 0 || position >= Width()) return false;
  switch (m_picture.positions[position].code) {
    case values::kDigitShown:
    case values::kDigitBlankable:
    case values::kKeyInLetter:
    case values::kKeyInUpper:
    case values::kKeyInLower:
    case values::kKeyInAny: return true;
    default: return false;
  }
}

unsigned char KeyInTemplate::Accept(int position, unsigned char character) const {
  if (!IsEditable(position)) return 0;
  switch (m_picture.positions[position].code) {
    case values::kDigitShown: return character >= '0' && character <= '9' ? character : 0;
    case values::kDigitBlankable: return (character >= '0' && character <= '9') || character == ' ' ? character : 0;
    case values::kKeyInLetter: return IsAsciiLetterOrHigh(character) ? character : 0;
    case values::kKeyInUpper: return IsAsciiLetterOrHigh(character) ? values::ToUpperChar(character) : 0;
    case values::kKeyInLower: return IsAsciiLetterOrHigh(character) ? values::ToLowerChar(character) : 0;
    default: return character >= 0x20 ? character : 0;
  }
}

std::string KeyInTemplate::Fill(std::string_view text) const {
  std::string filled(static_cast<std::size_t>(Width()), ' ');
  for (int i = 0; i < Width(); ++i) {
    auto index = static_cast<std::size_t>(i);
    if (!IsEditable(i)) {
      filled[index] = static_cast<char>(m_picture.positions[i].fill);
    } else if (index < text.size()) {
      unsigned char taken = Accept(i, static_cast<unsigned char>(text[index]));
      if (taken != 0) filled[index] = static_cast<char>(taken);
    }
  }
  return filled;
}

int KeyInTemplate::NextEditable(int position) const {
  int at = position < 0 ? 0 : position;
  while (at < Width() && !IsEditable(at)) ++at;
  return at;
}

int KeyInTemplate::PreviousEditable(int position) const {
  int at = (position > Width() ? Width() : position) - 1;
  while (at >= 0 && !IsEditable(at)) --at;
  return at;
}

bool KeyInTemplate::Type(std::string& text, int& caret, unsigned char character) const {
  for (int at = NextEditable(caret); at < Width(); at = NextEditable(at + 1)) {
    unsigned char taken = Accept(at, character);
    if (taken == 0) continue;
    text[static_cast<std::size_t>(at)] = static_cast<char>(taken);
    caret = NextEditable(at + 1);
    return true;
  }
  return false;
}

bool KeyInTemplate::ClearBefore(std::string& text, int& caret) const {
  int at = PreviousEditable(caret);
  if (at < 0) return false;
  text[static_cast<std::size_t>(at)] = ' ';
  caret = at;
  return true;
}

bool KeyInTemplate::ClearAt(std::string& text, int caret) const {
  int at = NextEditable(caret);
  if (at >= Width()) return false;
  text[static_cast<std::size_t>(at)] = ' ';
  return true;
}

void KeyInTemplate::ClearRange(std::string& text, int start, int end) const {
  for (int at = NextEditable(start); at < end && at < Width(); at = NextEditable(at + 1))
    text[static_cast<std::size_t>(at)] = ' ';
}

}  // namespace vel::controls
