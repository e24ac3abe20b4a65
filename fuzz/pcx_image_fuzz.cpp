// Feeds arbitrary bytes to the PCX kind (header, planes, run-length coding, the palettes) and
// draws whatever it accepts.
#include <cstddef>
#include <cstdint>

#include "fuzz/image_fuzz_support.h"
#include "runtime/images/pcx_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vel::images;
  vel::fuzzing::FuzzCanvas();
  std::unique_ptr<Image> image = CreatePcxFromData(ImageOwner{}, data, size, 0);
  vel::fuzzing::DrawEveryWay(image.get());
  return 0;
}
