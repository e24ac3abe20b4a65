#include "platform/gdi/code_page.h"

namespace vel::platform {

char32_t UnicodeFrom1252(unsigned char byte) {
  // 0x80-0x9F are where 1252 differs from Latin-1; zeros mark the unassigned bytes.
  static const char16_t high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  if (byte < 0x80 || byte > 0x9F) return byte;
  char16_t mapped = high[byte - 0x80];
  return mapped != 0 ? mapped : byte;
}

}  // namespace vel::platform
