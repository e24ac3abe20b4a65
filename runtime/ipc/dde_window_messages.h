#pragma once
// DDE messages arriving at a runtime window: initiates offered to the window's server objects,
// requests from clients turned into events, data and terminations from servers, and the
// acknowledgements the protocol asks for.

#include <cstdint>
#include <string>

#include "win32.h"

namespace vel::windows {
struct WindowObject;
}

namespace vel::ipc {

/// A closing window ends its conversations (the partners are told) and its server objects.
void EndConversationsOf(HWND own);

/// Handles the DDE messages of a runtime window (and notes its destruction); false for other
/// messages, which go on to the default procedure.
bool HandleDdeWindowMessage(windows::WindowObject& window, UINT message, WPARAM wParam, LPARAM lParam,
                            LRESULT& result);

/// Posts WM_DDE_ACK on a channel with a second value that is an item atom or (`isBlock`) a
/// command's block. When the post fails, or the channel has ended, the channel counts as closed
/// and the value is released here (the atom deleted, the block freed).
void AcknowledgeOnChannel(std::int32_t channel, bool positive, UINT_PTR value, bool isBlock);

/// While a window opens a client channel, the servers' acknowledgements of its initiate open
/// the channel (the first) or are told to go away (any later one).
struct ChannelOpening {
  HWND own = nullptr;
  std::string application;
  std::string topic;
  std::int32_t channel = 0;
};
/// Starts and ends collecting acknowledgements for a window.
void BeginChannelOpening(ChannelOpening* opening);

}  // namespace vel::ipc
