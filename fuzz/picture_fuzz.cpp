// Compiles arbitrary picture texts and pushes arbitrary values through them both ways: every
// result must stay within the picture's width and the deformat buffer, and no input may read
// or write outside its bounds.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/values/picture_compile.h"
#include "runtime/values/picture_deformat.h"
#include "runtime/values/picture_format.h"

namespace {

using namespace vel::values;

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte says how much of the rest is the picture; the remainder is the value.
  const std::size_t pictureLength = data[0] % 120 < size - 1 ? data[0] % 120 : size - 1;
  const std::string picture(reinterpret_cast<const char*>(data + 1), pictureLength);
  const char* value = reinterpret_cast<const char*>(data + 1 + pictureLength);
  const std::size_t valueLength = size - 1 - pictureLength;

  CompiledPicture compiled;
  CompilePicture(picture.c_str(), compiled);
  const std::size_t width = static_cast<std::size_t>(compiled.Width());
  Require(compiled.PositionCount() <= kMaxPicturePositions || compiled.Class() == PictureClass::String);
  Require(PictureBufferSize(picture.c_str()) == (width == 0 ? 0
                                                 : compiled.Class() == PictureClass::String ? 2
                                                 : static_cast<int>(width) * 2 + 2));

  char out[256];
  Require(FormatWithPicture(compiled, value, valueLength, out, sizeof out) == width);
  // A short buffer is never overrun.
  char small[5];
  Require(FormatWithPicture(compiled, value, valueLength, small, sizeof small) == (width < 5 ? width : 5));

  int32_t number = 0;
  double real = 0;
  std::memcpy(&number, data + 1 + pictureLength, valueLength < sizeof number ? valueLength : sizeof number);
  std::memcpy(&real, data + 1 + pictureLength, valueLength < sizeof real ? valueLength : sizeof real);
  Require(FormatNumber(compiled, real, out, sizeof out) == width);
  Require(FormatNumber(compiled, number, out, sizeof out) == width);
  Require(FormatDate(compiled, number, out, sizeof out) == width);
  Require(FormatTime(compiled, number, out, sizeof out) == width);

  char result[kDeformatBufferSize];
  Require(DeformatWithPicture(compiled, value, valueLength, result, sizeof result) <= sizeof result);
  // What formatting shows can always be read back.
  const std::size_t shown = FormatWithPicture(compiled, value, valueLength, out, sizeof out);
  Require(DeformatWithPicture(compiled, out, shown, result, sizeof result) <= sizeof result);
  Require(DeformatWithPicture(compiled, value, valueLength, result, 3) <= 3);
  return 0;
}
