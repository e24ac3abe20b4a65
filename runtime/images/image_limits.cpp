#include "runtime/images/image_limits.h"

#include <atomic>

namespace vel::images {
namespace {

std::atomic<std::uint64_t> g_pixelLimit{static_cast<std::uint64_t>(kMaxImageDimension) * kMaxImageDimension};

}  // namespace

std::uint64_t DecodedPixelLimit() { return g_pixelLimit.load(std::memory_order_relaxed); }

void SetDecodedPixelLimit(std::uint64_t pixels) { g_pixelLimit.store(pixels, std::memory_order_relaxed); }

bool PictureSizeAllowed(std::int64_t width, std::int64_t height) {
  if (width < 1 || height < 1 || width > kMaxImageDimension || height > kMaxImageDimension) return false;
  return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) <= DecodedPixelLimit();
}

}  // namespace vel::images
