// DrawTextA: lines, word breaking, alignment, tabs, "&" prefixes and DT_CALCRECT.

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gdi/text_renderer.h"

using namespace vel::platform;

namespace {

struct Line {
  std::string text;
  int prefixIndex = -1;  ///< The character to underline, or -1.
  int width = 0;
};

// Removes "&" prefixes: "&&" is a literal ampersand, "&x" underlines x.
std::string StripPrefixes(const std::string& text, int& underlined) {
  std::string out;
  underlined = -1;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != '&') underlined = static_cast<int>(out.size());
    } else if (text[i] == '&') {
      continue;
    }
    out.push_back(text[i]);
  }
  return out;
}

class LineLayout {
 public:
  LineLayout(FontInstance& font, UINT format, int tabWidth) : m_font(font), m_format(format), m_tabWidth(tabWidth) {}

  int Width(const std::string& text) const {
    int width = 0;
    for (char c : text) {
      if (c == '\t' && (m_format & DT_EXPANDTABS)) {
        width = (width / m_tabWidth + 1) * m_tabWidth;
      } else {
        width += m_font.Advance(static_cast<unsigned char>(c));
      }
    }
    return width;
  }

  // Splits one paragraph into lines no wider than `limit` at spaces; a word wider than the
  // limit stays whole on its own line.
  std::vector<std::string> Wrap(const std::string& paragraph, int limit) const {
    std::vector<std::string> lines;
    std::string current;
    size_t i = 0;
    while (i < paragraph.size()) {
      size_t wordEnd = paragraph.find(' ', i);
      if (wordEnd == std::string::npos) wordEnd = paragraph.size();
      std::string word = paragraph.substr(i, wordEnd - i);
      std::string candidate = current.empty() ? word : current + " " + word;
      if (!current.empty() && Width(candidate) > limit) {
        lines.push_back(current);
        current = word;
      } else {
        current = candidate;
      }
      i = wordEnd + 1;
    }
    lines.push_back(current);
    return lines;
  }

 private:
  FontInstance& m_font;
  UINT m_format;
  int m_tabWidth;
};

std::vector<std::string> Paragraphs(const std::string& text, bool singleLine) {
  if (singleLine) return {text};
  std::vector<std::string> out;
  std::string current;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out.push_back(current);
      current.clear();
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current.push_back(text[i]);
    }
  }
  out.push_back(current);
  return out;
}

// Draws one laid-out line with tabs expanded, returning nothing: DrawTextA ignores the DC's
// text alignment and always works from the top-left of each line.
void DrawLine(DeviceContext& dc, Painter& painter, FontInstance& font, const Line& line, int x, int top,
              UINT format, int tabWidth) {
  const FontMetrics& m = font.Metrics();
  GlyphRun run;
  run.text = line.text;
  run.x = x;
  run.baseline = top + m.ascent;
  run.color = dc.PixelFor(dc.m_state.textColor);
  run.underline = dc.m_state.font->m_font.lfUnderline != 0;
  run.strikeOut = dc.m_state.font->m_font.lfStrikeOut != 0;
  int pen = 0;
  for (char c : line.text) {
    int advance = font.Advance(static_cast<unsigned char>(c));
    if (c == '\t' && (format & DT_EXPANDTABS)) advance = (pen / tabWidth + 1) * tabWidth - pen;
    run.advances.push_back(advance);
    pen += advance;
  }
  if (dc.m_state.bkMode == OPAQUE) painter.FillRect(RECT{x, top, x + pen, top + m.height}, Paint{dc.PixelFor(dc.m_state.bkColor)});
  DrawGlyphRun(painter, font, run, dc.IsMonochrome());
  if (line.prefixIndex >= 0 && line.prefixIndex < static_cast<int>(line.text.size())) {
    int start = x;
    for (int i = 0; i < line.prefixIndex; ++i) start += run.advances[static_cast<size_t>(i)];
    int underlineTop = run.baseline + m.underlinePosition - m.underlineThickness / 2;
    painter.FillRect(RECT{start, underlineTop, start + run.advances[static_cast<size_t>(line.prefixIndex)],
                          underlineTop + m.underlineThickness},
                     Paint{run.color});
  }
}

}  // namespace

int WINAPI DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format) {
  auto dc = LookupDc(hdc);
  if (!dc || lprc == nullptr || lpchText == nullptr) return 0;
  auto font = FontForDc(*dc);
  if (!font) return 0;
  KeepNewGlyphsAtEnd keep(*font);
  std::string text = cchText < 0 ? std::string(lpchText) : std::string(lpchText, static_cast<size_t>(cchText));
  const FontMetrics& m = font->Metrics();
  int tabWidth = std::max(1, 8 * m.averageWidth);
  int lineHeight = m.height + ((format & DT_EXTERNALLEADING) ? m.externalLeading : 0);
  RECT box = dc->RectToSurface(*lprc);
  LineLayout layout(*font, format, tabWidth);
  bool singleLine = (format & DT_SINGLELINE) != 0;

  std::vector<Line> lines;
  for (const std::string& paragraph : Paragraphs(text, singleLine)) {
    std::vector<std::string> wrapped{paragraph};
    if ((format & DT_WORDBREAK) && !singleLine) wrapped = layout.Wrap(paragraph, box.right - box.left);
    for (const std::string& raw : wrapped) {
      Line line;
      line.text = (format & DT_NOPREFIX) ? raw : StripPrefixes(raw, line.prefixIndex);
      line.width = layout.Width(line.text);
      lines.push_back(std::move(line));
    }
  }
  int totalHeight = lineHeight * static_cast<int>(lines.size());
  int widest = 0;
  for (const Line& line : lines) widest = std::max(widest, line.width);

  if (format & DT_CALCRECT) {
    POINT origin = dc->Origin();
    POINT corner = dc->ToLogical(box.left + widest - origin.x, box.top + totalHeight - origin.y);
    // Word-broken text keeps the caller's width only when a line fills it; otherwise the
    // rectangle fits the widest line, as it does for unbroken text.
    lprc->right = corner.x;
    lprc->bottom = corner.y;
    return DeviceToLogicalLength(*dc, totalHeight, false);
  }

  int top = box.top;
  if (singleLine && (format & DT_VCENTER)) top = box.top + (box.bottom - box.top - totalHeight) / 2;
  if (singleLine && (format & DT_BOTTOM)) top = box.bottom - totalHeight;
  Region clip = dc->EffectiveClip();
  if (!(format & DT_NOCLIP)) clip.IntersectWith(box);
  Painter painter(dc->DrawTarget(), clip);
  int y = top;
  for (const Line& line : lines) {
    int x = box.left;
    if (format & DT_CENTER) {
      x = box.left + (box.right - box.left - line.width) / 2;
    } else if (format & DT_RIGHT) {
      x = box.right - line.width;
    }
    DrawLine(*dc, painter, *font, line, x, y, format, tabWidth);
    y += lineHeight;
  }
  if (singleLine && (format & (DT_VCENTER | DT_BOTTOM))) {
    return DeviceToLogicalLength(*dc, top + totalHeight - box.top, false);
  }
  return DeviceToLogicalLength(*dc, totalHeight, false);
}
