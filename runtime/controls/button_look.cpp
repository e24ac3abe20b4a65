#include "runtime/controls/button_look.h"

#include <algorithm>
#include <cstring>

namespace vel::controls {
namespace {

/// Between a picture and the text beside it.
constexpr int kPictureGap = 3;
/// Room a button of its own size leaves beside and above and below its text.
constexpr int kTextMarginX = 4;
constexpr int kTextMarginY = 1;

// The width of the border each state draws on every side.
int BorderWidth(std::uint32_t state) {
  if (state & kDrawFlat) return 1;
  return 2 + ((state & kDrawDefault) ? 1 : 0);
}

void DrawBorder(HDC dc, RECT& inner, std::uint32_t state) {
  bool down = (state & (kDrawPressed | kDrawChecked)) != 0;
  if (state & kDrawFlat) {
    // A flat button shows a thin border only while it is hot, pressed or checked.
    if (down) {
      DrawEdge(dc, &inner, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    } else if (state & kDrawHot) {
      DrawEdge(dc, &inner, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    } else {
      InflateRect(&inner, -1, -1);
    }
    return;
  }
  if (state & kDrawDefault) {
    FrameRect(dc, &inner, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&inner, -1, -1);
  }
  DrawEdge(dc, &inner, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
}

int TextWidth(HDC dc, const std::string& text) {
  if (text.empty()) return 0;
  RECT measure{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measure, DT_SINGLELINE | DT_CALCRECT);
  return measure.right - measure.left;
}

COLORREF GreyOf(COLORREF colour, COLORREF behind) {
  if (colour == behind) return behind;
  int luminance = (GetRValue(colour) * 30 + GetGValue(colour) * 59 + GetBValue(colour) * 11) / 100;
  // Dark parts become a mid grey, light parts almost white: the picture stays readable but
  // plainly out of use.
  auto grey = static_cast<BYTE>(std::min(255, 128 + luminance / 2));
  return RGB(grey, grey, grey);
}

}  // namespace

RECT ButtonContentArea(const RECT& area, std::uint32_t drawState) {
  RECT content = area;
  InflateRect(&content, -(BorderWidth(drawState) + 1), -(BorderWidth(drawState) + 1));
  return content;
}

SIZE ButtonTextSize(HFONT font, const std::string& text) {
  if (text.empty()) return SIZE{0, 0};
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return SIZE{0, 0};
  HGDIOBJ previous = SelectObject(screen, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
  RECT measure{0, 0, 0, 0};
  DrawTextA(screen, text.c_str(), static_cast<int>(text.size()), &measure, DT_SINGLELINE | DT_CALCRECT);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return SIZE{measure.right - measure.left, measure.bottom - measure.top};
}

SIZE RuntimeButtonSize(SIZE picture, SIZE text, std::uint32_t drawState) {
  bool hasPicture = picture.cx > 0 && picture.cy > 0;
  bool hasText = text.cx > 0;
  int edges = 2 * (BorderWidth(drawState) + 1);
  int width = edges + (hasPicture ? picture.cx : 0) + (hasText ? text.cx + 2 * kTextMarginX : 0) +
              (hasPicture && hasText ? kPictureGap : 0);
  int height = edges + std::max(hasPicture ? picture.cy : 0, hasText ? text.cy + 2 * kTextMarginY : 0);
  return SIZE{width, height};
}

SIZE FitPicture(SIZE natural, SIZE room) {
  if (natural.cx <= 0 || natural.cy <= 0) return SIZE{0, 0};
  if (natural.cx <= room.cx && natural.cy <= room.cy) return natural;
  if (room.cx <= 0 || room.cy <= 0) return SIZE{0, 0};
  // The side that overflows most sets the scale; the other follows, rounded, at least 1.
  std::int64_t across = std::int64_t{room.cx} * natural.cy;
  std::int64_t down = std::int64_t{room.cy} * natural.cx;
  if (across <= down) {
    return SIZE{room.cx, static_cast<LONG>(std::max<std::int64_t>(1, (across + natural.cx / 2) / natural.cx))};
  }
  return SIZE{static_cast<LONG>(std::max<std::int64_t>(1, (down + natural.cy / 2) / natural.cy)), room.cy};
}

void DrawGreyedPicture(HDC dc, int x, int y, SIZE size, const ButtonPicture& picture, COLORREF behind) {
  if (!picture || size.cx <= 0 || size.cy <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (canvas == nullptr || bits == nullptr) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(memory, canvas);
  HBRUSH fill = CreateSolidBrush(behind);
  RECT whole{0, 0, size.cx, size.cy};
  FillRect(memory, &whole, fill);
  DeleteObject(fill);
  picture.draw(memory, 0, 0, size.cx, size.cy);
  GdiFlush();
  auto* pixel = static_cast<std::uint32_t*>(bits);
  std::size_t count = static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy);
  for (std::size_t i = 0; i < count; ++i) {
    // The section holds blue, green, red from the low byte up.
    std::uint32_t value = pixel[i];
    COLORREF colour = RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
    COLORREF grey = GreyOf(colour, behind);
    pixel[i] = (static_cast<std::uint32_t>(GetRValue(grey)) << 16) |
               (static_cast<std::uint32_t>(GetGValue(grey)) << 8) | GetBValue(grey);
  }
  BitBlt(dc, x, y, size.cx, size.cy, memory, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(canvas);
}

void DrawRuntimeButton(HDC dc, const RECT& area, const ButtonLook& look) {
  int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  if (!look.transparent && look.background != nullptr) FillRect(dc, &area, look.background);

  RECT inner = area;
  DrawBorder(dc, inner, look.drawState);
  RECT content = ButtonContentArea(area, look.drawState);
  if (look.drawState & (kDrawPressed | kDrawChecked)) OffsetRect(&content, 1, 1);

  if (look.font != nullptr) SelectObject(dc, look.font);
  bool disabled = (look.drawState & kDrawDisabled) != 0;
  int textWidth = TextWidth(dc, look.text);
  SIZE shown = look.picture ? FitPicture(look.picture.size, SIZE{content.right - content.left,
                                                                  content.bottom - content.top})
                            : SIZE{0, 0};
  int pictureWidth = shown.cx;
  int gap = pictureWidth > 0 && textWidth > 0 ? kPictureGap : 0;
  int left = content.left + ((content.right - content.left) - (pictureWidth + gap + textWidth)) / 2;

  if (pictureWidth > 0) {
    int top = content.top + ((content.bottom - content.top) - shown.cy) / 2;
    if (disabled) {
      LOGBRUSH behind{};
      COLORREF colour = GetSysColor(COLOR_BTNFACE);
      if (look.background != nullptr && GetObjectA(look.background, sizeof behind, &behind) != 0)
        colour = behind.lbColor;
      DrawGreyedPicture(dc, left, top, shown, look.picture, colour);
    } else {
      look.picture.draw(dc, left, top, shown.cx, shown.cy);
    }
  }
  if (textWidth > 0) {
    RECT textArea{left + pictureWidth + gap, content.top, content.right, content.bottom};
    if (pictureWidth == 0) textArea.left = content.left;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : look.textColour);
    UINT format = DT_SINGLELINE | DT_VCENTER | (pictureWidth == 0 ? DT_CENTER : DT_LEFT);
    DrawTextA(dc, look.text.c_str(), static_cast<int>(look.text.size()), &textArea, format);
  }
  if (look.focused) {
    RECT focus = inner;
    InflateRect(&focus, -1, -1);
    if (focus.right > focus.left && focus.bottom > focus.top) DrawFocusRect(dc, &focus);
  }
  RestoreDC(dc, saved);
}

}  // namespace vel::controls
