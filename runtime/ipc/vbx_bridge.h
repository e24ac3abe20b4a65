#pragma once
// The custom-control bridge: custom controls (control type code 18) are hosted by a server
// program, "VXVBX32.EXE", which the runtime finds (or starts) and drives over a DDE
// conversation held by a hidden "DdeClient" window per control. A custom control that names no
// control file gets a placeholder window of class VelVBDummy instead.
//
// The conversation as this runtime holds it with its server:
// - Initiate: application "Velmora_VBX_Server_V1.00", topic "Auxilary_VBX_Control", broadcast;
//   the server acknowledges from its server window.
// - Commands are WM_DDE_EXECUTE texts: [load("FILE;CLASS;", left, top, right, bottom)] and
//   [attach(PARENT)]. The server acknowledges each (fAck set when it succeeded), and
//   acknowledges an attach from the window the control shows in.
// - The server sends WM_DDE_DATA for item "DDE_Event" (text: the event number), which reaches
//   the control's window as WM_VBXEVENT and then EVENT:VBXevent, and for item "DDE_Change"
//   (text: "SLOT=VALUE"), which keeps a property value in one of the control's 128 slots.
// - At shutdown the runtime posts WM_DDE_TERMINATE (wParam 0) to the server window.

#include <array>
#include <cstdint>
#include <string>

#include "win32.h"

namespace vel::windows {
class WindowControl;
}

namespace vel::ipc {

inline constexpr const char* kVbxServerProgram = "VXVBX32.EXE";
inline constexpr const char* kVbxApplication = "Velmora_VBX_Server_V1.00";
inline constexpr const char* kVbxTopic = "Auxilary_VBX_Control";
inline constexpr const char* kVbxDataItem = "DDE_Data";
inline constexpr const char* kVbxEventItem = "DDE_Event";
inline constexpr const char* kVbxChangeItem = "DDE_Change";
inline constexpr const char* kVbxClientClass = "DdeClient";
inline constexpr const char* kVbxClientTitle = "Velmora VBX Client";
inline constexpr const char* kVbxPlaceholderClass = "VelVBDummy";

/// Events of a server-hosted control reach its window as this message (wParam the control's
/// window, lParam the event number).
inline constexpr UINT WM_VBXEVENT = 0x360;

/// The custom control's type code, and the runtime errors of its creation (module CTLCUST).
inline constexpr std::uint8_t kCustomControlType = 18;
inline constexpr std::int32_t kErrorNotCustomControl = 501;
inline constexpr std::int32_t kErrorPlaceholderFailed = 503;
inline constexpr const char* kCustomControlModule = "CTLCUST";

inline constexpr const char* kNotRespondingCaption = "Open Velmora VBX Server";
inline constexpr const char* kNotRespondingText =
    "The Velmora VBX Server is NOT responding. Please terminate the application and check your installation.";
inline constexpr const char* kCannotLoadCaption = "Load Custom Control";
inline constexpr const char* kCannotLoadText =
    "The Velmora VBX Server is NOT able to load '%s'. Please terminate the application and check your "
    "installation.";

/// The waits, in milliseconds of the platform clock.
inline constexpr DWORD kInitiateWait = 1000;
inline constexpr DWORD kInitiateRetryWait = 500;
inline constexpr int kInitiateRetries = 20;
inline constexpr DWORD kCommandWait = 5000;

/// Conversation states.
enum VbxState : int {
  kVbxInitiateSent = 1,
  kVbxConnected = 2,
  kVbxLoadSent = 9,
  kVbxLoaded = 10,
  kVbxLoadFailed = 11,
  kVbxAttachSent = 15,
  kVbxAttached = 16,
  kVbxIdle = 0x30,
  kVbxNoAnswer = 0x32,
};

inline constexpr std::size_t kVbxPropertySlots = 128;

/// One per custom control.
struct BridgeRecord {
  HWND client = nullptr;
  HINSTANCE instance = nullptr;
  /// The server window commands go to.
  HWND server = nullptr;
  int loaded = 0;
  int state = 0;
  /// Property values the server reported (text blocks), by slot.
  std::array<HGLOBAL, kVbxPropertySlots> properties{};
  /// The block of the last command sent.
  HGLOBAL lastCommand = nullptr;
  /// The window the server acknowledged the attach from: the control's window.
  HWND controlWindow = nullptr;
  /// The window that holds the control (the attach parent), which hears of its events.
  HWND holder = nullptr;
};

/// What the custom branch of control creation is given.
struct CustomControlRequest {
  std::uint8_t typeCode = kCustomControlType;
  std::int32_t field = 0;
  /// The control's file and class; either empty means a placeholder.
  std::string fileName;
  std::string className;
  HWND parent = nullptr;
  /// In the parent's client pixels.
  RECT rect{};
  DWORD style = 0;
  HINSTANCE instance = nullptr;
  /// The control object whose address the control's window carries ("lo_pfield", "hi_pfield").
  windows::WindowControl* control = nullptr;
};

/// Creates the window of a custom control: a placeholder, or the server's control window after
/// connecting, loading and attaching. Null when there is none (the message boxes have told the
/// user why). Runtime error 501 for a control that is not of type 18, 503 when the placeholder
/// cannot be created.
HWND CreateCustomControlWindow(const CustomControlRequest& request);

/// The server window of the program's conversation, or null.
HWND VbxServerWindow();

/// Registers the placeholder and client window classes (start-up) and ends the conversation
/// (shutdown): the bridge's module routine.
void CustomControlBridgeService(int call);

/// The control object a control's window carries in "lo_pfield" and "hi_pfield", or null.
windows::WindowControl* ControlOfWindow(HWND window);

}  // namespace vel::ipc
