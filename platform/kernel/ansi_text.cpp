#include "platform/kernel/ansi_text.h"

#include <array>
#include <optional>
#include <vector>

namespace vel::platform {
namespace {

// Windows-1252 bytes 0x80-0x9F; the rest of the code page equals Latin-1 and Unicode.
constexpr std::array<uint16_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The Windows-1252 byte of a code point, or none when the code page lacks it.
std::optional<unsigned char> ExactAnsi(uint32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<unsigned char>(code);
  for (size_t i = 0; i < kHighControlRange.size(); ++i) {
    if (kHighControlRange[i] == code) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

}  // namespace

unsigned char AnsiToLower(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c < 0x80) return c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A: return 0x9A;  // S caron
    case 0x8C: return 0x9C;  // OE
    case 0x8E: return 0x9E;  // Z caron
    case 0x9F: return 0xFF;  // Y diaeresis
    default: return c;
  }
}

unsigned char AnsiToUpper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c < 0x80) return c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
  }
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x != y && AnsiToLower(x) != AnsiToLower(y)) return false;
  }
  return true;
}

uint16_t AnsiToUnicode(unsigned char c) {
  if (c >= 0x80 && c <= 0x9F) return kHighControlRange[c - 0x80];
  return c;
}

unsigned char UnicodeToAnsi(uint16_t unit) { return ExactAnsi(unit).value_or('?'); }

std::string AnsiToUtf8(std::string_view ansi) {
  std::string utf8;
  utf8.reserve(ansi.size());
  for (unsigned char c : ansi) {
    const uint16_t code = AnsiToUnicode(c);
    if (code < 0x80) {
      utf8 += static_cast<char>(code);
    } else if (code < 0x800) {
      utf8 += static_cast<char>(0xC0 | (code >> 6));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      utf8 += static_cast<char>(0xE0 | (code >> 12));
      utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return utf8;
}

std::vector<std::optional<char>> Utf8ToAnsiCharacters(std::string_view utf8) {
  std::vector<std::optional<char>> characters;
  characters.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    uint32_t code = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
    bool valid = length != 0 && i + length <= utf8.size();
    for (int k = 1; valid && k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    if (!valid) {
      // A broken sequence stands for one unknown character; decoding goes on after its lead byte.
      characters.emplace_back(std::nullopt);
      ++i;
      continue;
    }
    std::optional<unsigned char> byte = ExactAnsi(code);
    characters.emplace_back(byte ? std::optional<char>(static_cast<char>(*byte)) : std::nullopt);
    i += length;
  }
  return characters;
}

std::string Utf8ToAnsi(std::string_view utf8) {
  std::string ansi;
  for (const std::optional<char>& character : Utf8ToAnsiCharacters(utf8)) ansi += character.value_or('?');
  return ansi;
}

}  // namespace vel::platform
