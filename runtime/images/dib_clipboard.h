#pragma once
// Placing a picture on the clipboard as a packed DIB (CF_DIB), as bitmaps and GIF canvases copy
// themselves.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "win32.h"

namespace vel::images {

/// Makes a moveable global block of `size` bytes, lets `write` fill it, and places it on the
/// clipboard as CF_DIB after emptying it. Nothing happens when memory is short or the clipboard
/// cannot be opened (the block is then freed).
void PlaceDibOnClipboard(HWND owner, std::size_t size, const std::function<void(std::uint8_t*)>& write);

}  // namespace vel::images
