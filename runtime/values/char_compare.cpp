#include "runtime/values/char_compare.h"

#include <cstring>

namespace vel::values {
namespace {

const uint8_t* Bytes(const char* text) { return reinterpret_cast<const uint8_t*>(text); }

// Compares two texts read through digraph readers. `upper` upper-cases each delivered
// character; `endResult` decides the outcome when one or both texts have ended.
template <bool kUpper, bool kEndAsZero>
int CompareThroughDigraphs(DigraphReader& first, DigraphReader& second) {
  const uint8_t* weight = g_charTables.weight;
  for (;;) {
    uint8_t a = 0;
    uint8_t b = 0;
    const bool hasA = first.Next(a);
    const bool hasB = second.Next(b);
    if (!hasA || !hasB) {
      if (!hasA && !hasB) return 0;
      if constexpr (!kEndAsZero) return hasA ? 1 : -1;
      // An ended text meets the other with its terminator, whose weight is that of byte 0.
    }
    if constexpr (kUpper) {
      a = ToUpperChar(a);
      b = ToUpperChar(b);
    }
    if (a != b) {
      const int difference = weight[a] - weight[b];
      if (difference != 0 || kEndAsZero) return difference;
    }
  }
}

template <bool kUpper>
int CompareZeroTerminated(const char* first, const char* second) {
  if (DigraphsInUse()) {
    DigraphReader a(Bytes(first), SIZE_MAX, g_charTables.digraphs, true);
    DigraphReader b(Bytes(second), SIZE_MAX, g_charTables.digraphs, true);
    return CompareThroughDigraphs<kUpper, true>(a, b);
  }
  const uint8_t* weight = g_charTables.weight;
  const uint8_t* a = Bytes(first);
  const uint8_t* b = Bytes(second);
  for (;; ++a, ++b) {
    uint8_t x = *a;
    uint8_t y = *b;
    if constexpr (kUpper) {
      x = ToUpperChar(x);
      y = ToUpperChar(y);
    }
    if (x != y) return weight[x] - weight[y];
    if (x == 0) return 0;
  }
}

}  // namespace

DigraphReader::DigraphReader(const uint8_t* text, size_t length, const DigraphEntry* table,
                             bool stopAtZero)
    : m_text(text), m_remaining(length), m_table(table), m_stopAtZero(stopAtZero) {}

bool DigraphReader::Next(uint8_t& c) {
  if (m_hasPending) {
    m_hasPending = false;
    c = m_pending;
    return true;
  }
  if (m_remaining == 0) return false;
  const uint8_t byte = *m_text;
  if (byte == 0 && m_stopAtZero) return false;
  ++m_text;
  --m_remaining;
  for (int i = 0; i < kDigraphCapacity && m_table[i].character != 0; ++i) {
    if (m_table[i].character == byte) {
      c = m_table[i].first;
      m_pending = m_table[i].second;
      m_hasPending = true;
      return true;
    }
  }
  c = byte;
  return true;
}

int CompareText(const char* first, const char* second) {
  return CompareZeroTerminated<false>(first, second);
}

int CompareTextNoCase(const char* first, const char* second) {
  return CompareZeroTerminated<true>(first, second);
}

int CompareBytesNoCase(const char* first, const char* second, size_t count) {
  if (DigraphsInUse()) {
    DigraphReader a(Bytes(first), count, g_charTables.digraphs, false);
    DigraphReader b(Bytes(second), count, g_charTables.digraphs, false);
    return CompareThroughDigraphs<true, false>(a, b);
  }
  const uint8_t* weight = g_charTables.weight;
  for (size_t i = 0; i < count; ++i) {
    const int difference =
        weight[ToUpperChar(Bytes(first)[i])] - weight[ToUpperChar(Bytes(second)[i])];
    if (difference != 0) return difference;
  }
  return 0;
}

void LowerText(char* text, unsigned count) {
  if (count == kUpToTerminator) {
    for (; *text != 0; ++text) *text = static_cast<char>(ToLowerChar(static_cast<uint8_t>(*text)));
    return;
  }
  for (unsigned i = 0; i < count; ++i) {
    text[i] = static_cast<char>(ToLowerChar(static_cast<uint8_t>(text[i])));
  }
}

void UpperRun(char* text, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    text[i] = static_cast<char>(ToUpperChar(static_cast<uint8_t>(text[i])));
  }
}

}  // namespace vel::values
