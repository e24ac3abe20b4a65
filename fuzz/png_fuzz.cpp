// Feeds arbitrary bytes to the PNG reader (PNG icon images, pictures read from disk) at the
// icon limit and at the general one, and checks that whatever decodes stays within the limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/gdi/icon_image.h"
#include "platform/gdi/png_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vel::platform;
  for (int limit : {kMaxIconDimension, 4096}) {
    std::unique_ptr<Surface> surface = DecodePng(data, size, limit);
    if (surface && (surface->Width() > limit || surface->Height() > limit)) std::abort();
  }
  return 0;
}
