#include "runtime/controls/control_brushes.h"

#include <mutex>
#include <unordered_map>

#include "runtime/controls/control_font.h"

namespace vel::controls {
namespace {

std::mutex g_mutex;
std::unordered_map<std::uint32_t, HBRUSH> g_brushes;

}  // namespace

HBRUSH BrushForColourValue(std::uint32_t value) {
  if (value == kNoColourValue) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  if (value & kSystemColour) return GetSysColorBrush(static_cast<int>(value & 0xFFFF));
  std::uint32_t key = value & 0x00FFFFFF;
  std::lock_guard lock(g_mutex);
  HBRUSH& brush = g_brushes[key];
  if (brush == nullptr) brush = CreateSolidBrush(ColourOfValue(key));
  return brush;
}

void ReleaseControlBrushes() {
  std::lock_guard lock(g_mutex);
  for (auto& [value, brush] : g_brushes) DeleteObject(brush);
  g_brushes.clear();
}

}  // namespace vel::controls
