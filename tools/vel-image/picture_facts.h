#pragma once
// What `vel-image info` says about a picture: its kind, size, bits per pixel and colours, and
// for a GIF its frames, loop count and delays; and the frames `convert --frame` can pick.

#include <cstddef>
#include <string>

#include "runtime/images/image.h"

namespace vel::tools {

/// "key: value" lines for the picture's kind, width, height, bits per pixel and colours; for a
/// GIF also its frames, loop count and each frame's delay in hundredths of a second.
std::string DescribePicture(images::Image& image);

/// Frames of the picture: a GIF's frames, 1 for a still picture.
std::size_t FrameCount(const images::Image& image);

/// Makes a freshly opened picture show frame `frame` (0 first), as it stands after that frame
/// was drawn over the frames before it; false when it has no such frame.
bool ShowFrame(images::Image& image, std::size_t frame);

/// Why a named picture gave no image, when a kind can say (a PCX file's refusal); else empty.
std::string RefusalReason(const std::string& path);

}  // namespace vel::tools
