#pragma once
// What `vel-image info` says about a picture: its kind, size, bits per pixel and colours.

#include <string>

#include "runtime/images/image.h"

namespace vel::tools {

/// "key: value" lines for the picture's kind, width, height, bits per pixel and colours.
std::string DescribePicture(images::Image& image);

/// Why a named picture gave no image, when a kind can say (a PCX file's refusal); else empty.
std::string RefusalReason(const std::string& path);

}  // namespace vel::tools
