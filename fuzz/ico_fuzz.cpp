// Feeds arbitrary bytes to the icon and cursor readers as a whole ICO/CUR file, as one
// resource image, and as a group directory, and draws whatever decodes, so the sanitizers see
// every offset, size and count the readers trust.
#include <cstddef>
#include <cstdint>

#include "platform/gdi/device_context.h"
#include "platform/gdi/icon_directory.h"
#include "platform/gdi/icon_object.h"
#include "win32.h"

namespace {

void DrawAndDestroy(HDC dc, HICON icon) {
  if (icon == nullptr) return;
  DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  ICONINFO info{};
  if (GetIconInfo(icon, &info)) {
    HICON rebuilt = CreateIconIndirect(&info);
    DestroyIcon(rebuilt);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
  }
  DestroyIcon(icon);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vel::platform;
  static HDC dc = [] {
    auto surface = std::make_shared<Surface>(48, 48);
    return CreateSurfaceDC(surface, POINT{0, 0}, Region(RECT{0, 0, 48, 48}));
  }();
  if (auto file = ParseIconFile(data, size)) {
    for (const IconEntry& entry : file->entries) {
      DrawAndDestroy(dc, IconFromResourceBits(data + entry.offset, entry.bytes, true));
    }
    BestIconEntry(*file, 32, 32);
  }
  DrawAndDestroy(dc, IconFromResourceBits(data, size, true));
  DrawAndDestroy(dc, IconFromResourceBits(data, size, false));
  if (auto group = ParseIconGroup(data, size)) BestIconEntry(*group, 16, 16);
  return 0;
}
