#pragma once
// The properties a procedure reads and sets on a control by number. Values travel on the string
// stack as window properties do. A number this table does not know reads as the empty value and
// ignores a set (the value is still popped).

#include <cstdint>

namespace vel::windows {
struct WindowObject;
}

namespace vel::controls {

/// Field number of an image control whose window becomes the parent; 0 gives the control back.
inline constexpr std::int32_t kPropParent = 0x7A07;
/// Width or height given as default (1) or not (0).
inline constexpr std::int32_t kPropDefaultWidth = 0x7A40;
inline constexpr std::int32_t kPropDefaultHeight = 0x7A41;
/// Width and height in the window's unit; 80000000h makes the control size itself.
inline constexpr std::int32_t kPropWidth = 0x7C04;
inline constexpr std::int32_t kPropHeight = 0x7C05;
/// Justification: centred, left, decimal, right; each with a variant that also sets the offset
/// in horizontal dialog units.
inline constexpr std::int32_t kPropCentre = 0x7C06;
inline constexpr std::int32_t kPropCentreOffset = 0x7C07;
inline constexpr std::int32_t kPropLeft = 0x7C08;
inline constexpr std::int32_t kPropLeftOffset = 0x7C09;
inline constexpr std::int32_t kPropDecimal = 0x7C0A;
inline constexpr std::int32_t kPropDecimalOffset = 0x7C0B;
inline constexpr std::int32_t kPropRight = 0x7C0C;
inline constexpr std::int32_t kPropRightOffset = 0x7C0D;
/// The three-dimensional look (attribute 2000h).
inline constexpr std::int32_t kPropThreeDimensional = 0x7C63;
/// Reporting every change to the window (attribute 0080h).
inline constexpr std::int32_t kPropReportChanges = 0x7C7F;
inline constexpr std::int32_t kPropSkip = 0x7C81;
inline constexpr std::int32_t kPropTransparent = 0x7C88;
/// The control's window handle; setting it replaces the window.
inline constexpr std::int32_t kPropHandle = 0x7C96;
/// Field number of the control whose window this one's follows in the z-order (0: bottom).
inline constexpr std::int32_t kPropZOrder = 0x7C99;
inline constexpr std::int32_t kPropWindowProcedure = 0x7CB4;
/// The font: face name, size in points, style (weight plus the italic, underline and
/// strike-out bits of a definition's font record).
inline constexpr std::int32_t kPropFontFace = 0x7CFA;
inline constexpr std::int32_t kPropFontSize = 0x7CFB;
inline constexpr std::int32_t kPropFontStyle = 0x7CFC;

/// The runtime error of a replacement window that is not a window.
inline constexpr std::int32_t kErrorInvalidHandle = 506;

/// Pushes the value of `property` of the control with field number `field` in `window` (null:
/// the target window). No such control: the empty value.
void GetFieldProperty(windows::WindowObject* window, std::int32_t field, std::int32_t property);

/// Pops a value and sets `property` of the control with field number `field` in `window` (null:
/// the target window) to it. No such control: the value is dropped.
void SetFieldProperty(windows::WindowObject* window, std::int32_t field, std::int32_t property);

}  // namespace vel::controls
