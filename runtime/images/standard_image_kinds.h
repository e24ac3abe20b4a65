#pragma once
// The runtime's image kinds in the order they are tried: icons, metafiles, JPEG, PCX,
// bitmaps and GIF pictures.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "runtime/images/image_registry.h"

namespace vel::images {

/// Registers every kind of the runtime into `registry`, in order.
void RegisterStandardImageKinds(ImageKindRegistry& registry);

/// A registry holding the standard kinds, filled on first use.
const ImageKindRegistry& StandardImageKinds();

/// The bitmap kind's create-from-data routine: at least 59 bytes beginning with "BM".
std::unique_ptr<Image> CreateBitmapFromData(const ImageOwner& owner, const std::uint8_t* bytes, std::size_t size,
                                            unsigned flags);

/// Opens a named image with the standard kinds (see ImageKindRegistry::Open).
std::unique_ptr<Image> OpenImage(const ImageOwner& owner, std::string_view name, unsigned flags = 0);

/// Makes an image from bytes with the standard kinds (see ImageKindRegistry::CreateFromData).
std::unique_ptr<Image> CreateImageFromData(const ImageOwner& owner, const std::uint8_t* bytes, std::size_t size,
                                           unsigned flags = 0);

}  // namespace vel::images
