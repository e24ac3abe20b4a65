#pragma once
// How a button the runtime draws itself looks, from its rectangle and its draw state alone:
// the background (or none, for a transparent button), the border its state asks for, the icon
// and text (moved down and right by a pixel while pressed, greyed while disabled) and the
// focus rectangle. Behaviour lives in ButtonControl; nothing here reads a window.

#include <cstdint>
#include <functional>
#include <string>

#include "win32.h"

namespace vel::controls {

// Draw state bits of a button.
inline constexpr std::uint32_t kDrawPressed = 0x0001;
inline constexpr std::uint32_t kDrawChecked = 0x0002;
inline constexpr std::uint32_t kDrawDefault = 0x0004;
inline constexpr std::uint32_t kDrawDisabled = 0x0008;
/// Flat: no border until the pointer is over the button.
inline constexpr std::uint32_t kDrawFlat = 0x0010;
/// Flat and the pointer is over it (hot): a thin raised border.
inline constexpr std::uint32_t kDrawHot = 0x0020;


/// The picture a button shows: its natural size and how to draw it into a rectangle at a point.
struct ButtonPicture {
  SIZE size{0, 0};
  std::function<void(HDC dc, int x, int y, int width, int height)> draw;
  explicit operator bool() const { return static_cast<bool>(draw) && size.cx > 0 && size.cy > 0; }
};

/// The size a picture is shown at in `room`: its natural size when that fits, else scaled down
/// to fit, keeping its proportions (a button lower than its icon shows all of it, smaller).
SIZE FitPicture(SIZE natural, SIZE room);

/// The part of a button of `area` inside its border and a one-pixel margin, where its picture
/// and text go. A flat button's border is one line in every state, so the picture never
/// changes size under the pointer; other buttons have a raised edge and, as the default button,
/// a frame outside it.
RECT ButtonContentArea(const RECT& area, std::uint32_t drawState);

/// The size of a text as a button draws it, in `font` (null: the system font): one line, the
/// "&" marking a hot key taking no room. {0, 0} for no text.
SIZE ButtonTextSize(HFONT font, const std::string& text);

/// The size a button drawn with `drawState` needs to show a picture of `picture` (shown at
/// that size) and a text of `text` beside it whole, with a margin around the text.
SIZE RuntimeButtonSize(SIZE picture, SIZE text, std::uint32_t drawState);

struct ButtonLook {
  std::uint32_t drawState = 0;
  bool focused = false;
  /// Paint no background: the window behind shows through.
  bool transparent = false;
  /// The background brush (ignored when transparent).
  HBRUSH background = nullptr;
  COLORREF textColour = 0;
  /// The font of the text, or null for the DC's.
  HFONT font = nullptr;
  std::string text;
  ButtonPicture picture;
};

/// Draws a button into `area` of `dc`.
void DrawRuntimeButton(HDC dc, const RECT& area, const ButtonLook& look);

/// Draws a picture at `size`, greyed: lighter and without colour, over the colour `behind`, as a
/// disabled button shows its icon.
void DrawGreyedPicture(HDC dc, int x, int y, SIZE size, const ButtonPicture& picture, COLORREF behind);

}  // namespace vel::controls
