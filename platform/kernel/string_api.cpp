// The kernel's ANSI string calls and wsprintfA.

#include <cstdarg>
#include <cstring>
#include <string>

#include "platform/kernel/ansi_text.h"
#include "win32.h"

namespace {

constexpr size_t kWsprintfLimit = 1024;  // Documented buffer limit, terminator included.

// Formats as wsprintfA does. Arguments are read at their Win32 widths: "l" and no prefix mean
// 32 bits, "h" 16 bits, never a 64-bit long.
std::string FormatWin32(const char* format, va_list args) {
  std::string out;
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    ++p;
    bool left = false, zero = false, alternate = false;
    for (;; ++p) {
      if (*p == '-') left = true;
      else if (*p == '0') zero = true;
      else if (*p == '#') alternate = true;
      else break;
    }
    size_t width = 0;
    while (*p >= '0' && *p <= '9') width = width * 10 + static_cast<size_t>(*p++ - '0');
    bool hasPrecision = false;
    size_t precision = 0;
    if (*p == '.') {
      hasPrecision = true;
      ++p;
      while (*p >= '0' && *p <= '9') precision = precision * 10 + static_cast<size_t>(*p++ - '0');
    }
    bool shortArgument = false;
    if (*p == 'l') ++p;
    else if (*p == 'h') shortArgument = true, ++p;
    if (*p == '\0') break;

    std::string body;
    std::string prefix;
    switch (*p) {
      case 'd':
      case 'i': {
        int32_t value = va_arg(args, int32_t);
        if (shortArgument) value = static_cast<int16_t>(value);
        int64_t wide = value;
        if (wide < 0) prefix = "-", wide = -wide;
        body = std::to_string(wide);
        break;
      }
      case 'u':
      case 'x':
      case 'X': {
        uint32_t value = va_arg(args, uint32_t);
        if (shortArgument) value = static_cast<uint16_t>(value);
        if (*p == 'u') {
          body = std::to_string(value);
        } else {
          const char* digits = *p == 'x' ? "0123456789abcdef" : "0123456789ABCDEF";
          do {
            body.insert(body.begin(), digits[value & 15]);
            value >>= 4;
          } while (value != 0);
          if (alternate) prefix = *p == 'x' ? "0x" : "0X";
        }
        break;
      }
      case 'c':
      case 'C': body = static_cast<char>(va_arg(args, int)); break;
      case 's':
      case 'S': {
        const char* text = va_arg(args, const char*);
        body = text != nullptr ? text : "(null)";
        if (hasPrecision && body.size() > precision) body.resize(precision);
        break;
      }
      default: body = *p; break;  // "%%" and unknown types print the character itself.
    }
    bool numeric = std::strchr("diuxX", *p) != nullptr;
    if (numeric && hasPrecision && body.size() < precision) body.insert(0, precision - body.size(), '0');
    size_t length = prefix.size() + body.size();
    if (length >= width) {
      out += prefix + body;
    } else if (left) {
      out += prefix + body + std::string(width - length, ' ');
    } else if (zero && numeric) {
      out += prefix + std::string(width - length, '0') + body;
    } else {
      out += std::string(width - length, ' ') + prefix + body;
    }
    if (out.size() >= kWsprintfLimit) break;
  }
  return out;
}

}  // namespace

int WINAPI lstrlenA(LPCSTR lpString) { return lpString != nullptr ? static_cast<int>(std::strlen(lpString)) : 0; }

LPSTR WINAPI lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength) {
  if (lpString1 == nullptr || iMaxLength <= 0) return lpString1;
  int i = 0;
  if (lpString2 != nullptr) {
    for (; i < iMaxLength - 1 && lpString2[i] != '\0'; ++i) lpString1[i] = lpString2[i];
  }
  lpString1[i] = '\0';
  return lpString1;
}

int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2) {
  const unsigned char* a = reinterpret_cast<const unsigned char*>(lpString1 != nullptr ? lpString1 : "");
  const unsigned char* b = reinterpret_cast<const unsigned char*>(lpString2 != nullptr ? lpString2 : "");
  for (;; ++a, ++b) {
    int x = vel::platform::AnsiToLower(*a);
    int y = vel::platform::AnsiToLower(*b);
    if (x != y) return x < y ? -1 : 1;
    if (x == 0) return 0;
  }
}

int WINAPIV wsprintfA(LPSTR lpOut, LPCSTR lpFmt, ...) {
  if (lpOut == nullptr || lpFmt == nullptr) return 0;
  va_list args;
  va_start(args, lpFmt);
  std::string text = FormatWin32(lpFmt, args);
  va_end(args);
  if (text.size() > kWsprintfLimit - 1) text.resize(kWsprintfLimit - 1);
  std::memcpy(lpOut, text.c_str(), text.size() + 1);
  return static_cast<int>(text.size());
}
