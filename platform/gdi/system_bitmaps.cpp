// LoadBitmapA: a program's bitmap resources, and the system's own small bitmaps (no instance):
// the arrows that combo boxes and scroll bars show, drawn here as black triangles on the
// button face. Each call makes a new bitmap the caller deletes, as LoadBitmapA does.

#include "platform/gdi/bitmap_object_util.h"
#include "platform/gdi/dib_codec.h"
#include "platform/gdi/painter.h"

using namespace vel::platform;

namespace {

// Odd, so the 7-pixel arrow has a single-pixel tip exactly in the middle.
constexpr int kSize = 15;

// A solid triangle 7 pixels across at its base, pointing in one of four directions.
void DrawArrow(Surface& surface, int direction) {
  Region clip(surface.Bounds());
  Painter painter(surface, clip);
  Paint black{0};
  for (int i = 0; i < 4; ++i) {
    int from = 4 + i;
    int to = kSize - 5 - i;  // Inclusive: 7, 5, 3 and 1 pixels.
    switch (direction) {
      case OBM_DNARROW:
      case OBM_COMBO: painter.FillRect(RECT{from, 6 + i, to + 1, 7 + i}, black); break;
      case OBM_UPARROW: painter.FillRect(RECT{from, 9 - i, to + 1, 10 - i}, black); break;
      case OBM_RGARROW: painter.FillRect(RECT{6 + i, from, 7 + i, to + 1}, black); break;
      default: painter.FillRect(RECT{9 - i, from, 10 - i, to + 1}, black); break;
    }
  }
}

// A program's RT_BITMAP resource (a DIB without its file header) as a colour bitmap.
HBITMAP BitmapFromModule(HMODULE module, LPCSTR name) {
  HRSRC resource = FindResourceA(module, name, RT_BITMAP);
  if (resource == nullptr) return nullptr;
  const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(module, resource)));
  size_t size = SizeofResource(module, resource);
  if (data == nullptr) return nullptr;
  std::unique_ptr<Surface> pixels = DecodePackedDib(data, size);
  if (!pixels) return nullptr;
  auto bitmap = MakeBitmap(pixels->Width(), pixels->Height(), false);
  for (int y = 0; y < pixels->Height(); ++y) {
    for (int x = 0; x < pixels->Width(); ++x) bitmap->m_surface->Row(y)[x] = pixels->Row(y)[x] & 0x00FFFFFF;
  }
  return static_cast<HBITMAP>(RegisterObject(bitmap));
}

}  // namespace

HBITMAP WINAPI LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName) {
  if (hInstance != nullptr) return BitmapFromModule(hInstance, lpBitmapName);
  if (!IS_INTRESOURCE(lpBitmapName)) return nullptr;
  int id = static_cast<int>(reinterpret_cast<uintptr_t>(lpBitmapName));
  if (id != OBM_COMBO && id != OBM_DNARROW && id != OBM_UPARROW && id != OBM_RGARROW && id != OBM_LFARROW) {
    return nullptr;
  }
  auto bitmap = MakeBitmap(kSize, kSize, false);
  bitmap->m_surface->Clear(PixelFromColor(GetSysColor(COLOR_BTNFACE)));
  DrawArrow(*bitmap->m_surface, id);
  return static_cast<HBITMAP>(RegisterObject(bitmap));
}
