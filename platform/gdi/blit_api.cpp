// BitBlt, StretchBlt, PatBlt, StretchDIBits and SetDIBitsToDevice.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/gdi/bitmap_object_util.h"
#include "platform/gdi/blitter.h"
#include "platform/gdi/dib_codec.h"

using namespace vel::platform;

namespace {

// A logical rectangle given as origin and extent, in surface coordinates with any mirroring
// (negative extents, or a mapping that flips an axis) kept in the corner order.
RECT MappedExtent(const DeviceContext& dc, int x, int y, int width, int height) {
  POINT a = dc.ToSurface(x, y);
  POINT b = dc.ToSurface(x + width, y + height);
  return RECT{a.x, a.y, b.x, b.y};
}

SourceConversion ConversionBetween(DeviceContext& destination, DeviceContext& source) {
  SourceConversion conversion;
  bool sourceMono = source.IsMonochrome();
  bool destMono = destination.IsMonochrome();
  if (sourceMono && !destMono) {
    conversion.kind = SourceConversion::kMonoToColor;
    conversion.zero = destination.PixelFor(destination.m_state.textColor);
    conversion.one = destination.PixelFor(destination.m_state.bkColor);
  } else if (!sourceMono && destMono) {
    conversion.kind = SourceConversion::kColorToMono;
    conversion.background = source.PixelFor(source.m_state.bkColor);
  }
  return conversion;
}

BOOL SurfaceBlit(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
                 int hSrc, DWORD rop) {
  auto destination = LookupDc(hdcDest);
  if (!destination) return FALSE;
  BlitRequest request;
  request.rop = rop;
  request.dest = MappedExtent(*destination, xDest, yDest, wDest, hDest);
  std::shared_ptr<DeviceContext> source;
  if (RopUsesSource(rop)) {
    source = LookupDc(hdcSrc);
    if (!source) return FALSE;
    if (source->m_state.bitmap) RefreshFromDibBits(*source->m_state.bitmap);
    request.source = &source->Target();
    request.sourceRect = MappedExtent(*source, xSrc, ySrc, wSrc, hSrc);
    request.conversion = ConversionBetween(*destination, *source);
    if (source == destination) {
      // Copying within one surface: read from a snapshot so overlapping moves come out right.
      auto copy = std::make_shared<Surface>(request.source->Width(), request.source->Height());
      for (int y = 0; y < copy->Height(); ++y) {
        std::copy_n(request.source->Row(y), copy->Width(), copy->Row(y));
      }
      request.source = copy.get();
      Blit(*destination, request);
      return TRUE;
    }
  }
  Blit(*destination, request);
  return TRUE;
}

// Draws rows of a DIB: `image` holds them decoded, top row first, and `sourceTop` is the
// image row that the top of the source rectangle falls on.
void BlitDecoded(DeviceContext& destination, const Surface& image, RECT dest, int xSrc, int sourceTop, int srcWidth,
                 int srcHeight, DWORD rop) {
  BlitRequest request;
  request.rop = rop;
  request.dest = dest;
  request.source = &image;
  request.sourceRect = RECT{xSrc, sourceTop, xSrc + srcWidth, sourceTop + srcHeight};
  Blit(destination, request);
}

}  // namespace

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
  return SurfaceBlit(hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop);
}

BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                       int wSrc, int hSrc, DWORD rop) {
  return SurfaceBlit(hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, wSrc, hSrc, rop);
}

BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  if (RopUsesSource(rop)) return FALSE;
  return SurfaceBlit(hdc, x, y, w, h, nullptr, 0, 0, 0, 0, rop);
}

int WINAPI StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc,
                         int SrcWidth, int SrcHeight, const VOID* lpBits, const BITMAPINFO* lpbmi, UINT iUsage,
                         DWORD rop) {
  auto dc = LookupDc(hdc);
  if (!dc || lpBits == nullptr || lpbmi == nullptr) return 0;
  auto layout = ReadDibLayout(lpbmi, AssumedDibInfoSize(lpbmi), iUsage, dc->m_state.palette.get());
  if (!layout) return 0;
  std::unique_ptr<Surface> image = DecodeDib(*layout, static_cast<const uint8_t*>(lpBits));
  // Bottom-up images count source rows from the bottom edge.
  int sourceTop = layout->topDown ? ySrc : layout->height - ySrc - SrcHeight;
  BlitDecoded(*dc, *image, MappedExtent(*dc, xDest, yDest, DestWidth, DestHeight), xSrc, sourceTop, SrcWidth,
              SrcHeight, rop);
  return std::abs(SrcHeight);
}

int WINAPI SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc, UINT StartScan,
                             UINT cLines, const VOID* lpvBits, const BITMAPINFO* lpbmi, UINT ColorUse) {
  auto dc = LookupDc(hdc);
  if (!dc || lpvBits == nullptr || lpbmi == nullptr || cLines == 0) return 0;
  auto full = ReadDibLayout(lpbmi, AssumedDibInfoSize(lpbmi), ColorUse, dc->m_state.palette.get());
  if (!full || StartScan >= static_cast<UINT>(full->height)) return 0;
  // The buffer holds only scans StartScan .. StartScan + cLines - 1: decode it as an image of
  // that many rows, then find where the source rectangle falls in it.
  DibLayout band = *full;
  band.height = static_cast<int>(std::min<UINT>(cLines, static_cast<UINT>(full->height) - StartScan));
  std::unique_ptr<Surface> image = DecodeDib(band, static_cast<const uint8_t*>(lpvBits));
  int width = static_cast<int>(std::min<DWORD>(w, kMaxDibDimension));
  int height = static_cast<int>(std::min<DWORD>(h, kMaxDibDimension));
  int sourceTop = full->topDown ? ySrc - static_cast<int>(StartScan)
                                : static_cast<int>(StartScan) + band.height - ySrc - height;
  // SetDIBitsToDevice copies pixel for pixel whatever the mapping's scale.
  POINT a = dc->ToSurface(xDest, yDest);
  RECT dest{a.x, a.y, a.x + width, a.y + height};
  BlitDecoded(*dc, *image, dest, xSrc, sourceTop, width, height, SRCCOPY);
  return band.height;
}
