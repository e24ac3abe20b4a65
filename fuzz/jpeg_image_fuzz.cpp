// Feeds arbitrary bytes to the JPEG kind, through the JPEG library and its error exit, and
// draws whatever it decodes; size-only opening reads the header alone.
#include <cstddef>
#include <cstdint>

#include "fuzz/image_fuzz_support.h"
#include "runtime/images/jpeg_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vel::images;
  vel::fuzzing::FuzzCanvas();
  std::unique_ptr<Image> sizeOnly = CreateJpegFromData(ImageOwner{}, data, size, image_flags::kSizeOnly);
  std::unique_ptr<Image> image = CreateJpegFromData(ImageOwner{}, data, size, 0);
  vel::fuzzing::DrawEveryWay(image.get());
  return 0;
}
