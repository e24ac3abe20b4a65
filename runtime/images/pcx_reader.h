#pragma once
// Decoding PCX pictures of up to 256 colours into the BMP layout: the 128-byte header, bit
// planes or packed pixels, run-length coded or plain lines, and the 16-colour header palette or
// the 256-colour palette at the end of the file.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "runtime/images/image.h"
#include "runtime/images/image_owner.h"
#include "runtime/images/image_storage.h"

namespace vel::images {

/// What decoding a PCX file gave: the picture in the BMP layout, or the reason it was refused
/// ("Not a PCX file", "Upto 256 colours supported", "Cannot handle V3 pallettes", "Missing
/// pallette marker", "Unable to read pallette"). The reasons are never shown to the user.
struct PcxResult {
  std::optional<ImageStorage> bitmap;
  const char* refusal = nullptr;
};

PcxResult DecodePcx(const std::uint8_t* bytes, std::size_t size);

/// The PCX kind's create-from-data routine: a bitmap image with the kind tag ".pcx".
std::unique_ptr<Image> CreatePcxFromData(const ImageOwner& owner, const std::uint8_t* bytes, std::size_t size,
                                         unsigned flags);

}  // namespace vel::images
