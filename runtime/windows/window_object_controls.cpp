#include "runtime/windows/window_object_controls.h"

#include <array>

namespace vel::windows {
namespace {

std::array<ControlCreator, 256> g_creators{};

}  // namespace

void SetControlCreator(std::uint8_t controlType, ControlCreator creator) { g_creators[controlType] = creator; }

ControlCreator FindControlCreator(std::uint8_t controlType) { return g_creators[controlType]; }

}  // namespace vel::windows
