// Bitmap objects: device-dependent bitmaps (32 bpp colour or monochrome), DIB sections whose
// bits the caller reads and writes directly, CreateDIBitmap and GetDIBits.

#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>
#include <set>

#include "platform/gdi/bitmap_object_util.h"
#include "platform/gdi/dib_codec.h"

using namespace vel::platform;

namespace vel::platform {

std::shared_ptr<BitmapObject> MakeBitmap(int width, int height, bool monochrome) {
  if (width <= 0 || height <= 0 || width > kMaxDibDimension || height > kMaxDibDimension) return nullptr;
  auto bitmap = std::make_shared<BitmapObject>();
  bitmap->m_surface = std::make_shared<Surface>(width, height);
  bitmap->m_bitsPixel = monochrome ? 1 : 32;
  return bitmap;
}

namespace {

std::mutex g_drawnMutex;

// DIB sections drawn into since their last flush, for GdiFlush.
std::set<BitmapObject*>& DrawnSections() {
  static auto* sections = new std::set<BitmapObject*>();
  return *sections;
}

bool KeepsOwnFormat(const BitmapObject& bitmap) {
  return bitmap.m_isDibSection && (bitmap.m_dibHeader.biBitCount != 32 || bitmap.m_dibHeader.biCompression != BI_RGB);
}

std::optional<DibLayout> SectionLayout(const BitmapObject& bitmap) {
  return ReadDibLayout(reinterpret_cast<const BITMAPINFO*>(bitmap.m_dibInfo.data()), bitmap.m_dibInfo.size());
}

}  // namespace

void MarkDrawn(BitmapObject& bitmap) {
  if (!KeepsOwnFormat(bitmap) || bitmap.m_drawnSinceFlush) return;
  bitmap.m_drawnSinceFlush = true;
  std::lock_guard lock(g_drawnMutex);
  DrawnSections().insert(&bitmap);
}

void FlushDibSection(BitmapObject& bitmap) {
  if (!bitmap.m_drawnSinceFlush) return;
  bitmap.m_drawnSinceFlush = false;
  {
    std::lock_guard lock(g_drawnMutex);
    DrawnSections().erase(&bitmap);
  }
  auto layout = SectionLayout(bitmap);
  if (layout) EncodeDibRows(*bitmap.m_surface, *layout, bitmap.m_dibBits.data(), 0, layout->height);
}

void FlushAllDibSections() {
  std::vector<BitmapObject*> sections;
  {
    std::lock_guard lock(g_drawnMutex);
    sections.assign(DrawnSections().begin(), DrawnSections().end());
  }
  for (BitmapObject* section : sections) FlushDibSection(*section);
}

void RefreshFromDibBits(BitmapObject& bitmap) {
  if (!KeepsOwnFormat(bitmap)) return;
  if (bitmap.m_drawnSinceFlush) {
    // What GDI drew is newer than the bits; bring the bits up to date instead.
    FlushDibSection(bitmap);
    return;
  }
  auto layout = SectionLayout(bitmap);
  if (!layout) return;
  std::unique_ptr<Surface> decoded = DecodeDib(*layout, bitmap.m_dibBits.data());
  for (int y = 0; y < decoded->Height(); ++y) std::copy_n(decoded->Row(y), decoded->Width(), bitmap.m_surface->Row(y));
}

BitmapObject::~BitmapObject() {
  if (!m_drawnSinceFlush) return;
  std::lock_guard lock(g_drawnMutex);
  DrawnSections().erase(this);
}

}  // namespace vel::platform

namespace {

HBITMAP Register(std::shared_ptr<BitmapObject> bitmap) {
  return bitmap ? static_cast<HBITMAP>(RegisterObject(bitmap)) : nullptr;
}

}  // namespace

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
  auto dc = LookupDc(hdc);
  if (!dc) return nullptr;
  // A memory DC still holding its stock bitmap is monochrome, and so is what it makes.
  return Register(MakeBitmap(cx, cy, dc->IsMonochrome()));
}

HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const VOID* lpBits) {
  if (nPlanes != 1 || (nBitCount != 1 && nBitCount != 32 && nBitCount != 24)) return nullptr;
  auto bitmap = MakeBitmap(nWidth, nHeight, nBitCount == 1);
  if (!bitmap) return nullptr;
  if (lpBits != nullptr) {
    // Device-dependent rows are padded to 16 bits, top row first.
    const auto* bits = static_cast<const uint8_t*>(lpBits);
    size_t stride = ((static_cast<size_t>(nWidth) * nBitCount + 15) / 16) * 2;
    for (int y = 0; y < nHeight; ++y) {
      const uint8_t* line = bits + stride * static_cast<size_t>(y);
      uint32_t* row = bitmap->m_surface->Row(y);
      for (int x = 0; x < nWidth; ++x) {
        if (nBitCount == 1) {
          row[x] = ((line[x / 8] >> (7 - x % 8)) & 1) ? 0xFFFFFF : 0;
        } else if (nBitCount == 24) {
          row[x] = (uint32_t{line[3 * x + 2]} << 16) | (uint32_t{line[3 * x + 1]} << 8) | line[3 * x];
        } else {
          std::memcpy(&row[x], line + 4 * x, 4);
          row[x] &= 0x00FFFFFF;
        }
      }
    }
  }
  return Register(bitmap);
}

HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, VOID** ppvBits, HANDLE hSection,
                                DWORD offset) {
  (void)offset;
  if (ppvBits != nullptr) *ppvBits = nullptr;
  if (pbmi == nullptr || hSection != nullptr) return nullptr;
  auto dc = hdc != nullptr ? LookupDc(hdc) : nullptr;
  auto layout = ReadDibLayout(pbmi, AssumedDibInfoSize(pbmi), usage, dc ? dc->m_state.palette.get() : nullptr);
  if (!layout) return nullptr;
  auto bitmap = std::make_shared<BitmapObject>();
  bitmap->m_isDibSection = true;
  bitmap->m_dibHeader = pbmi->bmiHeader;
  bitmap->m_dibHeader.biSizeImage = static_cast<DWORD>(layout->ImageBytes());
  bitmap->m_dibBits.assign(layout->ImageBytes(), 0);
  // Keep a self-contained copy of the header and colour table for later decoding.
  bitmap->m_dibInfo.assign(reinterpret_cast<const uint8_t*>(pbmi), reinterpret_cast<const uint8_t*>(pbmi) + layout->headerBytes);
  if (usage == DIB_PAL_COLORS) {
    // Store the resolved colours so the copy does not depend on the palette any more.
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(bitmap->m_dibInfo.data());
    bitmap->m_dibInfo.resize(header->biSize + layout->colors.size() * sizeof(RGBQUAD));
    header = reinterpret_cast<BITMAPINFOHEADER*>(bitmap->m_dibInfo.data());
    header->biClrUsed = static_cast<DWORD>(layout->colors.size());
    for (size_t i = 0; i < layout->colors.size(); ++i) {
      uint32_t c = layout->colors[i];
      RGBQUAD q{static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16), 0};
      std::memcpy(bitmap->m_dibInfo.data() + header->biSize + i * sizeof q, &q, sizeof q);
    }
  }
  if (layout->bitCount == 32 && layout->compression == BI_RGB) {
    // 32 bpp sections are drawn into directly: the surface borrows the caller-visible bits.
    auto* pixels = reinterpret_cast<uint32_t*>(bitmap->m_dibBits.data());
    ptrdiff_t stride = layout->width;
    uint32_t* first = layout->topDown ? pixels : pixels + static_cast<ptrdiff_t>(layout->height - 1) * stride;
    bitmap->m_surface = std::make_shared<Surface>(layout->width, layout->height, first, layout->topDown ? stride : -stride);
  } else {
    bitmap->m_surface = std::make_shared<Surface>(layout->width, layout->height);
    RefreshFromDibBits(*bitmap);
  }
  if (ppvBits != nullptr) *ppvBits = bitmap->m_dibBits.data();
  return Register(bitmap);
}

HBITMAP WINAPI CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* pbmih, DWORD flInit, const VOID* pjBits,
                              const BITMAPINFO* pbmi, UINT iUsage) {
  if (pbmih == nullptr) return nullptr;
  auto dc = hdc != nullptr ? LookupDc(hdc) : nullptr;
  // The bitmap is compatible with the DC: monochrome for a memory DC still holding its stock
  // bitmap, colour otherwise (and without a DC).
  bool monochrome = dc != nullptr && dc->IsMonochrome();
  int height = pbmih->biHeight < 0 ? -pbmih->biHeight : pbmih->biHeight;
  auto bitmap = MakeBitmap(pbmih->biWidth, height, monochrome);
  if (!bitmap) return nullptr;
  if ((flInit & CBM_INIT) && pjBits != nullptr && pbmi != nullptr) {
    auto layout = ReadDibLayout(pbmi, AssumedDibInfoSize(pbmi), iUsage, dc ? dc->m_state.palette.get() : nullptr);
    if (!layout) return nullptr;
    std::unique_ptr<Surface> decoded = DecodeDib(*layout, static_cast<const uint8_t*>(pjBits));
    for (int y = 0; y < std::min(decoded->Height(), bitmap->m_surface->Height()); ++y) {
      uint32_t* row = bitmap->m_surface->Row(y);
      for (int x = 0; x < std::min(decoded->Width(), bitmap->m_surface->Width()); ++x) {
        uint32_t p = decoded->Row(y)[x] & 0x00FFFFFF;
        if (bitmap->m_bitsPixel == 1) {
          int brightness = ((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + (p & 0xFF) * 11;
          p = brightness >= 128 * 100 ? 0xFFFFFF : 0;
        }
        row[x] = p;
      }
    }
  }
  return Register(bitmap);
}

int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi, UINT usage) {
  auto bitmap = Lookup<BitmapObject>(hbm);
  if (!LookupDc(hdc) || !bitmap || lpbmi == nullptr || usage != DIB_RGB_COLORS) return 0;
  BITMAPINFOHEADER& header = lpbmi->bmiHeader;
  if (header.biSize < sizeof(BITMAPINFOHEADER)) return 0;
  const Surface& surface = *bitmap->m_surface;
  if (lpvBits == nullptr) {
    // Only the header is wanted: describe the bitmap as a bottom-up 32 bpp image unless the
    // caller already asked for a depth.
    if (header.biBitCount == 0) {
      header.biWidth = surface.Width();
      header.biHeight = surface.Height();
      header.biPlanes = 1;
      header.biBitCount = 32;
      header.biCompression = BI_RGB;
    }
    header.biSizeImage = static_cast<DWORD>(((surface.Width() * header.biBitCount + 31) / 32) * 4 * surface.Height());
    return surface.Height();
  }
  if (header.biBitCount != 24 && header.biBitCount != 32) return 0;
  if (header.biWidth != surface.Width()) return 0;
  auto layout = ReadDibLayout(lpbmi, header.biSize, DIB_RGB_COLORS);
  if (!layout) return 0;
  RefreshFromDibBits(*bitmap);
  int lines = static_cast<int>(std::min<UINT>(cLines, static_cast<UINT>(surface.Height())));
  // Scan `start` counts from the bottom for bottom-up requests.
  int firstRow = layout->topDown ? static_cast<int>(start) : surface.Height() - static_cast<int>(start) - lines;
  EncodeDibRows(surface, *layout, static_cast<uint8_t*>(lpvBits), firstRow, lines);
  return lines;
}
