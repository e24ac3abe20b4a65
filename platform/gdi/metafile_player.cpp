// Playback of metafile records into a DC: drawing, attributes, mapping, clipping, the object
// table, text and DIB blits. Records of other kinds are skipped; a record whose parameters
// are too short for its kind is skipped too, so no read goes past it.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/dib_codec.h"
#include "platform/gdi/metafile.h"

namespace vel::platform {
namespace {

// Reads a record's parameter words by index, with every access checked.
class Params {
 public:
  Params(const MetafileObject& metafile, const MetaRecord& record)
      : m_data(metafile.m_bytes.data() + record.offset), m_words(record.paramWords) {}

  size_t Words() const { return m_words; }
  bool Has(size_t words) const { return m_words >= words; }
  int16_t Short(size_t i) const { return static_cast<int16_t>(Unsigned(i)); }
  uint16_t Unsigned(size_t i) const { return i < m_words ? static_cast<uint16_t>(m_data[2 * i] | (m_data[2 * i + 1] << 8)) : 0; }
  uint32_t Long(size_t i) const { return Unsigned(i) | (uint32_t{Unsigned(i + 1)} << 16); }
  const uint8_t* Bytes(size_t wordIndex) const { return m_data + 2 * std::min(wordIndex, m_words); }
  size_t BytesFrom(size_t wordIndex) const { return 2 * (m_words - std::min(wordIndex, m_words)); }

 private:
  const uint8_t* m_data;
  size_t m_words;
};

class Player {
 public:
  Player(HDC hdc, const MetafileObject& metafile) : m_dc(hdc), m_metafile(metafile), m_objects(metafile.m_objectCount) {}

  ~Player() {
    // Objects the metafile made and did not delete go with the playback.
    for (HGDIOBJ object : m_objects) {
      if (object != nullptr) DeleteObject(object);
    }
  }
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  void Play() {
    for (const MetaRecord& record : m_metafile.m_records) Dispatch(record.function, Params(m_metafile, record));
  }

 private:
  void AddObject(HGDIOBJ object) {
    if (object == nullptr) return;
    auto slot = std::find(m_objects.begin(), m_objects.end(), nullptr);
    if (slot == m_objects.end()) {
      // A table too small for the metafile's objects: the object cannot be referred to.
      DeleteObject(object);
      return;
    }
    *slot = object;
  }

  HGDIOBJ ObjectAt(size_t index) const { return index < m_objects.size() ? m_objects[index] : nullptr; }

  std::vector<POINT> Points(const Params& p, size_t first, size_t count) const {
    std::vector<POINT> points;
    if (!p.Has(first + 2 * count)) return points;
    for (size_t i = 0; i < count; ++i) points.push_back(POINT{p.Short(first + 2 * i), p.Short(first + 2 * i + 1)});
    return points;
  }

  void Dispatch(uint16_t function, const Params& p);
  void CreatePen(const Params& p);
  void CreateBrush(const Params& p);
  void CreateFont(const Params& p);
  void CreatePaletteRecord(const Params& p);
  void CreatePatternBrush(const Params& p);
  void TextOut(const Params& p);
  void ExtTextOut(const Params& p);
  void PolyPolygon(const Params& p);
  void DibBlit(uint16_t function, const Params& p);

  HDC m_dc;
  const MetafileObject& m_metafile;
  std::vector<HGDIOBJ> m_objects;
};

void Player::Dispatch(uint16_t function, const Params& p) {
  switch (function) {
    case 0x0201: if (p.Has(2)) SetBkColor(m_dc, p.Long(0)); return;
    case 0x0102: if (p.Has(1)) SetBkMode(m_dc, p.Short(0)); return;
    case 0x0103: if (p.Has(1)) SetMapMode(m_dc, p.Short(0)); return;
    case 0x0104: if (p.Has(1)) SetROP2(m_dc, p.Short(0)); return;
    case 0x0106: if (p.Has(1)) SetPolyFillMode(m_dc, p.Short(0)); return;
    case 0x0107: if (p.Has(1)) SetStretchBltMode(m_dc, p.Short(0)); return;
    case 0x0209: if (p.Has(2)) SetTextColor(m_dc, p.Long(0)); return;
    case 0x012E: if (p.Has(1)) SetTextAlign(m_dc, p.Unsigned(0)); return;
    case 0x020B: if (p.Has(2)) SetWindowOrgEx(m_dc, p.Short(1), p.Short(0), nullptr); return;
    case 0x020C: if (p.Has(2)) SetWindowExtEx(m_dc, p.Short(1), p.Short(0), nullptr); return;
    case 0x020D: if (p.Has(2)) SetViewportOrgEx(m_dc, p.Short(1), p.Short(0), nullptr); return;
    case 0x020E: if (p.Has(2)) SetViewportExtEx(m_dc, p.Short(1), p.Short(0), nullptr); return;
    case 0x020F: if (p.Has(2)) OffsetWindowOrgEx(m_dc, p.Short(1), p.Short(0), nullptr); return;
    case 0x0211: if (p.Has(2)) OffsetViewportOrgEx(m_dc, p.Short(1), p.Short(0), nullptr); return;
    case 0x0213: if (p.Has(2)) LineTo(m_dc, p.Short(1), p.Short(0)); return;
    case 0x0214: if (p.Has(2)) MoveToEx(m_dc, p.Short(1), p.Short(0), nullptr); return;
    case 0x0415: if (p.Has(4)) ExcludeClipRect(m_dc, p.Short(3), p.Short(2), p.Short(1), p.Short(0)); return;
    case 0x0416: if (p.Has(4)) IntersectClipRect(m_dc, p.Short(3), p.Short(2), p.Short(1), p.Short(0)); return;
    case 0x0418: if (p.Has(4)) Ellipse(m_dc, p.Short(3), p.Short(2), p.Short(1), p.Short(0)); return;
    case 0x041B: if (p.Has(4)) Rectangle(m_dc, p.Short(3), p.Short(2), p.Short(1), p.Short(0)); return;
    case 0x061C:
      if (p.Has(6)) RoundRect(m_dc, p.Short(5), p.Short(4), p.Short(3), p.Short(2), p.Short(1), p.Short(0));
      return;
    case 0x061D: if (p.Has(6)) PatBlt(m_dc, p.Short(5), p.Short(4), p.Short(3), p.Short(2), p.Long(0)); return;
    case 0x001E: SaveDC(m_dc); return;
    case 0x0127: if (p.Has(1)) RestoreDC(m_dc, p.Short(0)); return;
    case 0x041F: if (p.Has(4)) SetPixel(m_dc, p.Short(3), p.Short(2), p.Long(0)); return;
    case 0x0521: TextOut(p); return;
    case 0x0A32: ExtTextOut(p); return;
    case 0x0324:
    case 0x0325: {
      if (!p.Has(1)) return;
      std::vector<POINT> points = Points(p, 1, p.Unsigned(0));
      if (points.size() < 2) return;
      if (function == 0x0324) {
        Polygon(m_dc, points.data(), static_cast<int>(points.size()));
      } else {
        Polyline(m_dc, points.data(), static_cast<int>(points.size()));
      }
      return;
    }
    case 0x0538: PolyPolygon(p); return;
    case 0x012D: if (p.Has(1) && ObjectAt(p.Unsigned(0))) SelectObject(m_dc, ObjectAt(p.Unsigned(0))); return;
    case 0x0234:
      if (p.Has(1)) SelectPalette(m_dc, static_cast<HPALETTE>(ObjectAt(p.Unsigned(0))), FALSE);
      return;
    case 0x0035: RealizePalette(m_dc); return;
    case 0x012C: {
      if (!p.Has(1)) return;
      HGDIOBJ region = ObjectAt(p.Unsigned(0));
      if (GetObjectType(region) == OBJ_REGION) SelectClipRgn(m_dc, static_cast<HRGN>(region));
      return;
    }
    case 0x01F0: {
      if (!p.Has(1) || p.Unsigned(0) >= m_objects.size()) return;
      HGDIOBJ& slot = m_objects[p.Unsigned(0)];
      if (slot != nullptr) DeleteObject(slot);
      slot = nullptr;
      return;
    }
    case 0x02FA: CreatePen(p); return;
    case 0x02FB: CreateFont(p); return;
    case 0x02FC: CreateBrush(p); return;
    case 0x00F7: CreatePaletteRecord(p); return;
    case 0x0142: CreatePatternBrush(p); return;
    case 0x06FF:
      // Regions in metafiles are rare; an empty one keeps later object indexes right.
      AddObject(CreateRectRgn(0, 0, 0, 0));
      return;
    case 0x0940:
    case 0x0B41:
    case 0x0F43:
    case 0x0D33: DibBlit(function, p); return;
    default: return;
  }
}

void Player::CreatePen(const Params& p) {
  if (!p.Has(5)) return;
  LOGPEN pen{p.Unsigned(0), POINT{p.Short(1), p.Short(2)}, p.Long(3)};
  AddObject(CreatePenIndirect(&pen));
}

void Player::CreateBrush(const Params& p) {
  if (!p.Has(4)) return;
  LOGBRUSH brush{p.Unsigned(0), p.Long(1), p.Unsigned(3)};
  // Pattern brushes arrive through their own record; here only solid, null and hatched ones.
  if (brush.lbStyle == BS_PATTERN) brush.lbStyle = BS_NULL;
  AddObject(CreateBrushIndirect(&brush));
}

void Player::CreateFont(const Params& p) {
  if (!p.Has(9)) return;
  LOGFONTA font{};
  font.lfHeight = p.Short(0);
  font.lfWidth = p.Short(1);
  font.lfEscapement = p.Short(2);
  font.lfOrientation = p.Short(3);
  font.lfWeight = p.Short(4);
  const uint8_t* bytes = p.Bytes(5);
  font.lfItalic = bytes[0];
  font.lfUnderline = bytes[1];
  font.lfStrikeOut = bytes[2];
  font.lfCharSet = bytes[3];
  font.lfOutPrecision = bytes[4];
  font.lfClipPrecision = bytes[5];
  font.lfQuality = bytes[6];
  font.lfPitchAndFamily = bytes[7];
  size_t faceBytes = std::min<size_t>(p.BytesFrom(9), LF_FACESIZE - 1);
  std::memcpy(font.lfFaceName, p.Bytes(9), faceBytes);
  AddObject(CreateFontIndirectA(&font));
}

void Player::CreatePaletteRecord(const Params& p) {
  if (!p.Has(2)) return;
  size_t count = p.Unsigned(1);
  if (count == 0 || !p.Has(2 + 2 * count)) return;
  std::vector<uint8_t> storage(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = static_cast<WORD>(count);
  std::memcpy(palette->palPalEntry, p.Bytes(2), count * sizeof(PALETTEENTRY));
  AddObject(CreatePalette(palette));
}

void Player::CreatePatternBrush(const Params& p) {
  if (!p.Has(2)) return;
  const auto* info = reinterpret_cast<const BITMAPINFO*>(p.Bytes(2));
  size_t available = p.BytesFrom(2);
  auto layout = ReadDibLayout(info, available, p.Unsigned(1));
  if (!layout || layout->ImageBytes() > available - layout->headerBytes) {
    AddObject(CreateSolidBrush(RGB(0, 0, 0)));  // Keeps the table's numbering.
    return;
  }
  // The pattern becomes a 32 bpp bitmap, which the brush then copies.
  std::unique_ptr<Surface> pixels = DecodeDib(*layout, p.Bytes(2) + layout->headerBytes);
  HDC screen = CreateCompatibleDC(nullptr);
  BITMAPINFO header{};
  header.bmiHeader = {sizeof(BITMAPINFOHEADER), layout->width, -layout->height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr) {
    for (int y = 0; y < layout->height; ++y) {
      std::memcpy(static_cast<uint32_t*>(bits) + static_cast<size_t>(y) * static_cast<size_t>(layout->width),
                  pixels->Row(y), static_cast<size_t>(layout->width) * 4);
    }
    AddObject(::CreatePatternBrush(bitmap));
    DeleteObject(bitmap);
  }
  DeleteDC(screen);
}

void Player::TextOut(const Params& p) {
  if (!p.Has(1)) return;
  size_t length = p.Unsigned(0);
  size_t stringWords = (length + 1) / 2;
  if (!p.Has(1 + stringWords + 2)) return;
  std::string text(reinterpret_cast<const char*>(p.Bytes(1)), length);
  ::TextOutA(m_dc, p.Short(1 + stringWords + 1), p.Short(1 + stringWords), text.data(), static_cast<int>(length));
}

void Player::ExtTextOut(const Params& p) {
  if (!p.Has(4)) return;
  int y = p.Short(0);
  int x = p.Short(1);
  size_t length = p.Unsigned(2);
  UINT options = p.Unsigned(3);
  size_t next = 4;
  RECT rect{};
  bool hasRect = (options & (ETO_OPAQUE | ETO_CLIPPED)) != 0;
  if (hasRect) {
    if (!p.Has(8)) return;
    rect = RECT{p.Short(4), p.Short(5), p.Short(6), p.Short(7)};
    next = 8;
  }
  size_t stringWords = (length + 1) / 2;
  if (!p.Has(next + stringWords)) return;
  std::string text(reinterpret_cast<const char*>(p.Bytes(next)), length);
  std::vector<INT> spacing;
  if (p.Has(next + stringWords + length)) {
    for (size_t i = 0; i < length; ++i) spacing.push_back(p.Short(next + stringWords + i));
  }
  ::ExtTextOutA(m_dc, x, y, options, hasRect ? &rect : nullptr, text.data(), static_cast<UINT>(length),
                spacing.empty() ? nullptr : spacing.data());
}

void Player::PolyPolygon(const Params& p) {
  if (!p.Has(1)) return;
  size_t polygons = p.Unsigned(0);
  if (!p.Has(1 + polygons)) return;
  size_t next = 1 + polygons;
  for (size_t i = 0; i < polygons; ++i) {
    size_t count = p.Unsigned(1 + i);
    std::vector<POINT> points = Points(p, next, count);
    if (points.size() != count) return;
    if (count >= 2) Polygon(m_dc, points.data(), static_cast<int>(count));
    next += 2 * count;
  }
}

void Player::DibBlit(uint16_t function, const Params& p) {
  // Each record's fixed parameters, in the order they are stored (last argument first).
  size_t fixed = function == 0x0940 ? 8 : function == 0x0B41 ? 10 : function == 0x0F43 ? 11 : 9;
  if (!p.Has(fixed)) return;
  bool withoutBitmap = (function == 0x0940 || function == 0x0B41) && p.Words() == fixed + 1;
  if (withoutBitmap) {
    // Without a bitmap the record is a pattern blit; a reserved word sits before the
    // destination.
    size_t d = fixed + 1 - 4;
    PatBlt(m_dc, p.Short(d + 3), p.Short(d + 2), p.Short(d + 1), p.Short(d), p.Long(0));
    return;
  }
  const auto* info = reinterpret_cast<const BITMAPINFO*>(p.Bytes(fixed));
  size_t available = p.BytesFrom(fixed);
  UINT usage = function == 0x0F43 ? p.Unsigned(2) : function == 0x0D33 ? p.Unsigned(0) : DIB_RGB_COLORS;
  auto layout = ReadDibLayout(info, available, usage);
  if (!layout) return;
  const uint8_t* bits = p.Bytes(fixed) + layout->headerBytes;
  size_t bitsAvailable = available - layout->headerBytes;
  // The two blit records count source rows from the top, as a DC holding the bitmap would;
  // StretchDIBits counts them from the bottom of a bottom-up image.
  auto fromBottom = [&](int ySrc, int height) { return layout->topDown ? ySrc : layout->height - ySrc - height; };
  switch (function) {
    case 0x0940:
      if (layout->ImageBytes() > bitsAvailable) return;
      StretchDIBits(m_dc, p.Short(7), p.Short(6), p.Short(5), p.Short(4), p.Short(3), fromBottom(p.Short(2), p.Short(4)),
                    p.Short(5), p.Short(4), bits, info, DIB_RGB_COLORS, p.Long(0));
      return;
    case 0x0B41:
      if (layout->ImageBytes() > bitsAvailable) return;
      StretchDIBits(m_dc, p.Short(9), p.Short(8), p.Short(7), p.Short(6), p.Short(5), fromBottom(p.Short(4), p.Short(2)),
                    p.Short(3), p.Short(2), bits, info, DIB_RGB_COLORS, p.Long(0));
      return;
    case 0x0F43:
      if (layout->ImageBytes() > bitsAvailable) return;
      StretchDIBits(m_dc, p.Short(10), p.Short(9), p.Short(8), p.Short(7), p.Short(6), p.Short(5), p.Short(4),
                    p.Short(3), bits, info, usage, p.Long(0));
      return;
    default: {
      // SetDIBitsToDevice: the bits hold only the scans the record names.
      UINT scans = p.Unsigned(1);
      if (scans == 0 || layout->stride * scans > bitsAvailable) return;
      SetDIBitsToDevice(m_dc, p.Short(8), p.Short(7), static_cast<DWORD>(p.Short(6)), static_cast<DWORD>(p.Short(5)),
                        p.Short(4), p.Short(3), p.Unsigned(2), scans, bits, info, usage);
      return;
    }
  }
}

}  // namespace

bool PlayMetafile(HDC hdc, const MetafileObject& metafile) {
  int saved = SaveDC(hdc);
  if (saved == 0) return false;
  {
    Player player(hdc, metafile);
    player.Play();
  }
  RestoreDC(hdc, saved);
  return true;
}

}  // namespace vel::platform
