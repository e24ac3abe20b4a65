// The cursor shown and the caret (state only: whoever draws reads it).

#include <atomic>
#include <mutex>

#include "platform/user/caret_state.h"
#include "platform/user/cursor_state.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

std::atomic<HCURSOR> g_cursor{nullptr};
std::atomic<HCURSOR> g_arrow{nullptr};
std::mutex g_caretMutex;
CaretState g_caret;

}  // namespace

HCURSOR StandardArrowCursor() { return g_arrow.load(); }
void SetStandardArrowCursor(HCURSOR cursor) { g_arrow.store(cursor); }

CaretState CurrentCaret() {
  std::lock_guard lock(g_caretMutex);
  if (g_caret.owner != nullptr && !IsWindow(g_caret.owner)) g_caret = CaretState{};
  return g_caret;
}

}  // namespace vel::platform

using namespace vel::platform;

HCURSOR WINAPI SetCursor(HCURSOR hCursor) { return g_cursor.exchange(hCursor); }

HCURSOR WINAPI GetCursor(void) { return g_cursor.load(); }

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
