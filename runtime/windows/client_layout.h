#pragma once
// The layout of a runtime window's client area: the status bar along the bottom, the toolbar
// along the top, and the client window (the controls' parent) in what is left. It runs on every
// size change and whenever the toolbar or the status bar is shown or hidden.

#include <cstdint>

#include "runtime/windows/definition_record.h"
#include "runtime/windows/definition_view.h"
#include "runtime/windows/unit_conversion.h"
#include "win32.h"

namespace vel::windows {

struct WindowObject;
class WindowControl;

/// Places the status bar, the toolbar and the client window in the window's client area. A
/// hidden toolbar or status bar leaves its height to the client window.
void LayOutWindow(WindowObject& window);

/// Makes a window's toolbar from its record as a child of the window (and its controls from
/// the toolbar's chain), enters it in `window.controls` and returns it; null when it cannot.
using ToolbarBuilder = WindowControl* (*)(WindowObject& window, const DefinitionView& view,
                                          const Record& toolbar);

/// Installs the toolbar kind's builder (null: none). Without one a window shows a plain strip of
/// the toolbar record's height, so that its client area is laid out as it will be.
void SetToolbarBuilder(ToolbarBuilder builder);

/// Makes the window's toolbar from the toolbar record at `offset` (0: none).
void CreateWindowToolbar(WindowObject& window, const DefinitionView& view, std::uint32_t offset,
                         const UnitConverter& converter);

/// Shows or hides the toolbar and lays the window out again.
void ShowWindowToolbar(WindowObject& window, bool show);

/// Makes the status bar of a window whose definition gives zones.
void CreateWindowStatusBar(WindowObject& window, const UnitConverter& converter);

/// Scrolls the client window's controls so that `control` lies within the client window.
void ScrollControlIntoView(WindowObject& window, const WindowControl& control);

}  // namespace vel::windows
