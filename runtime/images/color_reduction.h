#pragma once
// Reducing a true-colour picture to at most 256 colours with a variance-driven median cut: the
// distinct colours are split into boxes, always splitting the box whose colours vary most along
// one channel at that channel's mean, greys apart from the other colours; each box becomes one
// colour of the table, and each pixel takes the colour of the box it falls in.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "runtime/images/image_storage.h"

namespace vel::images {

/// Reduces the picture of a BMP file with 24 or 32 bits per pixel (uncompressed) to a new BMP
/// file with 8 bits per pixel and a colour table of at most 256 entries. Nothing for other
/// pictures or when memory is short.
std::optional<ImageStorage> ReduceTo256Colors(const std::uint8_t* bmp, std::size_t size);

}  // namespace vel::images
