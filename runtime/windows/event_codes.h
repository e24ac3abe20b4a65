#pragma once
// Event codes: window message numbers in the runtime's private range. A procedure sees the
// event number, which is the code less kEventBase.

#include <cstdint>

namespace vel::windows {

/// The code of event number n is kEventBase + n.
inline constexpr std::int32_t kEventBase = 0x1400;

// Field events: 0x1401 + n for n = 0 .. 29.
inline constexpr std::int32_t EVENT_Accepted = 0x1401;
inline constexpr std::int32_t EVENT_NewSelection = 0x1402;
inline constexpr std::int32_t EVENT_ScrollUp = 0x1403;
inline constexpr std::int32_t EVENT_ScrollDown = 0x1404;
inline constexpr std::int32_t EVENT_PageUp = 0x1405;
inline constexpr std::int32_t EVENT_PageDown = 0x1406;
inline constexpr std::int32_t EVENT_ScrollTop = 0x1407;
inline constexpr std::int32_t EVENT_ScrollBottom = 0x1408;
inline constexpr std::int32_t EVENT_Locate = 0x1409;
inline constexpr std::int32_t EVENT_MouseUp = 0x140A;
inline constexpr std::int32_t EVENT_MouseIn = 0x140B;
inline constexpr std::int32_t EVENT_MouseOut = 0x140C;
inline constexpr std::int32_t EVENT_MouseMove = 0x140D;
inline constexpr std::int32_t EVENT_VBXevent = 0x140E;
inline constexpr std::int32_t EVENT_AlertKey = 0x140F;
inline constexpr std::int32_t EVENT_PreAlert = 0x1410;
inline constexpr std::int32_t EVENT_Dragging = 0x1411;
inline constexpr std::int32_t EVENT_Drag = 0x1412;
inline constexpr std::int32_t EVENT_Drop = 0x1413;
inline constexpr std::int32_t EVENT_ScrollDrag = 0x1414;
inline constexpr std::int32_t EVENT_TabChanging = 0x1415;
inline constexpr std::int32_t EVENT_Expanding = 0x1416;
inline constexpr std::int32_t EVENT_Contracting = 0x1417;
inline constexpr std::int32_t EVENT_Expanded = 0x1418;
inline constexpr std::int32_t EVENT_Contracted = 0x1419;
inline constexpr std::int32_t EVENT_Rejected = 0x141A;
inline constexpr std::int32_t EVENT_DroppingDown = 0x141B;
inline constexpr std::int32_t EVENT_DroppedDown = 0x141C;
inline constexpr std::int32_t EVENT_ScrollTrack = 0x141D;
inline constexpr std::int32_t EVENT_ColumnResize = 0x141E;

// The focus event.
inline constexpr std::int32_t EVENT_Selected = 0x1501;

// Window events.
inline constexpr std::int32_t EVENT_CloseWindow = 0x1601;
inline constexpr std::int32_t EVENT_CloseDown = 0x1602;
inline constexpr std::int32_t EVENT_OpenWindow = 0x1603;
inline constexpr std::int32_t EVENT_OpenFailed = 0x1604;
inline constexpr std::int32_t EVENT_LoseFocus = 0x1605;
inline constexpr std::int32_t EVENT_GainFocus = 0x1606;
inline constexpr std::int32_t EVENT_Suspend = 0x1608;
inline constexpr std::int32_t EVENT_Resume = 0x1609;
inline constexpr std::int32_t EVENT_Notify = 0x160A;
inline constexpr std::int32_t EVENT_Timer = 0x160B;
inline constexpr std::int32_t EVENT_DDErequest = 0x160C;
inline constexpr std::int32_t EVENT_DDEadvise = 0x160D;
inline constexpr std::int32_t EVENT_DDEdata = 0x160E;
inline constexpr std::int32_t EVENT_DDEexecute = 0x160F;
inline constexpr std::int32_t EVENT_DDEpoke = 0x1610;
inline constexpr std::int32_t EVENT_DDEclosed = 0x1611;
inline constexpr std::int32_t EVENT_Move = 0x1620;
inline constexpr std::int32_t EVENT_Size = 0x1621;
inline constexpr std::int32_t EVENT_Restore = 0x1622;
inline constexpr std::int32_t EVENT_Maximize = 0x1623;
inline constexpr std::int32_t EVENT_Iconize = 0x1624;
inline constexpr std::int32_t EVENT_Completed = 0x1625;
inline constexpr std::int32_t EVENT_Moved = 0x1630;
inline constexpr std::int32_t EVENT_Sized = 0x1631;
inline constexpr std::int32_t EVENT_Restored = 0x1632;
inline constexpr std::int32_t EVENT_Maximized = 0x1633;
inline constexpr std::int32_t EVENT_Iconized = 0x1634;
inline constexpr std::int32_t EVENT_BuildFile = 0x1640;
inline constexpr std::int32_t EVENT_BuildKey = 0x1641;
inline constexpr std::int32_t EVENT_BuildDone = 0x1642;

// Other private messages of the window manager.
/// Asks the thread's current window to come to the top.
inline constexpr unsigned kBringToTopMessage = 0x2415;
/// Carries a posted event record (its address in lParam) to its window.
inline constexpr unsigned kPostedEventMessage = 0x241B;
/// QUERY_CONTINUETHREAD: wakes a thread's ACCEPT loop.
inline constexpr unsigned QUERY_CONTINUETHREAD = 0x241C;

/// Command identifiers of fields (controls, menu items) are the field number + this; the
/// identifier 0 stands for an alert key.
inline constexpr std::int32_t kCommandIdentifierBase = 0x4000;

/// The runtime's name of an event code ("EVENT:Accepted"), or null for a code that names no
/// event.
const char* EventName(std::int32_t code);

/// True for the thirty field events (0x1401 .. 0x141E).
bool IsFieldEvent(std::int32_t code);

/// True for the events a procedure may refuse when they are sent: Move, Size, Restore,
/// Maximize, Iconize, PreAlert, and CloseWindow.
bool IsRefusableEvent(std::int32_t code);

}  // namespace vel::windows
