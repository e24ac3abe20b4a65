#pragma once
// What the image tests share: the test pictures and their reference decodes, bitmaps built
// byte by byte, and drawing an image to read its pixels back.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/surface.h"
#include "runtime/images/image.h"
#include "win32.h"

namespace vel::images::testing {

/// The path of a file in tests/data/images.
std::string PicturePath(const std::string& name);
/// A file's bytes (empty when it cannot be read).
std::vector<std::uint8_t> ReadBytes(const std::string& path);

/// A BMP file: file header, 40-byte information header, `table` (as 0xRRGGBB) and `rows`.
std::vector<std::uint8_t> BmpFile(int width, int height, int bitCount, DWORD compression,
                                  const std::vector<std::uint32_t>& table, const std::vector<std::uint8_t>& rows);

/// The picture an image draws at its natural size over `background` (a COLORREF).
std::unique_ptr<platform::Surface> DrawnPixels(Image& image, COLORREF background = RGB(255, 0, 255));

/// Compares drawn pixels with a reference decode: opaque reference pixels must match exactly,
/// transparent ones must show `background`. Empty when they match, else where they differ.
std::string CompareWithReference(const platform::Surface& drawn, const platform::Surface& reference,
                                 COLORREF background = RGB(255, 0, 255));

/// 0xRRGGBB of a surface pixel.
inline std::uint32_t Rgb(const platform::Surface& surface, int x, int y) { return surface.Pixel(x, y) & 0xFFFFFF; }

}  // namespace vel::images::testing
