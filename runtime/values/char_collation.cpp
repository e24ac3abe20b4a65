#include "runtime/values/char_collation.h"

#include <algorithm>

namespace vel::values {

void BuildCollatingWeights(std::string_view order, uint8_t weights[256]) {
  for (int b = 0; b < 256; ++b) weights[b] = static_cast<uint8_t>(b);
  bool seen[256] = {};
  uint8_t distinct[256];
  size_t count = 0;
  bool repeated = false;
  for (char c : order) {
    const auto byte = static_cast<uint8_t>(c);
    if (seen[byte]) {
      repeated = true;
      continue;
    }
    seen[byte] = true;
    distinct[count++] = byte;
  }
  // A complete order must consist of exactly the bytes it reorders; otherwise a listed control
  // character could take the weight of an unlisted byte and the two would sort as equal.
  bool onlyOrderedBytes = true;
  for (size_t k = 0; k < count; ++k) {
    onlyOrderedBytes = onlyOrderedBytes && distinct[k] >= 32 && distinct[k] != 127 && distinct[k] != 255;
  }
  if (!repeated && count == kCompleteOrderLength && onlyOrderedBytes) {
    for (size_t k = 0; k < count; ++k) {
      weights[distinct[k]] = static_cast<uint8_t>(k < 95 ? 32 + k : 128 + (k - 95));
    }
    return;
  }
  // The listed characters share out their own codes: the k-th listed gets the k-th smallest.
  uint8_t codes[256];
  std::copy(distinct, distinct + count, codes);
  std::sort(codes, codes + count);
  for (size_t k = 0; k < count; ++k) weights[distinct[k]] = codes[k];
}

void ApplyCaseLists(std::string_view upper, std::string_view lower, CharTables& tables) {
  for (int b = 128; b < 256; ++b) {
    tables.classFlags[b] = 0;
    tables.otherCase[b] = 0;
  }
  const size_t pairs = std::min(upper.size(), lower.size());
  bool paired[256] = {};
  for (size_t i = 0; i < pairs; ++i) {
    const auto u = static_cast<uint8_t>(upper[i]);
    const auto l = static_cast<uint8_t>(lower[i]);
    // A byte listed twice keeps its first partner, so converting to the other case and back
    // always returns the byte it started from.
    if (u < 128 || l < 128 || u == l || paired[u] || paired[l]) continue;
    paired[u] = paired[l] = true;
    tables.otherCase[u] = l;
    tables.otherCase[l] = u;
    tables.classFlags[u] = kUpperLetterFlag;
    tables.classFlags[l] = kLowerLetterFlag;
  }
}

}  // namespace vel::values
