#pragma once
// Counting the bits set in a word, in loops that run once per pixel or per colour. Processors of
// the x86-64 family have had an instruction for it for many years, but the baseline the program
// is built for does not include it: functions with such loops are marked VEL_COUNTS_BITS, which
// builds them twice and picks the one for the processor when the program starts. Only functions
// local to their file can be marked.

#include <cstdint>

#if defined(__x86_64__)
#define VEL_COUNTS_BITS [[gnu::target_clones("popcnt", "default")]]
#else
#define VEL_COUNTS_BITS
#endif

namespace vel::images {

inline std::uint32_t BitCount(std::uint64_t v) { return static_cast<std::uint32_t>(__builtin_popcountll(v)); }

}  // namespace vel::images
