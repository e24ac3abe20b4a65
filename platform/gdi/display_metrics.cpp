#include "platform/gdi/display_metrics.h"

#include <mutex>

namespace vel::platform {
namespace {

std::mutex g_mutex;
DisplayMetrics g_metrics;

}  // namespace

DisplayMetrics CurrentDisplayMetrics() {
  std::lock_guard lock(g_mutex);
  return g_metrics;
}

void SetDisplayMetrics(const DisplayMetrics& metrics) {
  std::lock_guard lock(g_mutex);
  g_metrics = metrics;
  if (g_metrics.dpi <= 0) g_metrics.dpi = 96;
  if (g_metrics.width <= 0) g_metrics.width = 1024;
  if (g_metrics.height <= 0) g_metrics.height = 768;
}

}  // namespace vel::platform
