// Feeds arbitrary bytes to the GIF kind (blocks, colour tables, the code streams of every frame,
// looping) and plays and draws whatever it accepts: every frame twice round, greyed and not.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "fuzz/image_fuzz_support.h"
#include "runtime/images/gif_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vel::images;
  vel::fuzzing::FuzzCanvas();
  std::unique_ptr<GifImage> image = GifImage::FromFileBytes(data, size, 0, false);
  vel::fuzzing::DrawEveryWay(image.get());
  if (image == nullptr) return 0;
  // A looping file wraps for ever: two turns through its frames reach every block's effect and
  // the wrap. Drawing (which decodes the whole canvas again) is kept to a few frames.
  std::size_t advances = std::min<std::size_t>(2 * image->FrameCount() + 2, 64);
  for (std::size_t i = 0; i < advances && image->Advance(); ++i) {
    if (i < 3) vel::fuzzing::DrawEveryWay(image.get());
  }
  vel::fuzzing::DrawEveryWay(image.get());
  return 0;
}
