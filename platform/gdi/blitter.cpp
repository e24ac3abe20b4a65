#include "platform/gdi/blitter.h"

#include <algorithm>
#include <cstdlib>

#include "platform/gdi/brush_paint.h"

namespace vel::platform {

uint32_t ApplyRop3(uint8_t code, uint32_t pattern, uint32_t source, uint32_t dest) {
  switch (code) {
    case 0xCC: return source;
    case 0x88: return source & dest;
    case 0xEE: return source | dest;
    case 0x66: return source ^ dest;
    case 0xF0: return pattern;
    case 0x00: return 0;
    case 0xFF: return 0x00FFFFFF;
    default: break;
  }
  // Each set bit of the code is a minterm indexed by (pattern << 2) | (source << 1) | dest.
  uint32_t result = 0;
  for (int index = 0; index < 8; ++index) {
    if (!((code >> index) & 1)) continue;
    uint32_t p = (index & 4) ? pattern : ~pattern;
    uint32_t s = (index & 2) ? source : ~source;
    uint32_t d = (index & 1) ? dest : ~dest;
    result |= p & s & d;
  }
  return result & 0x00FFFFFF;
}

namespace {

uint32_t Convert(const SourceConversion& conversion, uint32_t pixel) {
  pixel &= 0x00FFFFFF;
  switch (conversion.kind) {
    case SourceConversion::kMonoToColor: return pixel == 0 ? conversion.zero : conversion.one;
    case SourceConversion::kColorToMono: return pixel == conversion.background ? 0xFFFFFF : 0;
    default: return pixel;
  }
}

// Maps destination column/row i (0 .. count-1) to the source coordinate by nearest neighbour,
// honouring mirroring on either side.
int SourceCoordinate(int i, int destCount, int destStart, int destEnd, int sourceStart, int sourceEnd) {
  bool destMirrored = destEnd < destStart;
  bool sourceMirrored = sourceEnd < sourceStart;
  int sourceCount = std::abs(sourceEnd - sourceStart);
  int step = destMirrored ? destCount - 1 - i : i;
  // Sample at pixel centres so an exact 1:1 copy maps every pixel onto itself.
  int offset = static_cast<int>((static_cast<int64_t>(2 * step + 1) * sourceCount) / (2 * static_cast<int64_t>(destCount)));
  return sourceMirrored ? sourceStart - 1 - offset : sourceStart + offset;
}

}  // namespace

void Blit(DeviceContext& destination, const BlitRequest& request) {
  RECT dest = NormalisedRect(request.dest);
  int destWidth = dest.right - dest.left;
  int destHeight = dest.bottom - dest.top;
  if (destWidth <= 0 || destHeight <= 0) return;
  uint8_t code = static_cast<uint8_t>((request.rop >> 16) & 0xFF);
  bool usesSource = RopUsesSource(request.rop) && request.source != nullptr;
  std::optional<BrushPaint> brush;
  if (RopUsesPattern(request.rop)) brush.emplace(destination, *destination.m_state.brush);
  Surface& target = destination.DrawTarget();
  bool monochromeTarget = destination.IsMonochrome();
  const RECT& sr = request.sourceRect;

  for (const RECT& clip : destination.EffectiveClip().Rects()) {
    RECT part = IntersectRects(dest, clip);
    if (IsEmptyRect(part)) continue;
    for (LONG y = part.top; y < part.bottom; ++y) {
      int sy = 0;
      if (usesSource) {
        sy = SourceCoordinate(static_cast<int>(y - dest.top), destHeight, request.dest.top, request.dest.bottom, sr.top,
                              sr.bottom);
        if (sy < 0 || sy >= request.source->Height()) continue;
      }
      uint32_t* row = target.Row(static_cast<int>(y));
      for (LONG x = part.left; x < part.right; ++x) {
        uint32_t source = 0;
        if (usesSource) {
          int sx = SourceCoordinate(static_cast<int>(x - dest.left), destWidth, request.dest.left, request.dest.right,
                                    sr.left, sr.right);
          if (sx < 0 || sx >= request.source->Width()) continue;
          source = Convert(request.conversion, request.source->Row(sy)[sx]);
        }
        uint32_t pattern = 0;
        if (brush) {
          bool hole = false;
          pattern = brush->Visible() ? SamplePaint(brush->Get(), static_cast<int>(x), static_cast<int>(y), hole) : 0;
        }
        uint32_t result = ApplyRop3(code, pattern, source, row[x] & 0x00FFFFFF);
        if (monochromeTarget) result = result == 0 ? 0 : (result == 0xFFFFFF ? result : destination.PixelFor(ColorFromPixel(result)));
        row[x] = result;
      }
    }
  }
}

}  // namespace vel::platform
