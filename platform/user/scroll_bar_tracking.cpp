#include "platform/user/scroll_bar_tracking.h"

#include <algorithm>
#include <cstdint>

#include "platform/user/nonclient.h"
#include "platform/user/nonclient_paint.h"
#include "platform/user/scroll_bars.h"

namespace vel::platform {
namespace {

// The first repeat of a held arrow or page waits longer than the ones after it.
constexpr UINT kFirstRepeatMs = 350;
constexpr UINT kRepeatMs = 50;
constexpr UINT_PTR kRepeatTimer = 0xF5C1;

struct ScrollPress {
  HWND window = nullptr;
  int bar = SB_VERT;
  ScrollPart part = ScrollPart::None;
  bool shown = false;
};
thread_local ScrollPress t_press;

// The bar as the list layout sees it: rows are positions, a page is the rows shown.
struct RowsView {
  int first = 0;
  int visible = 1;
  int count = 1;
};

RowsView ViewOf(const ScrollBarState& state) {
  std::int64_t count = std::int64_t{state.max} - state.min + 1;
  RowsView view;
  view.count = static_cast<int>(std::min<std::int64_t>(count, INT32_MAX));
  // Without a page the thumb stands for one position.
  view.visible = state.page == 0 ? 1 : static_cast<int>(std::min<std::int64_t>(state.page, view.count));
  view.first = static_cast<int>(std::int64_t{state.pos} - state.min);
  return view;
}

WORD CodeFor(ScrollPart part) {
  switch (part) {
    case ScrollPart::LineUp: return SB_LINEUP;
    case ScrollPart::LineDown: return SB_LINEDOWN;
    case ScrollPart::PageUp: return SB_PAGEUP;
    default: return SB_PAGEDOWN;
  }
}

POINT ToWindow(HWND window, POINT screen) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return POINT{screen.x - rect.left, screen.y - rect.top};
}

void ShowPressed(bool shown) {
  if (t_press.shown == shown) return;
  t_press.shown = shown;
  PaintNonClient(t_press.window);
}

void Send(HWND window, WORD code, int position = 0) {
  SendMessageA(window, WM_VSCROLL, MAKEWPARAM(code, static_cast<WORD>(position)), 0);
}

// Whether the held arrow or page part is still under the pointer (a page part ends where the
// thumb has come to).
bool StillOver(HWND window, ScrollPart part, POINT screen) {
  std::optional<ScrollBarState> state = ScrollBarOf(window, SB_VERT);
  if (!state) return false;
  VerticalScrollBar layout = LayoutWindowScrollBar(ScrollBarArea(window, SB_VERT), *state);
  return ScrollPartAt(layout, ToWindow(window, screen)) == part;
}

}  // namespace

VerticalScrollBar LayoutWindowScrollBar(const RECT& area, const ScrollBarState& state) {
  RowsView view = ViewOf(state);
  VerticalScrollBar layout = LayoutVerticalScrollBar(area, view.first, view.visible, view.count);
  if (state.keptDisabled) {
    layout.enabled = false;
    layout.thumb = RECT{};
  }
  return layout;
}

RECT ScrollBarArea(HWND window, int bar) {
  RECT rect{};
  GetWindowRect(window, &rect);
  RECT bounds{0, 0, rect.right - rect.left, rect.bottom - rect.top};
  auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
  bool hasMenu = !(style & WS_CHILD) && GetMenu(window) != nullptr;
  NonClientLayout layout = LayoutNonClient(bounds, style, exStyle, hasMenu);
  return bar == SB_VERT ? layout.verticalScroll : layout.horizontalScroll;
}

ScrollPart PressedScrollBarPart(HWND window, int bar) {
  if (t_press.window != window || t_press.bar != bar || !t_press.shown) return ScrollPart::None;
  return t_press.part;
}

void TrackScrollBar(HWND window, int bar, POINT screenPoint) {
  if (bar != SB_VERT) return;
  std::optional<ScrollBarState> state = ScrollBarOf(window, bar);
  if (!state || !state->CanScroll() || state->keptDisabled || !IsWindowEnabled(window)) return;
  VerticalScrollBar start = LayoutWindowScrollBar(ScrollBarArea(window, bar), *state);
  POINT at = ToWindow(window, screenPoint);
  ScrollPart part = ScrollPartAt(start, at);
  if (part == ScrollPart::None) return;
  RowsView view = ViewOf(*state);
  int grab = at.y - start.thumb.top;
  int tracked = state->pos;
  SetScrollTrackPos(window, bar, tracked);

  t_press = ScrollPress{window, bar, part, false};
  ShowPressed(true);
  SetCapture(window);
  if (part != ScrollPart::Thumb) {
    Send(window, CodeFor(part));
    SetTimer(window, kRepeatTimer, kFirstRepeatMs, nullptr);
  }
  POINT last = screenPoint;
  for (;;) {
    if (!IsWindow(window) || GetCapture() != window) break;
    MSG msg{};
    if (PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE)) {
      if (msg.wParam != kRepeatTimer) {
        DispatchMessageA(&msg);
        continue;
      }
      bool over = StillOver(window, part, last);
      ShowPressed(over);
      if (over) Send(window, CodeFor(part));
      SetTimer(window, kRepeatTimer, kRepeatMs, nullptr);
      continue;
    }
    if (!PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) &&
        !PeekMessageA(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK, PM_REMOVE)) {
      // What the window scrolled shows while the thumb is still held.
      if (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        DispatchMessageA(&msg);
        continue;
      }
      if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000)) break;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_MOUSE | QS_TIMER | QS_PAINT | QS_SENDMESSAGE);
      continue;
    }
    last = ScreenPointOf(msg);
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) break;
    if (msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE) continue;
    if (part != ScrollPart::Thumb) {
      ShowPressed(StillOver(window, part, last));
      continue;
    }
    int first = FirstRowForThumb(start, ToWindow(window, last).y - grab, view.visible, view.count);
    int position = state->Clamp(state->min + first);
    if (position != tracked) {
      tracked = position;
      SetScrollTrackPos(window, bar, position);
      Send(window, SB_THUMBTRACK, position);
    }
  }
  if (IsWindow(window)) {
    KillTimer(window, kRepeatTimer);
    if (GetCapture() == window) ReleaseCapture();
  }
  t_press = ScrollPress{};
  if (!IsWindow(window)) return;
  PaintNonClient(window);
  if (part == ScrollPart::Thumb) Send(window, SB_THUMBPOSITION, tracked);
  Send(window, SB_ENDSCROLL);
}

}  // namespace vel::platform
