#include "runtime/images/image_owner.h"

namespace vel::images {
namespace {

// Pictures measured in pixels are taken to be at this many pixels per inch when they are
// converted to the units of a device that draws at its own resolution.
constexpr int kPictureDotsPerInch = 75;

}  // namespace

POINT OwnerPixelsPerInch(const ImageOwner& owner) {
  if (owner.device != nullptr) {
    return POINT{GetDeviceCaps(owner.device, LOGPIXELSX), GetDeviceCaps(owner.device, LOGPIXELSY)};
  }
  HDC screen = GetDC(nullptr);
  POINT ppi{GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
  ReleaseDC(nullptr, screen);
  return ppi;
}

HMODULE OwnerResourceModule(const ImageOwner& owner) {
  return owner.module != nullptr ? owner.module : GetModuleHandleA(nullptr);
}

SIZE ScaleForOwner(const ImageOwner& owner, SIZE pixels) {
  if (!owner.deviceResolution) return pixels;
  POINT ppi = OwnerPixelsPerInch(owner);
  // Multiplying first keeps the fraction of ppi / 75 that truncating it first would lose.
  return SIZE{static_cast<LONG>(static_cast<long long>(pixels.cx) * ppi.x / kPictureDotsPerInch),
              static_cast<LONG>(static_cast<long long>(pixels.cy) * ppi.y / kPictureDotsPerInch)};
}

}  // namespace vel::images
