#include "tools/vel-eval/console_text.h"

#include <cstdint>

namespace vel::tools {

namespace {

// Code points of the bytes 0x80 to 0x9F; the unassigned ones stand for themselves.
constexpr std::uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::uint32_t CodePointOf(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

char ByteFor(std::uint32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    return static_cast<char>(codePoint);
  }
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == codePoint) return static_cast<char>(0x80 + i);
  }
  return '?';
}

/// Decodes one UTF-8 sequence at `i`; returns its length, or 0 when it is not valid UTF-8.
std::size_t Decode(std::string_view text, std::size_t i, std::uint32_t& codePoint) {
  auto byte = static_cast<unsigned char>(text[i]);
  std::size_t length = byte >= 0xF0 && byte < 0xF5 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 ? 2 : 0;
  if (byte >= 0xF5 || length == 0 || i + length > text.size()) return 0;
  codePoint = byte & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    codePoint = codePoint << 6 | (next & 0x3F);
  }
  // Overlong forms and surrogates are not valid UTF-8.
  static constexpr std::uint32_t kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (codePoint < kSmallest[length] || (codePoint >= 0xD800 && codePoint < 0xE000)) return 0;
  return length;
}

void AppendUtf8(std::string& out, std::uint32_t codePoint) {
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xC0 | codePoint >> 6));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | codePoint >> 12));
    out.push_back(static_cast<char>(0x80 | (codePoint >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

}  // namespace

std::string Utf8ToAnsi(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    auto byte = static_cast<unsigned char>(text[i]);
    std::uint32_t codePoint = 0;
    std::size_t length = byte < 0x80 ? 0 : Decode(text, i, codePoint);
    if (length == 0) {
      out.push_back(text[i]);
      ++i;
      continue;
    }
    out.push_back(ByteFor(codePoint));
    i += length;
  }
  return out;
}

std::string AnsiToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace vel::tools
