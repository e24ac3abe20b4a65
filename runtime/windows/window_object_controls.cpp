#include "runtime/windows/window_object_controls.h"

namespace vel::windows {
namespace {

ControlChainBuilder g_builder = nullptr;

}  // namespace

void SetControlChainBuilder(ControlChainBuilder builder) { g_builder = builder; }

ControlChainBuilder InstalledControlChainBuilder() { return g_builder; }

}  // namespace vel::windows
