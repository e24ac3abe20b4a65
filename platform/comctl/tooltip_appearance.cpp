#include "platform/comctl/tooltip_appearance.h"

#include <algorithm>

namespace vel::platform {
namespace {

// Room between the text and the frame, and the distance below the pointer's hot spot that
// clears the arrow cursor.
constexpr int kPaddingX = 3;
constexpr int kPaddingY = 2;
constexpr int kFrame = 1;
constexpr int kBelowPointer = 20;

UINT TextFormat(int maxWidth) { return DT_NOPREFIX | DT_EXPANDTABS | (maxWidth >= 0 ? DT_WORDBREAK : DT_SINGLELINE); }

}  // namespace

HFONT TipFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

std::string TipDisplayText(const std::string& text, DWORD tooltipStyle) {
  if (tooltipStyle & TTS_NOPREFIX) return text;
  std::string shown;
  for (size_t i = 0; i < text.size(); ++i) {
    // "&&" stands for one ampersand; a single one marks a mnemonic, which a tip does not show.
    if (text[i] == '&') {
      if (i + 1 < text.size()) shown.push_back(text[++i]);
      continue;
    }
    shown.push_back(text[i]);
  }
  return shown;
}

SIZE TipWindowSize(const std::string& displayText, int maxWidth) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, TipFont());
  RECT text{0, 0, maxWidth >= 0 ? maxWidth : 0, 0};
  DrawTextA(dc, displayText.c_str(), static_cast<int>(displayText.size()), &text, TextFormat(maxWidth) | DT_CALCRECT);
  SelectObject(dc, oldFont);
  DeleteDC(dc);
  return {text.right - text.left + 2 * (kPaddingX + kFrame), text.bottom - text.top + 2 * (kPaddingY + kFrame)};
}

POINT TipPosition(POINT pointer, SIZE size, SIZE screen) {
  LONG x = std::max(LONG{0}, std::min(pointer.x, screen.cx - size.cx));
  LONG y = pointer.y + kBelowPointer;
  if (y + size.cy > screen.cy) y = pointer.y - size.cy;
  y = std::max(LONG{0}, std::min(y, screen.cy - size.cy));
  return {x, y};
}

void PaintTip(HWND tooltip, HDC dc, const std::string& displayText, int maxWidth) {
  RECT client{};
  GetClientRect(tooltip, &client);
  HBRUSH background = CreateSolidBrush(GetSysColor(COLOR_INFOBK));
  FillRect(dc, &client, background);
  DeleteObject(background);
  HGDIOBJ oldFont = SelectObject(dc, TipFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  RECT text = client;
  InflateRect(&text, -kPaddingX, -kPaddingY);
  DrawTextA(dc, displayText.c_str(), static_cast<int>(displayText.size()), &text, TextFormat(maxWidth));
  SelectObject(dc, oldFont);
}

void PaintTipFrame(HWND tooltip) {
  HDC dc = GetWindowDC(tooltip);
  if (dc == nullptr) return;
  RECT window{};
  GetWindowRect(tooltip, &window);
  RECT frame{0, 0, window.right - window.left, window.bottom - window.top};
  FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(tooltip, dc);
}

}  // namespace vel::platform
