#pragma once
// The window classes of the runtime's controls. Each is registered once, either as a superclass
// of a standard class ("button", "Static"), whose procedure then handles what the control
// leaves alone, or as a class of its own. The control object lives in the window's extra bytes.

#include <cstdint>

#include "win32.h"

namespace vel::controls {

/// One per control window class.
struct ControlClassDescriptor {
  const char* className;
  /// The standard class this one is based on, or null for a class of its own.
  const char* baseClassName = nullptr;
  /// Class style bits added to the base class's (CS_DBLCLKS ...).
  UINT extraStyle = 0;

  bool registered = false;
  /// Where in the window's extra bytes the control object pointer lies.
  int objectOffset = 0;
  /// The base class's window procedure (null for a class of its own).
  WNDPROC baseProcedure = nullptr;
};

/// The runtime error of a window class that cannot be registered (module text "CTLMAIN").
inline constexpr std::int32_t kErrorControlClass = 503;
inline constexpr const char kControlModule[] = "CTLMAIN";

/// Registers the class of `descriptor` with `procedure` once; later calls do nothing. With a
/// base class, its class information is read (error 503 "CTLMAIN" when it cannot be), the
/// window extra bytes grow by one pointer whose offset is the base's old count, and the new
/// class keeps the base's other settings. Every control class has the runtime's instance, no
/// background brush and the descriptor's extra style bits.
void RegisterControlClass(ControlClassDescriptor& descriptor, WNDPROC procedure);

}  // namespace vel::controls
