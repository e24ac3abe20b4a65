#include "platform/gdi/window_framebuffers.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/gdi/region.h"

namespace vel::platform {
namespace {

std::mutex g_mutex;

std::map<HWND, std::shared_ptr<Surface>>& Framebuffers() {
  static auto* framebuffers = new std::map<HWND, std::shared_ptr<Surface>>();
  return *framebuffers;
}

}  // namespace

std::shared_ptr<Surface> TopLevelFramebuffer(HWND topLevel, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  std::lock_guard lock(g_mutex);
  std::shared_ptr<Surface>& slot = Framebuffers()[topLevel];
  if (slot && slot->Width() == width && slot->Height() == height) return slot;
  auto resized = std::make_shared<Surface>(width, height);
  if (slot) {
    // Keep what is already drawn where it still fits, so a resize repaints only what is new.
    int rows = std::min(height, slot->Height());
    int columns = std::min(width, slot->Width());
    for (int y = 0; y < rows; ++y) std::copy_n(slot->Row(y), columns, resized->Row(y));
  }
  slot = std::move(resized);
  return slot;
}

std::shared_ptr<Surface> FindTopLevelFramebuffer(HWND topLevel) {
  std::lock_guard lock(g_mutex);
  auto it = Framebuffers().find(topLevel);
  return it == Framebuffers().end() ? nullptr : it->second;
}

void DropTopLevelFramebuffer(HWND topLevel) {
  std::lock_guard lock(g_mutex);
  Framebuffers().erase(topLevel);
}

std::unique_ptr<Surface> CropSurface(const Surface& surface, const RECT& area) {
  RECT part = IntersectRects(NormalisedRect(area), surface.Bounds());
  auto copy = std::make_unique<Surface>(part.right - part.left, part.bottom - part.top);
  for (int y = 0; y < copy->Height(); ++y) {
    std::copy_n(surface.Row(part.top + y) + part.left, copy->Width(), copy->Row(y));
  }
  return copy;
}

}  // namespace vel::platform
