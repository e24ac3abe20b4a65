#include "runtime/images/color_lanes.h"

#include <algorithm>
#include <cstring>

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

bool IsGrey(std::uint32_t color) { return ((color ^ (color >> 8)) & 0xFFFF) == 0; }

void AddUpPlain(const std::uint32_t* colors, std::uint32_t count, std::uint64_t sum[3], std::uint64_t squares[3]) {
  // Four colours at a time. A channel's square fits in 16 bits, so the squares are 16-bit
  // products; they are added in 32-bit lanes, which are emptied into the totals before they
  // could overflow.
  using Lanes = std::uint32_t __attribute__((vector_size(16)));
  using ShortLanes = std::uint16_t __attribute__((vector_size(16)));
  constexpr std::uint32_t kColorsPerFlush = 4 * 65536;
  auto square = [](Lanes v) {
    return reinterpret_cast<Lanes>(reinterpret_cast<ShortLanes>(v) * reinterpret_cast<ShortLanes>(v));
  };
  std::uint64_t totals[6] = {0, 0, 0, 0, 0, 0};
  std::uint32_t i = 0;
  while (count - i >= 4) {
    std::uint32_t stop = i + std::min<std::uint32_t>((count - i) / 4 * 4, kColorsPerFlush);
    Lanes r{}, g{}, b{}, rr{}, gg{}, bb{};
    for (; i < stop; i += 4) {
      Lanes four;
      std::memcpy(&four, colors + i, sizeof four);
      Lanes red = (four >> 16) & 0xFF;
      Lanes green = (four >> 8) & 0xFF;
      Lanes blue = four & 0xFF;
      r += red;
      g += green;
      b += blue;
      rr += square(red);
      gg += square(green);
      bb += square(blue);
    }
    const Lanes* lanes[6] = {&r, &g, &b, &rr, &gg, &bb};
    for (int k = 0; k < 6; ++k) {
      for (int lane = 0; lane < 4; ++lane) totals[k] += (*lanes[k])[lane];
    }
  }
  for (; i < count; ++i) {
    for (int c = 0; c < 3; ++c) {
      std::uint64_t v = (colors[i] >> (16 - 8 * c)) & 0xFF;
      totals[c] += v;
      totals[3 + c] += v * v;
    }
  }
  for (int c = 0; c < 3; ++c) {
    sum[c] = totals[c];
    squares[c] = totals[3 + c];
  }
}

void PixelColorsPlain(const std::uint8_t* pixels, std::size_t count, std::size_t bytesPerPixel,
                      std::uint32_t* colors) {
  for (std::size_t x = 0; x < count; ++x) {
    const std::uint8_t* pixel = pixels + x * bytesPerPixel;
    colors[x] = (std::uint32_t{pixel[2]} << 16) | (std::uint32_t{pixel[1]} << 8) | pixel[0];
  }
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

#define VEL_WIDE_TARGET [[gnu::target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,popcnt")]]

// GCC 12 takes the undefined vectors inside its own vector functions for uninitialised values.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

// Greys first, or colours whose channel at `shift` is at most `limit`.
VEL_WIDE_TARGET std::uint32_t DivideWide(const std::uint32_t* from, std::uint32_t* to, std::uint32_t count,
                                         bool greys, unsigned shift, std::uint32_t limit) {
  const __m512i limits = _mm512_set1_epi32(static_cast<int>(limit));
  const __m512i channelBits = _mm512_set1_epi32(0xFF);
  const __m512i greenAndBlue = _mm512_set1_epi32(0xFFFF);
  const __m128i shiftBy = _mm_cvtsi32_si128(static_cast<int>(shift));
  // The first colours fill [0, low) upwards, the others [high, count) downwards.
  std::uint32_t low = 0;
  std::uint32_t high = count;
  std::uint32_t i = 0;
  for (; count - i >= 16; i += 16) {
    __m512i colors = _mm512_loadu_si512(from + i);
    __mmask16 first =
        greys ? _mm512_testn_epi32_mask(_mm512_xor_si512(colors, _mm512_srli_epi32(colors, 8)), greenAndBlue)
              : _mm512_cmple_epu32_mask(_mm512_and_si512(_mm512_srl_epi32(colors, shiftBy), channelBits), limits);
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
  if (i < count) {
    low += greys ? DivideColors(from + i, to + low, count - i, IsGrey)
                 : DividePlain(from + i, to + low, count - i, shift, limit);
  }
  return low;
}

VEL_WIDE_TARGET std::uint64_t LaneTotal(__m512i lanes) {
  __m512i low = _mm512_cvtepu32_epi64(_mm512_castsi512_si256(lanes));
  __m512i high = _mm512_cvtepu32_epi64(_mm512_extracti64x4_epi64(lanes, 1));
  return static_cast<std::uint64_t>(_mm512_reduce_add_epi64(_mm512_add_epi64(low, high)));
}

// Sixteen 32-bit lanes per sum; the squares of 16-bit values are taken as pairs of 16-bit
// products, whose upper halves are 0. The lanes are emptied into the totals before they could
// overflow.
VEL_WIDE_TARGET void AddUpWide(const std::uint32_t* colors, std::uint32_t count, std::uint64_t sum[3],
                               std::uint64_t squares[3]) {
  constexpr std::uint32_t kColorsPerFlush = 16 * 65536;
  const __m512i channelBits = _mm512_set1_epi32(0xFF);
  std::uint64_t totals[6] = {0, 0, 0, 0, 0, 0};
  std::uint32_t i = 0;
  while (count - i >= 16) {
    std::uint32_t stop = i + std::min<std::uint32_t>((count - i) / 16 * 16, kColorsPerFlush);
    __m512i lanes[6];
    for (__m512i& l : lanes) l = _mm512_setzero_si512();
    for (; i < stop; i += 16) {
      __m512i sixteen = _mm512_loadu_si512(colors + i);
      __m512i red = _mm512_and_si512(_mm512_srli_epi32(sixteen, 16), channelBits);
      __m512i green = _mm512_and_si512(_mm512_srli_epi32(sixteen, 8), channelBits);
      __m512i blue = _mm512_and_si512(sixteen, channelBits);
      lanes[0] = _mm512_add_epi32(lanes[0], red);
      lanes[1] = _mm512_add_epi32(lanes[1], green);
      lanes[2] = _mm512_add_epi32(lanes[2], blue);
      lanes[3] = _mm512_add_epi32(lanes[3], _mm512_madd_epi16(red, red));
      lanes[4] = _mm512_add_epi32(lanes[4], _mm512_madd_epi16(green, green));
      lanes[5] = _mm512_add_epi32(lanes[5], _mm512_madd_epi16(blue, blue));
    }
    for (int k = 0; k < 6; ++k) totals[k] += LaneTotal(lanes[k]);
  }
  std::uint64_t restSum[3];
  std::uint64_t restSquares[3];
  AddUpPlain(colors + i, count - i, restSum, restSquares);
  for (int c = 0; c < 3; ++c) {
    sum[c] = totals[c] + restSum[c];
    squares[c] = totals[3 + c] + restSquares[c];
  }
}

// Sixteen pixels at a time: their bytes are moved into place by one byte permutation, which
// clears each colour's top byte. A load under a mask reads no byte past the pixels.
VEL_WIDE_TARGET void PixelColorsWide(const std::uint8_t* pixels, std::size_t count, std::size_t bytesPerPixel,
                                     std::uint32_t* colors) {
  alignas(64) std::uint8_t order[64];
  for (unsigned i = 0; i < 64; ++i) order[i] = static_cast<std::uint8_t>((i / 4) * bytesPerPixel + i % 4);
  const __m512i gather = _mm512_load_si512(order);
  const __mmask64 colorBytes = 0x7777777777777777ull;
  const __mmask64 loaded = bytesPerPixel == 4 ? ~__mmask64{0} : (__mmask64{1} << 48) - 1;
  std::size_t x = 0;
  for (; count - x >= 16; x += 16) {
    __m512i bytes = _mm512_maskz_loadu_epi8(loaded, pixels + x * bytesPerPixel);
    _mm512_storeu_si512(colors + x, _mm512_maskz_permutexvar_epi8(colorBytes, gather, bytes));
  }
  PixelColorsPlain(pixels + x * bytesPerPixel, count - x, bytesPerPixel, colors + x);
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
                           __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2") &&
                           __builtin_cpu_supports("popcnt");
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
  if (lanes == ColorLanes::kWide && HasWideLanes()) return DivideWide(from, to, count, false, shift, limit);
#endif
  (void)lanes;
  return DividePlain(from, to, count, shift, limit);
}

std::uint32_t DivideGreysFirst(const std::uint32_t* from, std::uint32_t* to, std::uint32_t count, ColorLanes lanes) {
#if VEL_WIDE_LANES
  if (lanes == ColorLanes::kWide && HasWideLanes()) return DivideWide(from, to, count, true, 0, 0);
#endif
  (void)lanes;
  return DivideColors(from, to, count, IsGrey);
}

void AddUpChannels(const std::uint32_t* colors, std::uint32_t count, std::uint64_t sum[3], std::uint64_t squares[3],
                   ColorLanes lanes) {
#if VEL_WIDE_LANES
  if (lanes == ColorLanes::kWide && HasWideLanes()) return AddUpWide(colors, count, sum, squares);
#endif
  (void)lanes;
  AddUpPlain(colors, count, sum, squares);
}

void PixelColors(const std::uint8_t* pixels, std::size_t count, std::size_t bytesPerPixel, std::uint32_t* colors,
                 ColorLanes lanes) {
#if VEL_WIDE_LANES
  if (lanes == ColorLanes::kWide && HasWideLanes()) return PixelColorsWide(pixels, count, bytesPerPixel, colors);
#endif
  (void)lanes;
  PixelColorsPlain(pixels, count, bytesPerPixel, colors);
}

std::size_t ListColors(const DistinctColorWord* words, std::size_t count, std::uint32_t* out, ColorLanes lanes) {
#if VEL_WIDE_LANES
  if (lanes == ColorLanes::kWide && HasWideLanes()) return ListWide(words, count, out);
#endif
  (void)lanes;
  return ListPlain(words, count, out);
}

}  // namespace vel::images
