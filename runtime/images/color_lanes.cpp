#include "runtime/images/color_lanes.h"

#include "runtime/images/bit_count.h"

#if defined(__x86_64__)
#include <immintrin.h>
#define VEL_WIDE_LANES 1
#else
#define VEL_WIDE_LANES 0
#endif

namespace vel::images {
namespace {

std::uint32_t DividePlain(const std::uint32_t* from, std::uint32_t* to, std::uint32_t count, unsigned shift,
                          std::uint32_t limit) {
  return DivideColors(from, to, count, [shift, limit](std::uint32_t color) { return ((color >> shift) & 0xFF) <= limit; });
}

VEL_COUNTS_BITS std::size_t ListPlain(const DistinctColorWord* words, std::size_t count, std::uint32_t* out) {
  std::size_t listed = 0;
  for (std::size_t word = 0; word < count; ++word) {
    auto base = static_cast<std::uint32_t>(word * 64);
    for (std::uint64_t bits = words[word].Bits(); bits != 0; bits &= bits - 1) {
      out[listed++] = base + static_cast<std::uint32_t>(__builtin_ctzll(bits));
    }
  }
  return listed;
}

#if VEL_WIDE_LANES

#define VEL_WIDE_TARGET [[gnu::target("avx512f,avx512bw,avx512vbmi2,popcnt")]]

// GCC 12 takes the undefined vectors inside its own vector functions for uninitialised values.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

VEL_WIDE_TARGET std::uint32_t DivideWide(const std::uint32_t* from, std::uint32_t* to, std::uint32_t count,
                                         unsigned shift, std::uint32_t limit) {
  const __m512i limits = _mm512_set1_epi32(static_cast<int>(limit));
  const __m512i channelBits = _mm512_set1_epi32(0xFF);
  const __m128i shiftBy = _mm_cvtsi32_si128(static_cast<int>(shift));
  // The first colours fill [0, low) upwards, the others [high, count) downwards.
  std::uint32_t low = 0;
  std::uint32_t high = count;
  std::uint32_t i = 0;
  for (; count - i >= 16; i += 16) {
    __m512i colors = _mm512_loadu_si512(from + i);
    __m512i channel = _mm512_and_si512(_mm512_srl_epi32(colors, shiftBy), channelBits);
    __mmask16 first = _mm512_cmple_epu32_mask(channel, limits);
    auto firsts = static_cast<unsigned>(__builtin_popcount(first));
    unsigned others = 16 - firsts;
    high -= others;
    // Packed in a register and stored under a mask: the processors that have these
    // instructions store packed colours straight to memory far more slowly.
    _mm512_mask_storeu_epi32(to + low, static_cast<__mmask16>((1u << firsts) - 1),
                             _mm512_maskz_compress_epi32(first, colors));
    _mm512_mask_storeu_epi32(to + high, static_cast<__mmask16>((1u << others) - 1),
                             _mm512_maskz_compress_epi32(static_cast<__mmask16>(~first), colors));
    low += firsts;
  }
  if (i < count) low += DividePlain(from + i, to + low, count - i, shift, limit);
  return low;
}

// Each word's set bits become their positions by packing the bytes 0..63 under the word as a
// mask; sixteen of them are widened and stored whatever the word holds, so that most words take
// no branch.
VEL_WIDE_TARGET std::size_t ListWide(const DistinctColorWord* words, std::size_t count, std::uint32_t* out) {
  alignas(64) static constexpr std::uint8_t kPositions[64] = {
      0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
      22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43,
      44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63};
  const __m512i positions = _mm512_load_si512(kPositions);
  std::size_t listed = 0;
  for (std::size_t word = 0; word < count; ++word) {
    std::uint64_t bits = words[word].Bits();
    __m512i packed = _mm512_maskz_compress_epi8(bits, positions);
    __m512i base = _mm512_set1_epi32(static_cast<int>(word * 64));
    std::uint32_t* at = out + listed;
    _mm512_storeu_si512(at, _mm512_add_epi32(_mm512_cvtepu8_epi32(_mm512_castsi512_si128(packed)), base));
    auto present = static_cast<unsigned>(__builtin_popcountll(bits));
    if (present > 16) {
      _mm512_storeu_si512(at + 16, _mm512_add_epi32(_mm512_cvtepu8_epi32(_mm512_extracti32x4_epi32(packed, 1)), base));
      if (present > 32) {
        _mm512_storeu_si512(at + 32,
                            _mm512_add_epi32(_mm512_cvtepu8_epi32(_mm512_extracti32x4_epi32(packed, 2)), base));
      }
      if (present > 48) {
        _mm512_storeu_si512(at + 48,
                            _mm512_add_epi32(_mm512_cvtepu8_epi32(_mm512_extracti32x4_epi32(packed, 3)), base));
      }
    }
    listed += present;
  }
  return listed;
}

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

bool HasWideLanes() {
  static const bool wide = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                           __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("popcnt");
  return wide;
}

#else

bool HasWideLanes() { return false; }

#endif

}  // namespace

bool WideColorLanes() { return HasWideLanes(); }

std::uint32_t DivideByChannel(const std::uint32_t* from, std::uint32_t* to, std::uint32_t count, unsigned shift,
                              std::uint32_t limit, ColorLanes lanes) {
#if VEL_WIDE_LANES
  if (lanes == ColorLanes::kWide && HasWideLanes()) return DivideWide(from, to, count, shift, limit);
#endif
  (void)lanes;
  return DividePlain(from, to, count, shift, limit);
}

std::size_t ListColors(const DistinctColorWord* words, std::size_t count, std::uint32_t* out, ColorLanes lanes) {
#if VEL_WIDE_LANES
  if (lanes == ColorLanes::kWide && HasWideLanes()) return ListWide(words, count, out);
#endif
  (void)lanes;
  return ListPlain(words, count, out);
}

}  // namespace vel::images
