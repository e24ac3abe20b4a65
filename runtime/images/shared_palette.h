#pragma once
// The palette a window can share among the pictures it shows: the images shown in the window
// add their colours to it (up to 256), and the window realises it when it paints. The window
// keeps it as a window property.

#include <cstddef>
#include <vector>

#include "win32.h"

namespace vel::images {

class Image;

class SharedPalette {
 public:
  /// Most colours a palette holds.
  static constexpr std::size_t kMaxEntries = 256;

  SharedPalette() = default;
  ~SharedPalette();
  SharedPalette(const SharedPalette&) = delete;
  SharedPalette& operator=(const SharedPalette&) = delete;

  /// Adds the colours of a colour table that the palette does not hold yet, while there is
  /// room; answers how many were added.
  std::size_t AddColors(const RGBQUAD* colors, std::size_t count);
  const std::vector<PALETTEENTRY>& Entries() const { return m_entries; }
  /// The palette as a GDI object (made again after colours were added); null while empty.
  HPALETTE Handle();

 private:
  std::vector<PALETTEENTRY> m_entries;
  HPALETTE m_handle = nullptr;
  bool m_changed = false;
};

/// The name of the window property that holds a window's shared palette.
constexpr char kSharedPaletteProperty[] = "VelSharedPalette";

/// The shared palette of a window, or null when it has none.
SharedPalette* WindowSharedPalette(HWND window);
/// Gives a window a shared palette of its own (the one it has, if any); null when the window
/// cannot take it.
SharedPalette* CreateWindowSharedPalette(HWND window);
/// Removes and destroys a window's shared palette (when it closes).
void DestroyWindowSharedPalette(HWND window);

/// Gives an image shown in `window` the shared palette of that window or of the first window
/// above it that has one; nothing when none has.
void ShareWindowPalette(Image& image, HWND window);

}  // namespace vel::images
