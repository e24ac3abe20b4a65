// Font objects, text metrics and measurement, TextOutA and ExtTextOutA.

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/gdi/text_renderer.h"

using namespace vel::platform;

namespace {

// Glyph widths are fixed per font, so the whole width table can be answered from the cache.
BOOL CharWidths(HDC hdc, UINT first, UINT last, LPINT buffer) {
  auto dc = LookupDc(hdc);
  if (!dc || buffer == nullptr || first > last || last > 0xFF) return FALSE;
  auto font = FontForDc(*dc);
  if (!font) return FALSE;
  KeepNewGlyphsAtEnd keep(*font);
  for (UINT c = first; c <= last; ++c) {
    buffer[c - first] = DeviceToLogicalLength(*dc, font->Advance(static_cast<unsigned char>(c)), true);
  }
  return TRUE;
}

}  // namespace

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lplf) {
  if (lplf == nullptr) return nullptr;
  LOGFONTA font = *lplf;
  // The face name may arrive without its terminator; keep it inside the field.
  font.lfFaceName[LF_FACESIZE - 1] = '\0';
  return static_cast<HFONT>(RegisterObject(std::make_shared<FontObject>(font)));
}

HFONT WINAPI CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                         DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision,
                         DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName) {
  LOGFONTA font{};
  font.lfHeight = cHeight;
  font.lfWidth = cWidth;
  font.lfEscapement = cEscapement;
  font.lfOrientation = cOrientation;
  font.lfWeight = cWeight;
  font.lfItalic = static_cast<BYTE>(bItalic != 0);
  font.lfUnderline = static_cast<BYTE>(bUnderline != 0);
  font.lfStrikeOut = static_cast<BYTE>(bStrikeOut != 0);
  font.lfCharSet = static_cast<BYTE>(iCharSet);
  font.lfOutPrecision = static_cast<BYTE>(iOutPrecision);
  font.lfClipPrecision = static_cast<BYTE>(iClipPrecision);
  font.lfQuality = static_cast<BYTE>(iQuality);
  font.lfPitchAndFamily = static_cast<BYTE>(iPitchAndFamily);
  if (pszFaceName != nullptr) std::strncpy(font.lfFaceName, pszFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectA(&font);
}

BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm) {
  auto dc = LookupDc(hdc);
  if (!dc || lptm == nullptr) return FALSE;
  auto font = FontForDc(*dc);
  if (!font) return FALSE;
  const FontMetrics& m = font->Metrics();
  const LOGFONTA& lf = dc->m_state.font->m_font;
  auto y = [&](int v) { return DeviceToLogicalLength(*dc, v, false); };
  auto x = [&](int v) { return DeviceToLogicalLength(*dc, v, true); };
  TEXTMETRICA tm{};
  tm.tmHeight = y(m.height);
  tm.tmAscent = y(m.ascent);
  tm.tmDescent = y(m.descent);
  tm.tmInternalLeading = y(m.internalLeading);
  tm.tmExternalLeading = y(m.externalLeading);
  tm.tmAveCharWidth = x(m.averageWidth);
  tm.tmMaxCharWidth = x(m.maxWidth);
  tm.tmWeight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : lf.lfWeight;
  tm.tmOverhang = 0;
  tm.tmDigitizedAspectX = GetDeviceCaps(hdc, LOGPIXELSX);
  tm.tmDigitizedAspectY = GetDeviceCaps(hdc, LOGPIXELSY);
  tm.tmFirstChar = 0x1E;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = lf.lfItalic;
  tm.tmUnderlined = lf.lfUnderline;
  tm.tmStruckOut = lf.lfStrikeOut;
  // The "fixed pitch" bit is set for variable-pitch fonts; the name is historical.
  tm.tmPitchAndFamily = static_cast<BYTE>(TMPF_VECTOR | TMPF_TRUETYPE | (m.fixedPitch ? 0 : TMPF_FIXED_PITCH) |
                                          ResolveFontFile(lf).family);
  tm.tmCharSet = ANSI_CHARSET;
  *lptm = tm;
  return TRUE;
}

int WINAPI GetTextFaceA(HDC hdc, int c, LPSTR lpName) {
  auto dc = LookupDc(hdc);
  if (!dc) return 0;
  const char* face = dc->m_state.font->m_font.lfFaceName;
  int length = static_cast<int>(strnlen(face, LF_FACESIZE));
  if (lpName == nullptr) return length + 1;
  if (c <= 0) return 0;
  int copied = std::min(length, c - 1);
  std::memcpy(lpName, face, static_cast<size_t>(copied));
  lpName[copied] = '\0';
  return copied;
}

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl) {
  auto dc = LookupDc(hdc);
  if (!dc || psizl == nullptr || c < 0 || (lpString == nullptr && c > 0)) return FALSE;
  auto font = FontForDc(*dc);
  if (!font) return FALSE;
  KeepNewGlyphsAtEnd keep(*font);
  std::string_view text(lpString == nullptr ? "" : lpString, static_cast<size_t>(c));
  psizl->cx = DeviceToLogicalLength(*dc, RunWidth(*font, text), true);
  psizl->cy = DeviceToLogicalLength(*dc, font->Metrics().height, false);
  return TRUE;
}

BOOL WINAPI GetTextExtentPointA(HDC hdc, LPCSTR lpString, int c, LPSIZE lpsz) {
  return GetTextExtentPoint32A(hdc, lpString, c, lpsz);
}

BOOL WINAPI GetCharWidthA(HDC hdc, UINT iFirst, UINT iLast, LPINT lpBuffer) {
  return CharWidths(hdc, iFirst, iLast, lpBuffer);
}

BOOL WINAPI GetCharWidth32A(HDC hdc, UINT iFirst, UINT iLast, LPINT lpBuffer) {
  return CharWidths(hdc, iFirst, iLast, lpBuffer);
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) {
  if (c < 0) return FALSE;
  return ExtTextOutA(hdc, x, y, 0, nullptr, lpString, static_cast<UINT>(c), nullptr);
}

BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR lpString, UINT c,
                        const INT* lpDx) {
  auto dc = LookupDc(hdc);
  if (!dc || (lpString == nullptr && c > 0)) return FALSE;
  auto font = FontForDc(*dc);
  if (!font) return FALSE;
  KeepNewGlyphsAtEnd keep(*font);
  DcState& s = dc->m_state;
  std::string_view text(lpString == nullptr ? "" : lpString, c);

  GlyphRun run;
  run.text = text;
  int width = 0;
  if (lpDx != nullptr) {
    for (UINT i = 0; i < c; ++i) run.advances.push_back(dc->ScaleWidth(lpDx[i]));
    for (int advance : run.advances) width += advance;
  } else {
    width = RunWidth(*font, text);
  }
  bool updateCp = (s.textAlign & TA_UPDATECP) != 0;
  POINT reference = updateCp ? dc->ToSurface(s.position.x, s.position.y) : dc->ToSurface(x, y);
  const FontMetrics& m = font->Metrics();
  int left = reference.x;
  if ((s.textAlign & TA_CENTER) == TA_CENTER) {
    left -= width / 2;
  } else if (s.textAlign & TA_RIGHT) {
    left -= width;
  }
  int baseline = reference.y + m.ascent;
  if ((s.textAlign & TA_BASELINE) == TA_BASELINE) {
    baseline = reference.y;
  } else if (s.textAlign & TA_BOTTOM) {
    baseline = reference.y - m.descent;
  }

  RECT optionRect{};
  if (lprect != nullptr) optionRect = dc->RectToSurface(*lprect);
  // Only a clipped call needs its own clip region; the rest draw through the DC's.
  Region clipped;
  const Region* clip = &dc->EffectiveClip();
  if (lprect != nullptr && (options & ETO_CLIPPED)) {
    clipped = *clip;
    clipped.IntersectWith(optionRect);
    clip = &clipped;
  }
  Painter painter(dc->DrawTarget(), *clip);
  Paint background{dc->PixelFor(s.bkColor)};
  if (lprect != nullptr && (options & ETO_OPAQUE)) {
    Painter opaque(dc->DrawTarget(), dc->EffectiveClip());
    opaque.FillRect(optionRect, background);
  }
  if (s.bkMode == OPAQUE) painter.FillRect(RECT{left, baseline - m.ascent, left + width, baseline + m.descent}, background);

  run.x = left;
  run.baseline = baseline;
  run.color = dc->PixelFor(s.textColor);
  run.underline = dc->m_state.font->m_font.lfUnderline != 0;
  run.strikeOut = dc->m_state.font->m_font.lfStrikeOut != 0;
  DrawGlyphRun(painter, *font, run, dc->IsMonochrome());

  if (updateCp) {
    // The current position moves past the text only for left-aligned text.
    if ((s.textAlign & TA_CENTER) != TA_CENTER && !(s.textAlign & TA_RIGHT)) {
      s.position.x += DeviceToLogicalLength(*dc, width, true);
    } else if ((s.textAlign & TA_CENTER) != TA_CENTER) {
      s.position.x -= DeviceToLogicalLength(*dc, width, true);
    }
  }
  return TRUE;
}
