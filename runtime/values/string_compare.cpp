#include "runtime/values/string_compare.h"

#include <algorithm>

#include "runtime/values/character_rules.h"

namespace vel::values {

namespace {

constexpr unsigned char kBlank = 32;

// Reads a string value as a sequence of characters in which a digraph stands for its two
// replacement characters; past the end it reads blanks.
class DigraphReader {
 public:
  DigraphReader(const CharacterRules& rules, const unsigned char* bytes, std::uint32_t length)
      : m_rules(rules), m_bytes(bytes), m_length(length) {}

  bool Exhausted() const { return m_position >= m_length && !m_hasPending; }

  unsigned char Next() {
    if (m_hasPending) {
      m_hasPending = false;
      return m_pending;
    }
    if (m_position >= m_length) return kBlank;
    unsigned char byte = m_bytes[m_position++];
    unsigned char first = 0;
    unsigned char second = 0;
    if (!m_rules.ExpandDigraph(byte, first, second)) return byte;
    m_pending = second;
    m_hasPending = true;
    return first;
  }

 private:
  const CharacterRules& m_rules;
  const unsigned char* m_bytes;
  std::uint32_t m_length;
  std::uint32_t m_position = 0;
  unsigned char m_pending = 0;
  bool m_hasPending = false;
};

int CompareDigraphs(const CharacterRules& rules, const unsigned char* a, std::uint32_t aLength,
                    const unsigned char* b, std::uint32_t bLength, int stoppedDifference) {
  DigraphReader readerA(rules, a, aLength);
  DigraphReader readerB(rules, b, bLength);
  while (!readerA.Exhausted() || !readerB.Exhausted()) {
    int difference = rules.Weight(readerA.Next()) - rules.Weight(readerB.Next());
    if (difference != 0) return difference;
  }
  return stoppedDifference;
}

}  // namespace

int CompareStrings(const char* a, std::uint32_t aLength, const char* b, std::uint32_t bLength) {
  const auto* bytesA = reinterpret_cast<const unsigned char*>(a);
  const auto* bytesB = reinterpret_cast<const unsigned char*>(b);
  if (bytesA == nullptr) aLength = 0;
  if (bytesB == nullptr) bLength = 0;
  const CharacterRules& rules = CurrentCharacterRules();
  std::uint32_t longer = std::max(aLength, bLength);
  for (std::uint32_t i = 0; i < longer; ++i) {
    unsigned char byteA = i < aLength ? bytesA[i] : kBlank;
    unsigned char byteB = i < bLength ? bytesB[i] : kBlank;
    if (byteA == byteB) continue;
    int difference = rules.Weight(byteA) - rules.Weight(byteB);
    if (rules.HasDigraphs()) {
      std::uint32_t restA = i < aLength ? aLength - i : 0;
      std::uint32_t restB = i < bLength ? bLength - i : 0;
      return CompareDigraphs(rules, restA ? bytesA + i : nullptr, restA,
                             restB ? bytesB + i : nullptr, restB, difference);
    }
    // Two different bytes of equal weight do not decide the order: stopping there would make
    // values that differ further on compare equal, and equality would stop being transitive.
    if (difference != 0) return difference;
  }
  return 0;
}

int ComparePrefixStrings(const char* a, std::uint32_t aLength, const char* b,
                         std::uint32_t bLength) {
  std::uint32_t shorter = std::min(a == nullptr ? 0 : aLength, b == nullptr ? 0 : bLength);
  return CompareStrings(a, shorter, b, shorter);
}

}  // namespace vel::values
