#pragma once
// Decoding JPEG pictures with the JPEG library into the BMP layout: 24-bit rows for colour
// pictures, 8-bit rows with a grey table for greyscale ones. Any error the library reports
// abandons the picture; it never ends the program. Without the library, a JPEG file gives no
// picture.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "runtime/images/image.h"
#include "runtime/images/image_owner.h"
#include "runtime/images/image_storage.h"
#include "win32.h"

namespace vel::images {

/// The picture of a JPEG file in the BMP layout, or nothing when the library cannot decode it
/// or it is larger than the limits allow.
std::optional<ImageStorage> DecodeJpeg(const std::uint8_t* bytes, std::size_t size);

/// The size a JPEG file's header gives (nothing for a header the library refuses).
std::optional<SIZE> JpegSize(const std::uint8_t* bytes, std::size_t size);

/// The JPEG kind's create-from-data routine: a bitmap image with the kind tag ".jpg".
std::unique_ptr<Image> CreateJpegFromData(const ImageOwner& owner, const std::uint8_t* bytes, std::size_t size,
                                          unsigned flags);

}  // namespace vel::images
