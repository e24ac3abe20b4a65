#pragma once
// A device context: the drawing state (selected objects, colours, modes, mapping, clipping,
// current position) over a target surface, and its SaveDC stack. A memory DC draws into the
// bitmap selected into it; a surface DC (a window's) draws into a borrowed framebuffer at an
// origin, limited to a visible region.

#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/gdi_object.h"

namespace vel::platform {

struct DcState {
  std::shared_ptr<PenObject> pen;
  std::shared_ptr<BrushObject> brush;
  std::shared_ptr<FontObject> font;
  std::shared_ptr<BitmapObject> bitmap;
  std::shared_ptr<PaletteObject> palette;
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  int polyFillMode = ALTERNATE;
  int stretchMode = BLACKONWHITE;
  UINT textAlign = TA_LEFT | TA_TOP;
  int mapMode = MM_TEXT;
  POINT windowOrg{0, 0};
  SIZE windowExt{1, 1};
  POINT viewportOrg{0, 0};
  SIZE viewportExt{1, 1};
  POINT position{0, 0};
  POINT brushOrg{0, 0};
  /// The clip region in device coordinates; empty optional means no clipping beyond the target.
  std::optional<Region> clip;
};

class DeviceContext final : public GdiObject {
 public:
  /// A memory DC; its bitmap starts as the stock 1x1 monochrome bitmap.
  DeviceContext();
  /// A DC over someone else's framebuffer, drawing at `origin` within `visible` (surface
  /// coordinates). The surface must outlive the DC or be shared with it.
  DeviceContext(std::shared_ptr<Surface> surface, POINT origin, Region visible);
  ~DeviceContext() override;
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  /// Selects a bitmap into a memory DC; false when it is already in another DC.
  bool SelectBitmap(std::shared_ptr<BitmapObject> bitmap);
  /// Pushes the state for SaveDC; returns the new depth.
  int Save();
  /// Pops to a saved state (negative = relative to the top); false when there is none.
  bool Restore(int savedIndex);

  DWORD Type() const override { return m_surface ? OBJ_DC : OBJ_MEMDC; }

  /// The surface, for reading.
  Surface& Target();
  /// The surface, for drawing: a DIB section of fewer than 32 bits per pixel is marked so its
  /// bits are brought up to date at the next flush point.
  Surface& DrawTarget();
  /// True when the target is a monochrome bitmap.
  bool IsMonochrome() const;
  /// Where the clipped drawing may go, in surface coordinates.
  const Region& EffectiveClip();
  /// Forgets the cached clip after the clip, visible region or bitmap changed.
  void InvalidateClip() { m_clipValid = false; }

  /// Logical to device coordinates (device = the DC's own pixel grid, before the origin).
  POINT ToDevice(int x, int y) const;
  /// Device to logical coordinates.
  POINT ToLogical(int x, int y) const;
  /// Logical to surface coordinates.
  POINT ToSurface(int x, int y) const;
  /// A logical rectangle in surface coordinates, normalised.
  RECT RectToSurface(const RECT& logical) const;
  /// The device length of a logical width / height (absolute value).
  int ScaleWidth(int logical) const;
  int ScaleHeight(int logical) const;
  /// The origin of the DC within its surface.
  POINT Origin() const { return m_origin; }
  /// Replaces the visible region (surface coordinates) of a surface DC.
  void SetVisibleRegion(Region visible);

  /// A COLORREF with PALETTEINDEX/PALETTERGB resolved against the selected palette, mapped to
  /// black or white on a monochrome target.
  uint32_t PixelFor(COLORREF color) const;

  DcState m_state;
  std::vector<DcState> m_saved;

  /// The font instance last resolved for this DC, with what it was resolved from, so that
  /// repeated text calls skip the lookup. Kept by FontForDc. A pinned font file changes
  /// resolution only in tests, which select fonts afresh.
  struct FontCache {
    const FontObject* font = nullptr;
    int height = 0;
    int width = 0;
    bool monochrome = false;
    std::shared_ptr<class FontInstance> instance;
    /// Keeps the font object alive so its address cannot be reused by another font.
    std::shared_ptr<FontObject> fontHolder;
  };
  mutable FontCache m_fontCache;

 private:
  std::shared_ptr<Surface> m_surface;
  POINT m_origin{0, 0};
  Region m_visible;
  Region m_clipCache;
  bool m_clipValid = false;
};

/// The DC behind a handle, or null.
std::shared_ptr<DeviceContext> LookupDc(HDC hdc);

/// Makes a DC over a framebuffer (for window DCs and snapshots) and returns its handle.
HDC CreateSurfaceDC(std::shared_ptr<Surface> surface, POINT origin, Region visible);

/// Resolves PALETTEINDEX / PALETTERGB colours against a palette (null = the default palette).
COLORREF ResolveColor(const PaletteObject* palette, COLORREF color);

}  // namespace vel::platform
