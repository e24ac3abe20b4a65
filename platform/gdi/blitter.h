#pragma once
// The raster operations behind BitBlt, StretchBlt, PatBlt and the DIB calls: any of the 256
// ternary ROPs over pattern, source and destination, nearest-neighbour stretching with
// mirroring, and the colour conversions between monochrome and colour bitmaps.

#include <cstdint>

#include "platform/gdi/device_context.h"

namespace vel::platform {

/// Evaluates a ternary raster operation (the ROP's middle byte) on three pixels.
uint32_t ApplyRop3(uint8_t code, uint32_t pattern, uint32_t source, uint32_t dest);
/// True when the ROP reads the source / the pattern.
constexpr bool RopUsesSource(DWORD rop) { return ((((rop >> 16) & 0xFF) >> 2) ^ ((rop >> 16) & 0xFF)) & 0x33; }
constexpr bool RopUsesPattern(DWORD rop) { return ((((rop >> 16) & 0xFF) >> 4) ^ ((rop >> 16) & 0xFF)) & 0x0F; }

/// How source pixels change on the way: none, monochrome to the destination's text and
/// background colours, or colour to monochrome (the source's background colour turns white).
struct SourceConversion {
  enum Kind { kNone, kMonoToColor, kColorToMono } kind = kNone;
  uint32_t zero = 0;          ///< kMonoToColor: what black source pixels become.
  uint32_t one = 0xFFFFFF;    ///< kMonoToColor: what white source pixels become.
  uint32_t background = 0;    ///< kColorToMono: the source pixel that becomes white.
};

struct BlitRequest {
  /// Destination in surface coordinates; a right < left or bottom < top mirrors.
  RECT dest{};
  const Surface* source = nullptr;
  /// Source rectangle in source surface coordinates (may be mirrored too).
  RECT sourceRect{};
  DWORD rop = SRCCOPY;
  SourceConversion conversion;
};

/// Performs the blit into the DC's target through its clip.
void Blit(DeviceContext& destination, const BlitRequest& request);

}  // namespace vel::platform
