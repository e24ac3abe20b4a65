#pragma once
// The icon image: an icon handle, opened by name (stock icons, the program's icon resources,
// icon files with an optional index in square brackets), drawn at its natural size.

#include <memory>
#include <string_view>

#include "runtime/images/image.h"
#include "runtime/images/image_owner.h"

namespace vel::images {

class IconImage final : public Image {
 public:
  /// `icon` may be null (a size-only image keeps none); `owned` says whether the image must
  /// destroy it.
  IconImage(HICON icon, bool owned, unsigned flags);
  ~IconImage() override;

  /// Icons are drawn at their natural size at (x, y), whatever the rectangle's size.
  void Draw(HDC dc, int x, int y, int width, int height) override;
  /// Draws the icon scaled into the rectangle, for a place that sizes its picture itself.
  void DrawScaled(HDC dc, int x, int y, int width, int height);

  HICON Handle() const { return m_icon; }
  /// The size of the icon's own image, which differs from the natural (standard) size for an
  /// icon loaded near another size; the natural size when there is no icon.
  SIZE PixelSize() const { return m_pixelSize; }

 private:
  HICON m_icon;
  bool m_owned;
  SIZE m_pixelSize;
};

/// The icon kind's open-by-name routine: 0xFF 0x01 n names stock icon n - 1, 0xFF 0x02 n the
/// program's icon resource n - 1, "!ICON:" introduces a name given as an icon's whatever its
/// extension; a name from the program's resources names an icon resource (converted as
/// resource names are); any other name is an icon file, with an optional "[index]". An owner
/// with an icon size gets the icon's image nearest that size.
std::unique_ptr<Image> OpenIconByName(const ImageOwner& owner, std::string_view name, bool fromProgram,
                                      unsigned flags);

}  // namespace vel::images
