// The cursor shown and the caret (state only: whoever draws reads it).

#include "platform/user/cursor_state.h"

#include <atomic>
#include <mutex>

#include "platform/display/display_backend.h"
#include "platform/user/caret_state.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

/// The cursor set and the display count (ShowCursor): the display is told the cursor while
/// the count is zero or more and nothing (hidden) below that. Both change under the mutex, so
/// the display hears the changes in the order they were made.
std::mutex g_cursorMutex;
HCURSOR g_cursor = nullptr;
int g_showCount = 0;
std::atomic<HCURSOR> g_arrow{nullptr};
std::mutex g_caretMutex;
CaretState g_caret;

}  // namespace

HCURSOR StandardArrowCursor() {
  HCURSOR arrow = g_arrow.load();
  if (arrow == nullptr) {
    arrow = LoadCursorA(nullptr, IDC_ARROW);
    g_arrow.store(arrow);
  }
  return arrow;
}
void SetStandardArrowCursor(HCURSOR cursor) { g_arrow.store(cursor); }

CaretState CurrentCaret() {
  std::lock_guard lock(g_caretMutex);
  if (g_caret.owner != nullptr && !IsWindow(g_caret.owner)) g_caret = CaretState{};
  return g_caret;
}

}  // namespace vel::platform

using namespace vel::platform;

HCURSOR WINAPI SetCursor(HCURSOR hCursor) {
  std::lock_guard lock(g_cursorMutex);
  HCURSOR previous = g_cursor;
  g_cursor = hCursor;
  // Setting the same cursor again (every mouse move does) still reaches the display: a handle
  // may have been destroyed and handed out again for another picture since.
  if (g_showCount >= 0) CurrentDisplay().CursorChanged(hCursor);
  return previous;
}

HCURSOR WINAPI GetCursor(void) {
  std::lock_guard lock(g_cursorMutex);
  return g_cursor;
}

int WINAPI ShowCursor(BOOL bShow) {
  std::lock_guard lock(g_cursorMutex);
  const bool wasShown = g_showCount >= 0;
  g_showCount += bShow ? 1 : -1;
  const bool shown = g_showCount >= 0;
  if (shown != wasShown) CurrentDisplay().CursorChanged(shown ? g_cursor : nullptr);
  return g_showCount;
}

BOOL WINAPI CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight) {
  if (!IsWindow(hWnd)) return FALSE;
  std::lock_guard lock(g_caretMutex);
  // One caret per program: creating one replaces any other, hidden to start with.
  g_caret = CaretState{hWnd, hBitmap, nWidth > 0 ? nWidth : GetSystemMetrics(SM_CXBORDER),
                       nHeight > 0 ? nHeight : GetSystemMetrics(SM_CYBORDER), {0, 0}, 1};
  return TRUE;
}

BOOL WINAPI DestroyCaret(void) {
  std::lock_guard lock(g_caretMutex);
  if (g_caret.owner == nullptr) return FALSE;
  g_caret = CaretState{};
  return TRUE;
}

BOOL WINAPI ShowCaret(HWND hWnd) {
  std::lock_guard lock(g_caretMutex);
  if (g_caret.owner == nullptr || (hWnd != nullptr && hWnd != g_caret.owner) || g_caret.hideCount == 0) {
    return FALSE;
  }
  --g_caret.hideCount;
  return TRUE;
}

BOOL WINAPI HideCaret(HWND hWnd) {
  std::lock_guard lock(g_caretMutex);
  if (g_caret.owner == nullptr || (hWnd != nullptr && hWnd != g_caret.owner)) return FALSE;
  ++g_caret.hideCount;
  return TRUE;
}

BOOL WINAPI SetCaretPos(int X, int Y) {
  std::lock_guard lock(g_caretMutex);
  if (g_caret.owner == nullptr) return FALSE;
  g_caret.position = {X, Y};
  return TRUE;
}

BOOL WINAPI GetCaretPos(LPPOINT lpPoint) {
  std::lock_guard lock(g_caretMutex);
  if (g_caret.owner == nullptr || lpPoint == nullptr) return FALSE;
  *lpPoint = g_caret.position;
  return TRUE;
}
