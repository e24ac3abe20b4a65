#include "runtime/windows/drop_relay.h"

#include "runtime/windows/drag_source.h"
#include "runtime/windows/drag_state.h"
#include "runtime/windows/query_messages.h"

namespace vel::windows {
namespace {

/// Where the pointer of a drag from another program was last reported (screen coordinates).
POINT g_pointer{};

// The control a query from another program matched, when it is one inside `topLevel`: the
// state remembers the window a query from another program named.
HWND RelayTarget(HWND topLevel) {
  HWND named = CurrentDragState().otherProgramWindow;
  return named != nullptr && named != topLevel && IsChild(topLevel, named) ? named : nullptr;
}

BOOL CALLBACK FindTaker(HWND window, LPARAM found) {
  if (!IsRuntimeWindow(window) || SendMessageA(window, kDragQueryMessage, 0, 0) == 0) return TRUE;
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

bool AnyControlTakesDrops(HWND topLevel) {
  bool found = false;
  EnumChildWindows(topLevel, FindTaker, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Asks the controls under the pointer, from the innermost up, as the other program would have
// asked them had it seen them. Each is named in its own query, so the rules between programs
// apply ("~" counts) and the state remembers the one that takes the identifier.
LRESULT QueryControls(HWND topLevel, WPARAM atom) {
  HWND previous = RelayTarget(topLevel);
  CurrentDragState().otherProgramWindow = nullptr;
  HWND taker = nullptr;
  for (HWND window = DragHitTestWithin(topLevel, g_pointer); window != nullptr && window != topLevel;
       window = GetParent(window)) {
    if (IsRuntimeWindow(window) && SendMessageA(window, kDragQueryMessage, 0, 0) != 0 &&
        SendMessageA(window, kDragQueryMessage, atom, reinterpret_cast<LPARAM>(window)) != 0) {
      taker = window;
      break;
    }
    if ((GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) == 0) break;
  }
  if (previous != nullptr && previous != taker) SendMessageA(previous, kDropMessage, 0, 0);
  return taker != nullptr ? 1 : 0;
}

}  // namespace

std::optional<LRESULT> RelayDropMessage(HWND topLevel, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND target = RelayTarget(topLevel);
  switch (message) {
    case kDragOverMessage:
      g_pointer = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (target != nullptr) SendMessageA(target, kDragOverMessage, wParam, lParam);
      return target != nullptr ? std::optional<LRESULT>(0) : std::nullopt;
    case kDragQueryMessage:
      // "Does it take drops at all" is asked of the window as a whole.
      if (wParam == 0) return AnyControlTakesDrops(topLevel) ? std::optional<LRESULT>(1) : std::nullopt;
      if (reinterpret_cast<HWND>(lParam) != topLevel) return std::nullopt;
      if (QueryControls(topLevel, wParam) != 0) return 1;
      return std::nullopt;  // None of the controls: perhaps the window's own identifiers.
    case kDropMessage:
      if (target == nullptr) return std::nullopt;
      SendMessageA(target, kDropMessage, wParam, 0);
      CurrentDragState().otherProgramWindow = nullptr;
      return 0;
    case kDragTextMessage:
      if (target == nullptr || reinterpret_cast<HWND>(lParam) != topLevel) return std::nullopt;
      SendMessageA(target, kDragTextMessage, wParam, reinterpret_cast<LPARAM>(target));
      return 0;
    default: return std::nullopt;
  }
}

}  // namespace vel::windows
