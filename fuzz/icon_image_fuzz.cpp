// Feeds arbitrary bytes to the icon kind as an icon file on disk (the first byte picks the index
// asked for in square brackets and the icon size the owner asks for, which makes the file's
// directory be read to choose an image), and draws whatever it opens.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>

#include "fuzz/image_fuzz_support.h"
#include "runtime/images/icon_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vel::images;
  static const std::string path = "/dev/shm/vel_icon_fuzz_" + std::to_string(getpid()) + ".ico";
  vel::fuzzing::FuzzCanvas();
  if (size == 0) return 0;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data + 1, 1, size - 1, file);
  std::fclose(file);
  std::string name = data[0] % 2 == 0 ? path : path + "[" + std::to_string(data[0] % 4) + "]";
  static constexpr int kIconSizes[] = {0, 8, 16, 24, 48, 256, 1};
  ImageOwner owner;
  owner.iconSize = kIconSizes[(data[0] / 4) % std::size(kIconSizes)];
  std::unique_ptr<Image> image = OpenIconByName(owner, name, false, 0);
  vel::fuzzing::DrawEveryWay(image.get());
  std::remove(path.c_str());
  return 0;
}
