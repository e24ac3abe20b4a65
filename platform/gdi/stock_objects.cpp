#include "platform/gdi/stock_objects.h"

#include <array>
#include <cstring>
#include <mutex>

namespace vel::platform {
namespace {

std::shared_ptr<GdiObject> MakeStock(std::shared_ptr<GdiObject> object) {
  object->m_stock = true;
  RegisterObject(object);
  return object;
}

std::shared_ptr<GdiObject> SolidBrush(COLORREF color, UINT style = BS_SOLID) {
  auto brush = std::make_shared<BrushObject>();
  brush->m_style = style;
  brush->m_color = color;
  return brush;
}

std::shared_ptr<GdiObject> Pen(UINT style, COLORREF color) { return std::make_shared<PenObject>(LOGPEN{style, {1, 0}, color}); }

LOGFONTA Font(const char* face, LONG height, BYTE pitch) {
  LOGFONTA font{};
  font.lfHeight = height;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = ANSI_CHARSET;
  font.lfPitchAndFamily = pitch;
  std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return font;
}

std::shared_ptr<PaletteObject> DefaultPalette() {
  // The twenty static colours of the system palette.
  static const COLORREF colors[20] = {
      RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),   RGB(0, 0, 128),
      RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192), RGB(192, 220, 192), RGB(166, 202, 240),
      RGB(255, 251, 240), RGB(160, 160, 164), RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),
      RGB(255, 255, 0),   RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255)};
  auto palette = std::make_shared<PaletteObject>();
  for (COLORREF c : colors) palette->m_entries.push_back({GetRValue(c), GetGValue(c), GetBValue(c), 0});
  return palette;
}

struct StockSet {
  std::array<std::shared_ptr<GdiObject>, DC_PEN + 1> objects;
  std::shared_ptr<BitmapObject> bitmap;
};

StockSet& Stock() {
  static StockSet* set = [] {
    auto* s = new StockSet();
    s->objects[WHITE_BRUSH] = MakeStock(SolidBrush(RGB(255, 255, 255)));
    s->objects[LTGRAY_BRUSH] = MakeStock(SolidBrush(RGB(192, 192, 192)));
    s->objects[GRAY_BRUSH] = MakeStock(SolidBrush(RGB(128, 128, 128)));
    s->objects[DKGRAY_BRUSH] = MakeStock(SolidBrush(RGB(64, 64, 64)));
    s->objects[BLACK_BRUSH] = MakeStock(SolidBrush(RGB(0, 0, 0)));
    s->objects[NULL_BRUSH] = MakeStock(SolidBrush(0, BS_NULL));
    s->objects[WHITE_PEN] = MakeStock(Pen(PS_SOLID, RGB(255, 255, 255)));
    s->objects[BLACK_PEN] = MakeStock(Pen(PS_SOLID, RGB(0, 0, 0)));
    s->objects[NULL_PEN] = MakeStock(Pen(PS_NULL, 0));
    s->objects[OEM_FIXED_FONT] = MakeStock(std::make_shared<FontObject>(Font("Terminal", 12, FIXED_PITCH | FF_MODERN)));
    s->objects[ANSI_FIXED_FONT] = MakeStock(std::make_shared<FontObject>(Font("Courier", 12, FIXED_PITCH | FF_MODERN)));
    s->objects[ANSI_VAR_FONT] = MakeStock(std::make_shared<FontObject>(Font("MS Sans Serif", 13, VARIABLE_PITCH | FF_SWISS)));
    s->objects[SYSTEM_FONT] = MakeStock(std::make_shared<FontObject>(Font("System", 16, VARIABLE_PITCH | FF_SWISS)));
    s->objects[DEVICE_DEFAULT_FONT] = MakeStock(std::make_shared<FontObject>(Font("System", 16, VARIABLE_PITCH | FF_SWISS)));
    s->objects[DEFAULT_PALETTE] = MakeStock(DefaultPalette());
    s->objects[SYSTEM_FIXED_FONT] = MakeStock(std::make_shared<FontObject>(Font("Fixedsys", 15, FIXED_PITCH | FF_MODERN)));
    s->objects[DEFAULT_GUI_FONT] = MakeStock(std::make_shared<FontObject>(DefaultGuiFont()));
    s->objects[DC_BRUSH] = MakeStock(SolidBrush(RGB(255, 255, 255)));
    s->objects[DC_PEN] = MakeStock(Pen(PS_SOLID, RGB(0, 0, 0)));
    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->m_surface = std::make_shared<Surface>(1, 1);
    bitmap->m_surface->Clear(0xFFFFFF);
    bitmap->m_bitsPixel = 1;
    s->bitmap = std::static_pointer_cast<BitmapObject>(MakeStock(bitmap));
    return s;
  }();
  return *set;
}

}  // namespace

LOGFONTA DefaultGuiFont() { return Font("MS Shell Dlg", -11, VARIABLE_PITCH | FF_SWISS); }

std::shared_ptr<GdiObject> StockObject(int index) {
  if (index < 0 || index > DC_PEN) return nullptr;
  return Stock().objects[static_cast<size_t>(index)];
}

std::shared_ptr<BitmapObject> StockBitmap() { return Stock().bitmap; }

}  // namespace vel::platform
