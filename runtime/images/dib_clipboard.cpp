#include "runtime/images/dib_clipboard.h"

namespace vel::images {

void PlaceDibOnClipboard(HWND owner, std::size_t size, const std::function<void(std::uint8_t*)>& write) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  auto* out = block != nullptr ? static_cast<std::uint8_t*>(GlobalLock(block)) : nullptr;
  if (out == nullptr) {
    if (block != nullptr) GlobalFree(block);
    return;
  }
  write(out);
  GlobalUnlock(block);
  if (!OpenClipboard(owner)) {
    GlobalFree(block);
    return;
  }
  EmptyClipboard();
  // The clipboard owns the block once it takes it.
  if (SetClipboardData(CF_DIB, block) == nullptr) GlobalFree(block);
  CloseClipboard();
}

}  // namespace vel::images
