// The scroll bars of a window (WS_VSCROLL, WS_HSCROLL): their range, page and position, and
// showing or hiding them as the range comes to need scrolling or stops needing it. Scroll bar
// controls (SB_CTL) are not provided.

#include <algorithm>
#include <cstdint>

#include "platform/user/scroll_bars.h"

#include "platform/user/nonclient_paint.h"
#include "platform/user/window_tree.h"

using namespace vel::platform;

namespace {

DWORD StyleBitOf(int bar) { return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL; }

ScrollBarState* StateOf(Window& window, int bar) {
  if (bar == SB_VERT) return &window.verticalScroll;
  if (bar == SB_HORZ) return &window.horizontalScroll;
  return nullptr;
}

// Runs `change` on the bar's state under the tree lock; false when the window or bar is not
// there. `style` receives the window's style afterwards.
template <typename Change>
bool ChangeState(HWND handle, int bar, DWORD* style, Change change) {
  TreeLock lock;
  Window* window = LookupWindow(handle);
  if (window == nullptr || window == &Desktop()) return false;
  ScrollBarState* state = StateOf(*window, bar);
  if (state == nullptr) return false;
  change(*state);
  if (style != nullptr) *style = window->style;
  return true;
}

// Adds or removes the style bits of the bars and lays the frame out again.
void ShowBars(HWND window, DWORD bits, bool show) {
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  DWORD wanted = show ? (style | bits) : (style & ~bits);
  if (wanted == style) return;
  SetWindowLongPtrA(window, GWL_STYLE, static_cast<LONG_PTR>(wanted));
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// After the range or page changed: a bar shows while its range needs scrolling (or, kept
// disabled, whenever it was asked to stay); otherwise it goes. Without a change of the frame
// the bar is drawn again when asked.
void AfterRangeChange(HWND window, int bar, bool visible, DWORD style, BOOL redraw) {
  DWORD bit = StyleBitOf(bar);
  if (visible != ((style & bit) != 0)) {
    ShowBars(window, bit, visible);
  } else if (redraw && visible) {
    PaintNonClient(window);
  }
}

}  // namespace

namespace vel::platform {

std::optional<ScrollBarState> ScrollBarOf(HWND window, int bar) {
  std::optional<ScrollBarState> copy;
  ChangeState(window, bar, nullptr, [&](ScrollBarState& state) { copy = state; });
  return copy;
}

void SetScrollTrackPos(HWND window, int bar, int position) {
  ChangeState(window, bar, nullptr, [&](ScrollBarState& state) { state.trackPos = state.Clamp(position); });
}

}  // namespace vel::platform

int WINAPI SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw) {
  if (lpsi == nullptr) return 0;
  bool visible = false;
  int position = 0;
  DWORD style = 0;
  bool changesRange = (lpsi->fMask & (SIF_RANGE | SIF_PAGE)) != 0;
  bool known = ChangeState(hwnd, nBar, &style, [&](ScrollBarState& state) {
    if (lpsi->fMask & SIF_RANGE) {
      state.min = lpsi->nMin;
      state.max = std::max(lpsi->nMin, lpsi->nMax);
    }
    if (lpsi->fMask & SIF_PAGE) {
      std::int64_t span = std::int64_t{state.max} - state.min + 1;
      state.page = static_cast<UINT>(std::min<std::int64_t>(lpsi->nPage, span));
    } else {
      std::int64_t span = std::int64_t{state.max} - state.min + 1;
      state.page = static_cast<UINT>(std::min<std::int64_t>(state.page, span));
    }
    if (lpsi->fMask & SIF_POS) state.pos = lpsi->nPos;
    state.pos = state.Clamp(state.pos);
    if (changesRange) state.keptDisabled = !state.CanScroll() && (lpsi->fMask & SIF_DISABLENOSCROLL);
    visible = state.CanScroll() || state.keptDisabled;
    position = state.pos;
  });
  if (!known) return 0;
  if (changesRange) {
    AfterRangeChange(hwnd, nBar, visible, style, redraw);
  } else if (redraw && (style & StyleBitOf(nBar))) {
    PaintNonClient(hwnd);
  }
  return position;
}

BOOL WINAPI GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi) {
  if (lpsi == nullptr) return FALSE;
  return ChangeState(hwnd, nBar, nullptr, [&](ScrollBarState& state) {
    if (lpsi->fMask & SIF_RANGE) {
      lpsi->nMin = state.min;
      lpsi->nMax = state.max;
    }
    if (lpsi->fMask & SIF_PAGE) lpsi->nPage = state.page;
    if (lpsi->fMask & SIF_POS) lpsi->nPos = state.pos;
    if (lpsi->fMask & SIF_TRACKPOS) lpsi->nTrackPos = state.trackPos;
  });
}

int WINAPI SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw) {
  int previous = 0;
  DWORD style = 0;
  if (!ChangeState(hWnd, nBar, &style, [&](ScrollBarState& state) {
        previous = state.pos;
        state.pos = state.Clamp(nPos);
      })) {
    return 0;
  }
  if (bRedraw && (style & StyleBitOf(nBar))) PaintNonClient(hWnd);
  return previous;
}

int WINAPI GetScrollPos(HWND hWnd, int nBar) {
  int position = 0;
  ChangeState(hWnd, nBar, nullptr, [&](ScrollBarState& state) { position = state.pos; });
  return position;
}

BOOL WINAPI SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
  DWORD style = 0;
  if (!ChangeState(hWnd, nBar, &style, [](ScrollBarState&) {})) return FALSE;
  SetScrollInfo(hWnd, nBar, &info, bRedraw);
  return TRUE;
}

BOOL WINAPI GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos) {
  if (lpMinPos == nullptr || lpMaxPos == nullptr) return FALSE;
  return ChangeState(hWnd, nBar, nullptr, [&](ScrollBarState& state) {
    *lpMinPos = state.min;
    *lpMaxPos = state.max;
  });
}

BOOL WINAPI ShowScrollBar(HWND hWnd, int wBar, BOOL bShow) {
  if (!IsWindow(hWnd)) return FALSE;
  DWORD bits = 0;
  if (wBar == SB_VERT || wBar == SB_BOTH) bits |= WS_VSCROLL;
  if (wBar == SB_HORZ || wBar == SB_BOTH) bits |= WS_HSCROLL;
  if (bits == 0) return FALSE;
  ShowBars(hWnd, bits, bShow != FALSE);
  return TRUE;
}
