// Feeds arbitrary bytes to the GIF kind (blocks, colour tables, the code streams of every frame,
// looping) and plays and draws whatever it accepts: every frame twice round, then the canvas
// drawn, greyed and not, with its transparency.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "fuzz/image_fuzz_support.h"
#include "runtime/images/gif_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vel::images;
  HDC canvas = vel::fuzzing::FuzzCanvas();
  // Canvases of up to 128 x 128 pixels keep each run short while frames can still fill the
  // 4096-code table.
  SetDecodedPixelLimit(1u << 14);
  std::unique_ptr<GifImage> image = GifImage::FromFileBytes(data, size, 0, false);
  if (image == nullptr) return 0;
  // A looping file wraps for ever: two turns through its frames reach every block's effect and
  // the wrap.
  std::size_t advances = std::min<std::size_t>(2 * image->FrameCount() + 2, 64);
  for (std::size_t i = 0; i < advances && image->Advance(); ++i) {
  }
  // Drawing decodes the whole canvas again: every way for small canvases, once for the others.
  SIZE natural = image->NaturalSize();
  if (natural.cx * natural.cy <= 1024) {
    vel::fuzzing::DrawEveryWay(image.get());
  } else {
    image->Draw(canvas, 2, 2, 9, 7);
  }
  return 0;
}
