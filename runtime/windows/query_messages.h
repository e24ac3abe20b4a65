#pragma once
// The runtime's private queries between controls and their windows. They lie above 0x2400, in
// the range that never reaches a platform procedure.

namespace vel::windows {

/// First message of the runtime's private range: events from here, queries from 0x2400.
inline constexpr unsigned kPrivateMessageBase = 0x1400;

inline constexpr unsigned QUERY_SETUSE = 0x2401;
/// Control to its parent when it gains the focus: wParam its window, lParam the control.
inline constexpr unsigned QUERY_SELECTED = 0x2402;
/// Window to control: carry out the control's action (its hot key was pressed).
inline constexpr unsigned QUERY_COMMAND = 0x2403;
/// Control to its parent when a toolbar control that can own a hot key changed.
inline constexpr unsigned QUERY_HOTCHANGE = 0x2404;
inline constexpr unsigned QUERY_HELP = 0x2405;
inline constexpr unsigned QUERY_QUIT = 0x2406;
inline constexpr unsigned QUERY_REPLY = 0x2407;
/// Posted to the client window after a skip control was used: give the focus back.
inline constexpr unsigned QUERY_LOSEFOCUS = 0x2408;
/// Asks a window for its window object.
inline constexpr unsigned QUERY_PSCREEN = 0x2409;
/// Asks a control window for its control object.
inline constexpr unsigned QUERY_PFIELD = 0x240A;
/// Window to control while painting: wParam the device context; the answer is a brush.
inline constexpr unsigned QUERY_COLOR = 0x240C;
inline constexpr unsigned QUERY_HSCROLL = 0x240E;
/// WM_NOTIFY reflected to the control it concerns.
inline constexpr unsigned QUERY_NOTIFY = 0x2410;
inline constexpr unsigned QUERY_LOCATE = 0x2412;
/// Entry to its window when editing finished.
inline constexpr unsigned QUERY_EDITDONE = 0x241D;

/// Unnamed private messages.
/// List and entry traffic.
inline constexpr unsigned kListEntryMessage1 = 0x240D;
inline constexpr unsigned kListEntryMessage2 = 0x240F;
/// Entry to its parent after each change of text or caret (when asked for).
inline constexpr unsigned kEntryChangedMessage = 0x2411;
/// May the control take part in tabbing: 0 for a transparent control, else whether its window
/// is visible.
inline constexpr unsigned kCanTabMessage = 0x2413;
/// Drag and drop: a query, a drop (wParam non-zero: post EVENT:Drop) and handed-over text.
inline constexpr unsigned kDragQueryMessage = 0x2417;
inline constexpr unsigned kDropMessage = 0x2418;
/// The pointer moves over the accepting target: lParam the screen position (a list scrolls).
inline constexpr unsigned kDragOverMessage = 0x2419;
inline constexpr unsigned kDragTextMessage = 0x241A;
/// Answered 1 by every runtime control.
inline constexpr unsigned kIsRuntimeControlMessage = 0x241F;

}  // namespace vel::windows
