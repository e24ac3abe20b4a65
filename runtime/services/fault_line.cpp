#include "runtime/services/fault_line.h"

namespace vel::services {

FaultLine& FaultLine::Text(const char* text) { return Text(text, kCapacity); }

FaultLine& FaultLine::Text(const char* text, std::size_t limit) {
  if (text == nullptr) return *this;
  for (std::size_t i = 0; i < limit && text[i] != '\0' && m_length < kCapacity - kLineEndRoom; ++i) {
    m_text[m_length++] = text[i];
  }
  return *this;
}

FaultLine& FaultLine::EndLine(const char* end) {
  for (std::size_t i = 0; end[i] != '\0' && m_length < kCapacity; ++i) m_text[m_length++] = end[i];
  return *this;
}

FaultLine& FaultLine::Hex(std::uint64_t value, int minDigits, bool upperCase) {
  const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
  char reversed[16];
  int count = 0;
  do {
    reversed[count++] = digits[value & 0xF];
    value >>= 4;
  } while (value != 0);
  while (count < minDigits && count < 16) reversed[count++] = '0';
  char text[17];
  for (int i = 0; i < count; ++i) text[i] = reversed[count - 1 - i];
  text[count] = '\0';
  return Text(text);
}

FaultLine& FaultLine::Decimal(std::int64_t value) {
  // The magnitude is taken unsigned so that the most negative value needs no special case.
  std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  char reversed[20];
  int count = 0;
  do {
    reversed[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  char text[22];
  int length = 0;
  if (value < 0) text[length++] = '-';
  while (count > 0) text[length++] = reversed[--count];
  text[length] = '\0';
  return Text(text);
}

void FaultLine::WriteTo(HFILE file) {
  if (file != HFILE_ERROR && m_length > 0) _lwrite(file, m_text, static_cast<UINT>(m_length));
  m_length = 0;
}

}  // namespace vel::services
