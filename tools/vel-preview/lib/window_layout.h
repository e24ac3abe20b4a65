#pragma once
// Where a window and its controls stand on the screen, for --layout: a script that knows a
// control's rectangle can click on it.

#include <cstdint>
#include <string>
#include <vector>

#include "win32.h"

namespace vel::windows {
struct WindowObject;
}

namespace vel::tools {

struct ControlPlace {
  std::int32_t field = 0;
  std::string className;
  RECT screen{};
};

/// Control windows carry their field number plus this as their child identifier.
inline constexpr int kFieldIdentifierBase = 0x4000;

/// The window itself as field 0, then its controls in field order: those the window manager
/// holds, and any other runtime control window inside it (a class beginning with "Vel" and an
/// identifier above kFieldIdentifierBase), such as the children a container makes itself.
std::vector<ControlPlace> WindowLayout(const windows::WindowObject& window);

}  // namespace vel::tools
