// Feeds arbitrary bytes to the DIB readers as a packed DIB (what RT_BITMAP resources and CF_DIB
// clipboard data hold), and, when the header reads and its bits are all there, to the calls that
// take a header and bits apart: blits, DIB sections drawn into and read back, and GetDIBits.
// The sanitizers see every header size, mask, colour table and row the readers trust.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/gdi/device_context.h"
#include "platform/gdi/dib_codec.h"
#include "win32.h"

namespace {

using namespace vel::platform;

constexpr int kCanvasSide = 24;

HDC Canvas() {
  static HDC dc = [] {
    auto surface = std::make_shared<Surface>(kCanvasSide, kCanvasSide);
    return CreateSurfaceDC(surface, POINT{0, 0}, Region(RECT{0, 0, kCanvasSide, kCanvasSide}));
  }();
  return dc;
}

// A palette for DIB_PAL_COLORS tables, selected into the canvas once.
void SelectPalette() {
  static bool selected = false;
  if (selected) return;
  selected = true;
  std::vector<uint8_t> storage(sizeof(LOGPALETTE) + 15 * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = 16;
  for (int i = 0; i < 16; ++i) palette->palPalEntry[i] = PALETTEENTRY{BYTE(i * 16), BYTE(255 - i * 16), BYTE(i), 0};
  ::SelectPalette(Canvas(), CreatePalette(palette), FALSE);
}

// Draws into a DIB section of the input's shape, so its bits are written in its own format,
// and reads it back through a blit and GetDIBits.
void RoundTripThroughSection(const BITMAPINFO* info, UINT usage, const uint8_t* bits, size_t imageBytes) {
  void* sectionBits = nullptr;
  HBITMAP section = CreateDIBSection(Canvas(), info, usage, &sectionBits, nullptr, 0);
  if (section == nullptr) return;
  std::memcpy(sectionBits, bits, imageBytes);
  HDC memory = CreateCompatibleDC(Canvas());
  HGDIOBJ old = SelectObject(memory, section);
  PatBlt(memory, 1, 1, 5, 5, WHITENESS);
  GdiFlush();
  BitBlt(Canvas(), 0, 0, kCanvasSide, kCanvasSide, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);

  BITMAPINFO request{};
  request.bmiHeader = {sizeof(BITMAPINFOHEADER), info->bmiHeader.biWidth, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<uint8_t> rows((static_cast<size_t>(info->bmiHeader.biWidth) * 24 + 31) / 32 * 4 * 2);
  GetDIBits(Canvas(), section, 0, 2, rows.data(), &request, DIB_RGB_COLORS);
  DeleteObject(section);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SelectPalette();
  DecodePackedDib(data, size);
  if (size < 1) return 0;

  // The calls read a caller's BITMAPINFO as far as its header, masks and a full colour table
  // reach, and the bits as far as the header says: give them an aligned copy that long.
  const UINT usage = data[size - 1] % 2 == 0 ? DIB_RGB_COLORS : DIB_PAL_COLORS;
  auto layout = ReadDibLayout(reinterpret_cast<const BITMAPINFO*>(data), size - 1, usage);
  if (!layout || layout->ImageBytes() > size - 1 - layout->headerBytes) return 0;
  std::vector<uint8_t> info(data, data + layout->headerBytes);
  info.resize(AssumedDibInfoSize(reinterpret_cast<const BITMAPINFO*>(info.data())), 0);
  const auto* header = reinterpret_cast<const BITMAPINFO*>(info.data());
  std::vector<uint8_t> bits(data + layout->headerBytes, data + layout->headerBytes + layout->ImageBytes());

  StretchDIBits(Canvas(), 0, 0, kCanvasSide, kCanvasSide, 0, 0, layout->width, layout->height, bits.data(), header,
                usage, SRCCOPY);
  StretchDIBits(Canvas(), kCanvasSide, 0, -kCanvasSide / 2, kCanvasSide / 2, 1, 1, layout->width - 1,
                layout->height - 1, bits.data(), header, usage, SRCAND);
  SetDIBitsToDevice(Canvas(), 0, 0, static_cast<DWORD>(layout->width), static_cast<DWORD>(layout->height), 0, 0, 0,
                    static_cast<UINT>(layout->height), bits.data(), header, usage);
  HBITMAP compatible = CreateDIBitmap(Canvas(), &header->bmiHeader, CBM_INIT, bits.data(), header, usage);
  DeleteObject(compatible);
  RoundTripThroughSection(header, usage, bits.data(), bits.size());
  return 0;
}
