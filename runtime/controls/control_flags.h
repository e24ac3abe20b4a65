#pragma once
// The bits a control keeps: attribute flags from its definition record, state flags the runtime
// sets, and the extra flags of the window element.

#include <cstdint>

namespace vel::controls {

// Attribute flags (definition record +5).
inline constexpr std::uint32_t kAttrJustifyMask = 0x001C;
inline constexpr std::uint32_t kAttrJustifyLeft = 0x0004;
inline constexpr std::uint32_t kAttrJustifyRight = 0x0008;
inline constexpr std::uint32_t kAttrJustifyDecimal = 0x000C;
inline constexpr std::uint32_t kAttrJustifyCentre = 0x0010;
/// Not a tab stop, never the default button; the focus goes back after the control was used.
inline constexpr std::uint32_t kAttrSkip = 0x0020;
inline constexpr std::uint32_t kAttrDisabled = 0x0040;
/// The control reports every change of its text or caret to its window (message 2411h).
inline constexpr std::uint32_t kAttrReportChanges = 0x0080;
/// A box with round corners.
inline constexpr std::uint32_t kAttrRoundCorners = 0x0100;
/// An option box or group that draws its frame.
inline constexpr std::uint32_t kAttrBoxed = 0x0200;
inline constexpr std::uint32_t kAttrHidden = 0x0400;
/// Entries and lists report each change at once; buttons act on press and while held.
inline constexpr std::uint32_t kAttrImmediate = 0x0800;
/// The control does not paint its background; an entry loses its border.
inline constexpr std::uint32_t kAttrTransparent = 0x1000;
/// The three-dimensional look: a field draws a sunken edge instead of a flat frame. Windows
/// with this attribute pass it to their controls.
inline constexpr std::uint32_t kAttrThreeDimensional = 0x2000;

// State flags.
/// A toolbar (or frame) control: never the default button; its events may go to the frame.
inline constexpr std::uint32_t kStateToolbar = 0x0001;
/// Events go to the application frame instead of the owning window.
inline constexpr std::uint32_t kStateEventsToFrame = 0x0004;
inline constexpr std::uint32_t kStateDefaultWidth = 0x0010;
inline constexpr std::uint32_t kStateDefaultHeight = 0x0020;
/// The window shows the control later; until then it stays hidden.
inline constexpr std::uint32_t kStateShowDeferred = 0x0200;
/// The window style's WS_TABSTOP follows the skip attribute (buttons, entries, drop lists).
inline constexpr std::uint32_t kStateTabStopFollowsSkip = 0x0800;
/// The control can own a hot key (buttons, prompts).
inline constexpr std::uint32_t kStateHotKeyOwner = 0x8000;

// Extra flags of a window element.
inline constexpr std::uint16_t kExtraNoTooltip = 0x0001;
/// The control is a field: it is in the window's field table and may post events.
inline constexpr std::uint16_t kExtraField = 0x0004;

/// A window definition's position or size that the control computes itself.
inline constexpr std::int32_t kDefaultSize = INT32_MIN;

}  // namespace vel::controls
