#pragma once
// Window properties: what a procedure reads and sets on a window by property number. Values
// travel on the string stack like every other runtime value: a get pushes the value (numbers
// as their decimal text), a set pops it (numbers read as the value runtime reads them; text is
// clipped of trailing blanks, as fixed-string variables pad it).
//
// A property number this table does not know reads as the empty value and ignores a set (the
// value is still popped, so the stack stays balanced). The same holds for setting the
// read-only properties (thread number, handle).

#include <cstdint>

namespace vel::windows {

struct WindowObject;

/// The window-level properties.
inline constexpr std::int32_t kPropX = 0x7C02;          ///< x in the window's unit
inline constexpr std::int32_t kPropY = 0x7C03;          ///< y in the window's unit
inline constexpr std::int32_t kPropWidth = 0x7C04;      ///< client width in the window's unit
inline constexpr std::int32_t kPropHeight = 0x7C05;     ///< client height in the window's unit
inline constexpr std::int32_t kPropCursor = 0x7C5D;     ///< cursor name
inline constexpr std::int32_t kPropHelp = 0x7C66;       ///< default help keyword
inline constexpr std::int32_t kPropIcon = 0x7C68;       ///< icon name
inline constexpr std::int32_t kPropIconized = 0x7C69;   ///< 1 when minimised
inline constexpr std::int32_t kPropMaximized = 0x7C6F;  ///< 1 when maximised
inline constexpr std::int32_t kPropMessage = 0x7C73;    ///< default message text
inline constexpr std::int32_t kPropTitle = 0x7C84;      ///< title
inline constexpr std::int32_t kPropTimer = 0x7C86;      ///< timer interval, hundredths of a second
inline constexpr std::int32_t kPropThread = 0x7C95;     ///< thread number (slot + 1), read only
inline constexpr std::int32_t kPropHandle = 0x7C96;     ///< platform window handle, read only
inline constexpr std::int32_t kPropAcceptAll = 0x7C9A;  ///< 1 while an accept-all pass runs
inline constexpr std::int32_t kPropWindowProcedure = 0x7CB4;   ///< window procedure
inline constexpr std::int32_t kPropWindowProcedure2 = 0x7CB5;  ///< window procedure (same)

/// Pushes the value of `property` of `window` onto the string stack. A null window means the
/// target window (the one SetTargetWindow chose, else the calling thread's current window);
/// with none, error 536 "Window is not open" (the empty value is pushed first, so a caller
/// that goes on after the error finds the stack balanced).
void GetWindowProperty(WindowObject* window, std::int32_t property);

/// Pops a value off the string stack and sets `property` of `window` to it, with its side
/// effect (moving, retitling, restarting the timer ...). A null window means the target window;
/// with none, error 536 after the value was popped.
///
/// - x, y, width, height: moves or resizes the window; width and height are the client area's,
///   as a definition's AT gives them.
/// - cursor, icon: loaded by name (a definition's binary name, "~NAME" for a program resource,
///   other text an icon file, "FILE.ICO[n]" its n-th icon); the new one becomes the class's, the
///   previous one is destroyed when the window owned it. An empty or unloadable name gives the
///   window's default icon or the standard arrow.
/// - iconized, maximized: non-zero minimises (without activating) or maximises; zero restores.
///   Before the window is first shown they choose the state it is shown in.
/// - title: sets the text and adds or removes the caption the title asks for.
/// - timer: restarts timer 1 with the new interval (0 stops it).
/// - accept-all: non-zero starts an accept-all pass, zero stops one.
/// - window procedure: replaces the top-level window's procedure; 0 is ignored (a window
///   without a procedure could not even be closed).
void SetWindowProperty(WindowObject* window, std::int32_t property);

}  // namespace vel::windows
