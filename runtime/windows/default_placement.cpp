#include "runtime/windows/default_placement.h"

#include <algorithm>
#include <climits>

namespace vel::windows {
namespace {

// Smallest client area a window without a size gets, in pixels: room for a caption's buttons
// and a few lines.
constexpr int kMinimumClientWidth = 160;
constexpr int kMinimumClientHeight = 60;
// The cascade of windows without a position, as the platform places overlapped windows.
constexpr int kCascadeStart = 20;
constexpr int kCascadeStep = 26;
constexpr int kCascadeSteps = 8;

int g_cascade = 0;

struct Extent {
  int right = 0;
  int bottom = 0;
  int left = INT_MAX;
  int top = INT_MAX;

  void Add(const Rect& at, const UnitConverter& converter) {
    if (at.x == kNotGiven || at.y == kNotGiven) return;
    int x = converter.ToPixelsX(at.x);
    int y = converter.ToPixelsY(at.y);
    int width = at.width == kNotGiven ? 0 : std::max(0, converter.ToPixelsX(at.width));
    int height = at.height == kNotGiven ? 0 : std::max(0, converter.ToPixelsY(at.height));
    right = std::max(right, x + width);
    bottom = std::max(bottom, y + height);
    left = std::min(left, std::max(0, x));
    top = std::min(top, std::max(0, y));
  }
};

}  // namespace

SIZE ClientSizeForContents(const DefinitionView& view, const Record& window, const UnitConverter& converter) {
  Extent extent;
  for (const Record& control : ReadChain(view, window.firstChild)) extent.Add(control.at, converter);
  int toolbarHeight = 0;
  if (std::optional<Record> toolbar = window.toolBar != 0 ? ReadRecord(view, window.toolBar) : std::nullopt) {
    if (toolbar->at.width != kNotGiven)
      extent.right = std::max(extent.right, converter.ToPixelsX(toolbar->at.width));
    if (toolbar->at.height != kNotGiven) toolbarHeight = std::max(0, converter.ToPixelsY(toolbar->at.height));
  }
  int marginX = extent.left == INT_MAX ? 0 : extent.left;
  int marginY = extent.top == INT_MAX ? 0 : extent.top;
  return SIZE{std::max(kMinimumClientWidth, extent.right + marginX),
              std::max(kMinimumClientHeight, extent.bottom + marginY + toolbarHeight)};
}

POINT DefaultWindowPosition(SIZE outerSize, HWND opener) {
  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  POINT at{};
  RECT openerRect{};
  if (opener != nullptr && IsWindow(opener) && GetWindowRect(opener, &openerRect)) {
    at.x = (openerRect.left + openerRect.right - outerSize.cx) / 2;
    at.y = (openerRect.top + openerRect.bottom - outerSize.cy) / 2;
  } else {
    int step = (g_cascade++ % kCascadeSteps) * kCascadeStep;
    at.x = kCascadeStart + step;
    at.y = kCascadeStart + step;
  }
  // Keep the window on the screen, its top-left corner first.
  at.x = std::max(0, std::min<int>(at.x, screenWidth - outerSize.cx));
  at.y = std::max(0, std::min<int>(at.y, screenHeight - outerSize.cy));
  return at;
}

}  // namespace vel::windows
