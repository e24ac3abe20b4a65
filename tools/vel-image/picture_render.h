#pragma once
// Drawing an image object at its natural size into memory, as a control would draw it, with
// the transparency it leaves: the picture is drawn over black and over white, and whatever
// shows the background through is transparent.

#include <memory>
#include <optional>

#include "platform/gdi/surface.h"
#include "runtime/images/image.h"

namespace vel::tools {

/// The drawn picture: 0xAARRGGBB pixels (alpha 255 where the picture covers the background).
/// Nothing for an image without a size.
std::unique_ptr<platform::Surface> RenderPicture(images::Image& image);

/// The picture reduced to 256 colours by the runtime's reduction (alpha kept); nothing when
/// the reduction fails.
std::unique_ptr<platform::Surface> ReduceRendered(const platform::Surface& picture);

/// True when some pixel is not fully opaque.
bool HasTransparency(const platform::Surface& picture);

}  // namespace vel::tools
