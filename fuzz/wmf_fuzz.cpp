// Feeds arbitrary bytes to SetMetaFileBitsEx and plays whatever it accepts into a small
// framebuffer, so the sanitizers see every record size, count and object index the player
// trusts.
#include <cstddef>
#include <cstdint>

#include "platform/gdi/device_context.h"
#include "platform/gdi/font_resolver.h"
#include "win32.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vel::platform;
  static HDC dc = [] {
    PinFontFile("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf");
    auto surface = std::make_shared<Surface>(64, 64);
    return CreateSurfaceDC(surface, POINT{0, 0}, Region(RECT{0, 0, 64, 64}));
  }();
  HMETAFILE metafile = SetMetaFileBitsEx(static_cast<UINT>(size), data);
  if (metafile == nullptr) return 0;
  PlayMetaFile(dc, metafile);
  DeleteMetaFile(metafile);
  return 0;
}
