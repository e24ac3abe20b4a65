// Feeds arbitrary bytes to the metafile kind (the placeable header, the size it claims, the
// records) and draws whatever it accepts mapped onto small and large rectangles.
#include <cstddef>
#include <cstdint>

#include "fuzz/image_fuzz_support.h"
#include "platform/gdi/font_resolver.h"
#include "runtime/images/metafile_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vel::images;
  static bool pinned = [] {
    vel::platform::PinFontFile("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf");
    return true;
  }();
  (void)pinned;
  vel::fuzzing::FuzzCanvas();
  std::unique_ptr<Image> image = CreateMetafileFromData(ImageOwner{}, data, size, 0);
  if (image == nullptr) return 0;
  HDC dc = vel::fuzzing::FuzzCanvas();
  image->Draw(dc, 0, 0, 64, 64);
  image->Draw(dc, -10, 7, 3, 200);
  return 0;
}
