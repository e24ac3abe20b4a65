#pragma once
// The objects behind GDI handles and the table that hands them out. A handle is the address
// of its object, but every call looks it up in the table first, so a stale or foreign handle
// fails cleanly instead of being followed. Objects are shared: a DC keeps what is selected
// into it alive, so deleting a selected object only takes its handle away.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/region.h"
#include "platform/gdi/surface.h"
#include "win32.h"

namespace vel::platform {

class GdiObject {
 public:
  virtual ~GdiObject() = default;
  /// The OBJ_* type GetObjectType reports.
  virtual DWORD Type() const = 0;
  /// Stock objects survive DeleteObject.
  bool m_stock = false;
};

class PenObject final : public GdiObject {
 public:
  explicit PenObject(const LOGPEN& pen) : m_pen(pen) {}
  DWORD Type() const override { return OBJ_PEN; }
  LOGPEN m_pen;
};

class BrushObject final : public GdiObject {
 public:
  DWORD Type() const override { return OBJ_BRUSH; }
  UINT m_style = BS_SOLID;
  COLORREF m_color = 0;
  int m_hatch = 0;
  /// The pattern of a BS_PATTERN brush, copied when the brush is made.
  std::shared_ptr<Surface> m_pattern;
  /// A monochrome pattern draws its 0 bits in the text colour and 1 bits in the background.
  bool m_monoPattern = false;
};

class FontObject final : public GdiObject {
 public:
  explicit FontObject(const LOGFONTA& font) : m_font(font) {}
  DWORD Type() const override { return OBJ_FONT; }
  LOGFONTA m_font;
};

class RegionObject final : public GdiObject {
 public:
  DWORD Type() const override { return OBJ_REGION; }
  Region m_region;
};

class PaletteObject final : public GdiObject {
 public:
  DWORD Type() const override { return OBJ_PAL; }
  std::vector<PALETTEENTRY> m_entries;
};

class DeviceContext;

class BitmapObject final : public GdiObject {
 public:
  BitmapObject() = default;
  ~BitmapObject() override;
  BitmapObject(const BitmapObject&) = delete;
  BitmapObject& operator=(const BitmapObject&) = delete;
  DWORD Type() const override { return OBJ_BITMAP; }
  /// What drawing reads and writes.
  std::shared_ptr<Surface> m_surface;
  /// 1 for a monochrome bitmap (its pixels are only black or white), 32 otherwise.
  int m_bitsPixel = 32;
  /// Set for a DIB section: its bits are the caller-visible memory the surface borrows.
  bool m_isDibSection = false;
  BITMAPINFOHEADER m_dibHeader{};
  /// The section's header, masks and colour table as given (colours resolved).
  std::vector<uint8_t> m_dibInfo;
  std::vector<uint8_t> m_dibBits;
  /// Set when GDI drew into a DIB section whose bits hold another format than the surface.
  bool m_drawnSinceFlush = false;
  /// The DC this bitmap is selected into, if any (a bitmap can be in one DC at a time).
  DeviceContext* m_selectedInto = nullptr;
};

/// Registers an object and returns its handle.
HANDLE RegisterObject(std::shared_ptr<GdiObject> object);
/// The object behind a handle, or null for an unknown handle.
std::shared_ptr<GdiObject> LookupObject(HANDLE handle);
/// Removes a handle; false when it was unknown.
bool UnregisterObject(HANDLE handle);

/// The object behind a handle if it has type T.
template <typename T>
std::shared_ptr<T> Lookup(HANDLE handle) {
  return std::dynamic_pointer_cast<T>(LookupObject(handle));
}

/// The handle of a registered object (its address).
inline HANDLE HandleOf(const GdiObject* object) { return const_cast<GdiObject*>(object); }

}  // namespace vel::platform
