// Feeds arbitrary bytes to the bitmap kind (headers, colour tables, bit fields, run-length
// coding, rows cut short) and draws, copies and reduces whatever it accepts.
#include <cstddef>
#include <cstdint>

#include "fuzz/image_fuzz_support.h"
#include "runtime/images/color_reduction.h"
#include "runtime/images/shared_palette.h"
#include "runtime/images/standard_image_kinds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vel::images;
  vel::fuzzing::FuzzCanvas();
  std::unique_ptr<Image> image = CreateBitmapFromData(ImageOwner{}, data, size, image_flags::kKeepCallerBytes);
  if (image == nullptr) return 0;
  vel::fuzzing::DrawEveryWay(image.get());
  // A shared palette takes the table's colours, reducing true-colour pictures first.
  SharedPalette palette;
  image->SetPalette(palette);
  vel::fuzzing::DrawEveryWay(image.get());
  return 0;
}
