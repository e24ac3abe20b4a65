#pragma once
// The bridge's conversation with its server: the client window that turns the server's replies
// into conversation states, connecting (finding or starting the server), sending commands and
// waiting for the server's answers.

#include <string_view>

#include "runtime/ipc/vbx_bridge.h"

namespace vel::ipc {

/// Registers the "DdeClient" class (once).
bool RegisterVbxClientClass(HINSTANCE instance);

/// Creates the hidden client window of a record: a child of `parent`, or a pop-up without one.
HWND CreateVbxClientWindow(BridgeRecord& record, HWND parent);

/// The record a client window belongs to ("lo_this", "hi_this"), or null.
BridgeRecord* RecordOfClient(HWND client);

/// Connects the record to the program's server: the conversation that stands, else an initiate
/// broadcast, else the server started and asked again. False when no server answered.
bool ConnectVbxServer(BridgeRecord& record);

/// Sends a command and records the state it puts the conversation in; false (and nothing sent)
/// without a server window or when the post fails.
bool SendVbxCommand(BridgeRecord& record, std::string_view command, int state);

/// Waits up to `milliseconds` while the record is in `waitingState`, dispatching the DDE
/// messages for its client window; when the time runs out, the state becomes 50. A state that
/// has already moved on is left as it is.
void WaitForVbxServer(BridgeRecord& record, DWORD milliseconds, int waitingState);

/// Forgets the program's server window (after terminating).
HWND TakeVbxServerWindow();

}  // namespace vel::ipc
