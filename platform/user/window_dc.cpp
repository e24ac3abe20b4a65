// Window device contexts: gdi32's side of painting, plugged into the window manager. Every
// window draws into its top-level window's framebuffer, at its own origin, limited to the
// part of it that shows: inside its ancestors' client areas, less the children it clips
// (WS_CLIPCHILDREN) and the siblings above it that it clips (WS_CLIPSIBLINGS).

#include "platform/user/window_dc.h"

#include <algorithm>
#include <vector>

#include "platform/display/display_backend.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/png_codec.h"
#include "platform/gdi/window_framebuffers.h"
#include "platform/user/paint_state.h"

namespace vel::platform {
namespace {

void Subtract(Region& region, const RECT& rect) { region = Region::Combine(region, Region(rect), RGN_DIFF); }

// Removes the visible siblings stacked above `window` (children lists run topmost first).
void SubtractSiblingsAbove(Region& region, const Window& window) {
  if (window.parent == nullptr) return;
  for (const Window* sibling : window.parent->children) {
    if (sibling == &window) return;
    if (sibling->style & WS_VISIBLE) Subtract(region, ScreenRect(*sibling));
  }
}

class GdiWindowDcProvider final : public WindowDcProvider {
 public:
  HDC AcquireWindowDc(HWND handle, bool wholeWindow, const RECT* clip) override {
    TreeLock lock;
    Window* window = LookupWindow(handle);
    if (window == nullptr) return nullptr;
    if (window == &Desktop()) {
      // The screen's DC answers questions about the display (LOGPIXELSX/Y, its size) and
      // serves as a reference for compatible DCs and fonts; drawing on it shows nowhere, since
      // nothing shows outside the top-level windows.
      return CreateSurfaceDC(std::make_shared<Surface>(1, 1), POINT{0, 0}, Region());
    }
    Window* top = TopLevelOf(window);
    RECT topRect = ScreenRect(*top);
    auto framebuffer = TopLevelFramebuffer(top->handle, topRect.right - topRect.left, topRect.bottom - topRect.top);
    RECT area = wholeWindow ? ScreenRect(*window) : ScreenClientRect(*window);
    Region visible(area);
    if (!IsShowing(*window)) visible = Region();
    for (Window* ancestor = window; ancestor != nullptr && ancestor != top; ancestor = ancestor->parent) {
      if (ancestor->parent != nullptr && ancestor->parent != &Desktop()) {
        visible.IntersectWith(ScreenClientRect(*ancestor->parent));
      }
      if (ancestor->style & WS_CLIPSIBLINGS) SubtractSiblingsAbove(visible, *ancestor);
    }
    if (window->style & WS_CLIPCHILDREN) {
      for (const Window* child : window->children) {
        if (child->style & WS_VISIBLE) Subtract(visible, ScreenRect(*child));
      }
    }
    POINT origin{area.left - topRect.left, area.top - topRect.top};
    visible.Offset(-topRect.left, -topRect.top);
    if (clip != nullptr) {
      visible.IntersectWith(RECT{clip->left + origin.x, clip->top + origin.y, clip->right + origin.x,
                                 clip->bottom + origin.y});
    }
    return CreateSurfaceDC(framebuffer, origin, std::move(visible));
  }

  void ReleaseWindowDc(HWND, HDC dc) override { DeleteDC(dc); }

  void FillBackground(HDC dc, const RECT& rect, HBRUSH brush) override { FillRect(dc, &rect, brush); }
};

}  // namespace

WindowDcProvider& GdiWindowDcs() {
  static GdiWindowDcProvider provider;
  return provider;
}

std::unique_ptr<Surface> WindowPixels(HWND handle) {
  std::shared_ptr<Surface> framebuffer;
  RECT area{};
  {
    TreeLock lock;
    Window* window = LookupWindow(handle);
    if (window == nullptr || window == &Desktop()) return nullptr;
    Window* top = TopLevelOf(window);
    framebuffer = FindTopLevelFramebuffer(top->handle);
    RECT topRect = ScreenRect(*top);
    area = ScreenRect(*window);
    OffsetRect(&area, -topRect.left, -topRect.top);
  }
  if (!framebuffer) return nullptr;
  return CropSurface(*framebuffer, area);
}

bool WriteScreenPng(const std::string& path) {
  SIZE screenSize = CurrentDisplay().ScreenSize();
  Surface screen(std::max<LONG>(1, screenSize.cx), std::max<LONG>(1, screenSize.cy));
  struct Shown {
    std::shared_ptr<Surface> pixels;
    RECT rect;
  };
  std::vector<Shown> shown;
  {
    TreeLock lock;
    // The desktop's children run topmost first; the screen is painted from the bottom up.
    for (auto it = Desktop().children.rbegin(); it != Desktop().children.rend(); ++it) {
      const Window* window = *it;
      if (!(window->style & WS_VISIBLE)) continue;
      if (auto framebuffer = FindTopLevelFramebuffer(window->handle)) shown.push_back({framebuffer, ScreenRect(*window)});
    }
  }
  for (const Shown& window : shown) {
    for (int y = 0; y < window.pixels->Height(); ++y) {
      for (int x = 0; x < window.pixels->Width(); ++x) {
        screen.SetPixel(window.rect.left + x, window.rect.top + y, window.pixels->Pixel(x, y));
      }
    }
  }
  return WritePngFile(screen, path);
}

bool SnapshotWindow(HWND handle, const std::string& path) {
  std::unique_ptr<Surface> pixels = WindowPixels(handle);
  return pixels && WritePngFile(*pixels, path);
}

}  // namespace vel::platform
