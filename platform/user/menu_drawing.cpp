#include "platform/user/menu_drawing.h"

namespace vel::platform {

HFONT MenuFont() {
  static HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, DEFAULT_QUALITY,
                                  VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
  return font;
}

std::string MenuLabel(const std::string& text) { return text.substr(0, text.find('\t')); }

std::string MenuShortcut(const std::string& text) {
  size_t tab = text.find('\t');
  return tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

SIZE MeasureMenuText(const std::string& text) {
  // A fresh memory DC each time: a DC keeps the font file it resolved, and which file a face
  // resolves to can change (tests pin one).
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, MenuFont());
  RECT rect{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_SINGLELINE | DT_CALCRECT);
  if (text.empty()) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    rect.bottom = metrics.tmHeight;
  }
  DeleteDC(dc);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void DrawMenuText(HDC dc, const std::string& text, RECT rect, UINT format, COLORREF color, bool greyed,
                  bool embossed) {
  HGDIOBJ oldFont = SelectObject(dc, MenuFont());
  int oldMode = SetBkMode(dc, TRANSPARENT);
  format |= DT_SINGLELINE | DT_VCENTER;
  int length = static_cast<int>(text.size());
  if (greyed && embossed) {
    RECT light = rect;
    OffsetRect(&light, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    DrawTextA(dc, text.c_str(), length, &light, format);
    SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
  } else {
    SetTextColor(dc, greyed ? GetSysColor(COLOR_GRAYTEXT) : color);
  }
  DrawTextA(dc, text.c_str(), length, &rect, format);
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
}

}  // namespace vel::platform
