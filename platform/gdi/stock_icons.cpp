// The system's own icons and cursors, drawn here with GDI calls at 32x32 the first time they
// are asked for, then shared. Anything left in the key colour is transparent.

#include <map>
#include <vector>
#include <mutex>

#include "platform/gdi/device_context.h"
#include "platform/gdi/icon_object.h"

namespace vel::platform {
namespace {

constexpr int kSize = 32;
constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

class Sketch {
 public:
  Sketch() : m_surface(std::make_shared<Surface>(kSize, kSize)) {
    m_surface->Clear(PixelFromColor(kKey));
    m_dc = CreateSurfaceDC(m_surface, POINT{0, 0}, Region(RECT{0, 0, kSize, kSize}));
    SetBkMode(m_dc, TRANSPARENT);
  }
  ~Sketch() { DeleteDC(m_dc); }
  Sketch(const Sketch&) = delete;
  Sketch& operator=(const Sketch&) = delete;

  HDC Dc() const { return m_dc; }

  // Fills and outlines a shape drawn by `draw` with the given colours.
  template <typename Draw>
  void Shape(COLORREF fill, COLORREF outline, Draw draw) {
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, outline);
    HGDIOBJ oldBrush = SelectObject(m_dc, brush);
    HGDIOBJ oldPen = SelectObject(m_dc, pen);
    draw(m_dc);
    SelectObject(m_dc, oldBrush);
    SelectObject(m_dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
  }

  void Polygon(const std::vector<POINT>& points, COLORREF fill, COLORREF outline) {
    Shape(fill, outline, [&](HDC dc) { ::Polygon(dc, points.data(), static_cast<int>(points.size())); });
  }

  void Line(int x0, int y0, int x1, int y1, COLORREF color, int width = 1) {
    HPEN pen = CreatePen(PS_SOLID, width, color);
    HGDIOBJ old = SelectObject(m_dc, pen);
    MoveToEx(m_dc, x0, y0, nullptr);
    LineTo(m_dc, x1, y1);
    SelectObject(m_dc, old);
    DeleteObject(pen);
  }

  // A bold glyph centred in a box, for the symbols of the message icons.
  void Symbol(const char* text, COLORREF color, RECT box) {
    HFONT font = CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, "Arial");
    HGDIOBJ old = SelectObject(m_dc, font);
    SetTextColor(m_dc, color);
    DrawTextA(m_dc, text, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(m_dc, old);
    DeleteObject(font);
  }

  IconImage Image() const {
    IconImage image = BlankIconImage(kSize, kSize);
    image.bitCount = 4;
    uint32_t key = PixelFromColor(kKey);
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        uint32_t pixel = m_surface->Row(y)[x] & 0x00FFFFFF;
        size_t i = static_cast<size_t>(y) * kSize + static_cast<size_t>(x);
        image.mask[i] = pixel == key ? 1 : 0;
        image.color[i] = pixel == key ? 0 : pixel;
      }
    }
    return image;
  }

 private:
  std::shared_ptr<Surface> m_surface;
  HDC m_dc;
};

void DrawIconFace(Sketch& s, WORD id) {
  switch (id) {
    case 32513: {  // IDI_HAND
      s.Shape(RGB(255, 0, 0), kBlack, [](HDC dc) { Ellipse(dc, 1, 1, 31, 31); });
      s.Line(10, 10, 22, 22, kWhite, 3);
      s.Line(21, 10, 9, 22, kWhite, 3);
      return;
    }
    case 32514:  // IDI_QUESTION
      s.Shape(kWhite, kBlack, [](HDC dc) { Ellipse(dc, 1, 1, 31, 31); });
      s.Symbol("?", RGB(0, 0, 255), RECT{1, 1, 31, 31});
      return;
    case 32515:  // IDI_EXCLAMATION
      s.Polygon({{16, 1}, {31, 29}, {1, 29}}, RGB(255, 255, 0), kBlack);
      s.Symbol("!", kBlack, RECT{1, 8, 31, 30});
      return;
    case 32516:  // IDI_ASTERISK
      s.Shape(kWhite, kBlack, [](HDC dc) { Ellipse(dc, 1, 1, 31, 31); });
      s.Symbol("i", RGB(0, 0, 255), RECT{1, 1, 31, 31});
      return;
    default: {  // IDI_APPLICATION, IDI_WINLOGO: a window with a title bar.
      s.Shape(kWhite, kBlack, [](HDC dc) { Rectangle(dc, 2, 4, 30, 28); });
      s.Shape(RGB(0, 0, 128), RGB(0, 0, 128), [](HDC dc) { Rectangle(dc, 3, 5, 29, 10); });
      return;
    }
  }
}

// Cursor shapes with their hot spots.
POINT DrawCursorFace(Sketch& s, WORD id) {
  switch (id) {
    case 32513:  // IDC_IBEAM
      s.Line(13, 4, 16, 4, kBlack);
      s.Line(17, 4, 20, 4, kBlack);
      s.Line(16, 5, 16, 26, kBlack);
      s.Line(13, 26, 16, 26, kBlack);
      s.Line(17, 26, 20, 26, kBlack);
      return POINT{16, 15};
    case 32514:  // IDC_WAIT
      s.Polygon({{8, 2}, {24, 2}, {24, 6}, {17, 15}, {24, 24}, {24, 29}, {8, 29}, {8, 24}, {15, 15}, {8, 6}},
                kWhite, kBlack);
      s.Polygon({{11, 26}, {16, 19}, {21, 26}}, kBlack, kBlack);
      return POINT{16, 15};
    case 32515:  // IDC_CROSS
      s.Line(16, 2, 16, 31, kBlack);
      s.Line(1, 16, 31, 16, kBlack);
      return POINT{16, 16};
    case 32516:  // IDC_UPARROW
      s.Polygon({{16, 1}, {25, 10}, {19, 10}, {19, 29}, {13, 29}, {13, 10}, {7, 10}}, kWhite, kBlack);
      return POINT{16, 1};
    case 32642:  // IDC_SIZENWSE
      s.Polygon({{4, 4}, {13, 4}, {10, 7}, {25, 22}, {28, 19}, {28, 28}, {19, 28}, {22, 25}, {7, 10}, {4, 13}},
                kWhite, kBlack);
      return POINT{16, 16};
    case 32643:  // IDC_SIZENESW
      s.Polygon({{28, 4}, {28, 13}, {25, 10}, {10, 25}, {13, 28}, {4, 28}, {4, 19}, {7, 22}, {22, 7}, {19, 4}},
                kWhite, kBlack);
      return POINT{16, 16};
    case 32644:  // IDC_SIZEWE
      s.Polygon({{2, 16}, {9, 9}, {9, 13}, {23, 13}, {23, 9}, {30, 16}, {23, 23}, {23, 19}, {9, 19}, {9, 23}},
                kWhite, kBlack);
      return POINT{16, 16};
    case 32645:  // IDC_SIZENS
      s.Polygon({{16, 2}, {23, 9}, {19, 9}, {19, 23}, {23, 23}, {16, 30}, {9, 23}, {13, 23}, {13, 9}, {9, 9}},
                kWhite, kBlack);
      return POINT{16, 16};
    case 32646:  // IDC_SIZEALL
      s.Polygon({{16, 1}, {21, 6}, {18, 6}, {18, 14}, {26, 14}, {26, 11}, {31, 16}, {26, 21}, {26, 18}, {18, 18},
                 {18, 26}, {21, 26}, {16, 31}, {11, 26}, {14, 26}, {14, 18}, {6, 18}, {6, 21}, {1, 16}, {6, 11},
                 {6, 14}, {14, 14}, {14, 6}, {11, 6}},
                kWhite, kBlack);
      return POINT{16, 16};
    case 32648:  // IDC_NO
      s.Shape(kBlack, kBlack, [](HDC dc) { Ellipse(dc, 4, 4, 28, 28); });
      s.Shape(kWhite, kWhite, [](HDC dc) { Ellipse(dc, 8, 8, 24, 24); });
      s.Line(9, 9, 23, 23, kBlack, 4);
      return POINT{16, 16};
    case 32649:  // IDC_HAND
      s.Polygon({{10, 1}, {13, 1}, {13, 11}, {25, 13}, {27, 16}, {26, 27}, {23, 31}, {12, 31}, {5, 20}, {6, 17},
                 {10, 19}},
                kWhite, kBlack);
      s.Line(17, 13, 17, 19, kBlack);
      s.Line(21, 14, 21, 19, kBlack);
      return POINT{11, 1};
    default: {  // IDC_ARROW, IDC_APPSTARTING and anything unknown.
      s.Polygon({{0, 0}, {0, 20}, {5, 15}, {9, 24}, {12, 23}, {8, 14}, {14, 14}}, kWhite, kBlack);
      if (id == 32650) {
        s.Shape(kWhite, kBlack, [](HDC dc) { Ellipse(dc, 18, 18, 30, 30); });
      }
      return POINT{0, 0};
    }
  }
}

bool KnownIcon(WORD id) { return id >= 32512 && id <= 32517; }
bool KnownCursor(WORD id) { return (id >= 32512 && id <= 32516) || (id >= 32642 && id <= 32646) || (id >= 32648 && id <= 32650); }

}  // namespace

HICON StockIcon(WORD id, bool isIcon) {
  if (isIcon ? !KnownIcon(id) : !KnownCursor(id)) return nullptr;
  static std::mutex mutex;
  static auto* made = new std::map<std::pair<WORD, bool>, HICON>();
  std::lock_guard lock(mutex);
  auto it = made->find({id, isIcon});
  if (it != made->end()) return it->second;
  Sketch sketch;
  POINT hotspot{kSize / 2, kSize / 2};
  if (isIcon) {
    DrawIconFace(sketch, id);
  } else {
    hotspot = DrawCursorFace(sketch, id);
  }
  HICON icon = RegisterIcon(sketch.Image(), isIcon, hotspot, true);
  made->emplace(std::make_pair(id, isIcon), icon);
  return icon;
}

}  // namespace vel::platform
