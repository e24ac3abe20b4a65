#pragma once
// The visible state of an open window as its properties read and change it: position and
// size in the window's unit, minimised and maximised, and the title with its caption.

#include <cstdint>
#include <string>

namespace vel::windows {

struct WindowObject;

/// Geometry values by index: 0 x, 1 y (the window's position on the screen), 2 width, 3 height
/// (its client area, as a definition's AT gives them), all in the window's unit.
std::int32_t WindowGeometry(const WindowObject& window, int index);
/// Moves (x, y) or resizes (width, height, the client area; negative sizes count as 0) the
/// window without activating it.
void SetWindowGeometry(WindowObject& window, int index, std::int32_t value);

/// True when the window is minimised; before the window is first shown, when it will be
/// shown minimised.
bool IsWindowMinimised(const WindowObject& window);
/// True when the window is maximised (or will be shown maximised).
bool IsWindowMaximised(const WindowObject& window);

/// Minimises the window without activating it, or, when `minimised` is false and the window
/// is minimised, shows it again without activating it. Before the window is first shown this
/// chooses the state it is shown in.
void SetWindowMinimised(WindowObject& window, bool minimised);
/// Maximises the window unless it is maximised, or restores it. Before the window is first
/// shown this chooses the state it is shown in.
void SetWindowMaximised(WindowObject& window, bool maximised);

/// Sets the title and gives the window the caption its title asks for: a window with a title
/// has a caption, one without keeps only what its frame attributes give it.
void SetWindowTitle(WindowObject& window, std::string title);

}  // namespace vel::windows
