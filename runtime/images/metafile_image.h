#pragma once
// The metafile image: a placeable metafile (a 22-byte header with the picture's bounding box
// and units per inch, then the metafile records), drawn by mapping its bounding box onto the
// destination rectangle.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "runtime/images/image.h"
#include "runtime/images/image_owner.h"

namespace vel::images {

/// Bytes of the placeable header in front of the metafile records.
constexpr std::size_t kPlaceableHeaderSize = 22;

class MetafileImage final : public Image {
 public:
  MetafileImage(HMETAFILE metafile, RECT bounds, unsigned flags);
  ~MetafileImage() override;

  bool MeasuredOnDevice() const override { return true; }
  void Draw(HDC dc, int x, int y, int width, int height) override;

  HMETAFILE Handle() const { return m_metafile; }
  /// The bounding box from the placeable header, in the metafile's own units.
  RECT Bounds() const { return m_bounds; }

 private:
  HMETAFILE m_metafile;
  RECT m_bounds;
};

/// The metafile kind's create-from-data routine. Its natural size is measured on the owner's
/// device (or the screen), so it is already in the owner's units.
std::unique_ptr<Image> CreateMetafileFromData(const ImageOwner& owner, const std::uint8_t* bytes, std::size_t size,
                                              unsigned flags);

}  // namespace vel::images
