#pragma once
// What an image is made for: the window that shows it (its shared palette, the clipboard's
// owner), the device it is drawn on when that is not the screen, the module whose resources
// "~" names refer to, and the size it shows icons at.

#include "win32.h"

namespace vel::images {

struct ImageOwner {
  /// The window showing the image, or null.
  HWND window = nullptr;
  /// The device the owner draws on; null means the screen.
  HDC device = nullptr;
  /// Set for owners that draw at device resolution (report output): natural sizes are then
  /// converted from pixels to device units.
  bool deviceResolution = false;
  /// The module holding the program's resources; null means the program itself.
  HMODULE module = nullptr;
  /// The size in pixels the owner shows icons at, when not the standard icon size: an icon is
  /// then loaded in the image of its resource or file nearest this size. 0 for the standard.
  int iconSize = 0;
};

/// The owner's device's pixels per inch across (LOGPIXELSX) and down (LOGPIXELSY); the
/// screen's when the owner has no device.
POINT OwnerPixelsPerInch(const ImageOwner& owner);

/// The module a "~" name of this owner is looked for in.
HMODULE OwnerResourceModule(const ImageOwner& owner);

/// A natural size in pixels as the owner measures it: unchanged on the screen, scaled by the
/// device's pixels per inch over 75 (truncated) for owners that draw at device resolution.
SIZE ScaleForOwner(const ImageOwner& owner, SIZE pixels);

}  // namespace vel::images
