// Non-client painting. Frames: a sizing frame is a raised edge with two rings of the active
// or inactive border colour inside it; a dialog frame is a raised edge with one ring of the
// face colour; a border is one black line. WS_EX_CLIENTEDGE draws a sunken edge and
// WS_EX_STATICEDGE a thin one around the client area (and scroll bars), inside the caption
// and menu bar; the scroll bars are drawn in their areas. The caption is filled with the
// active or inactive caption colour, with the small icon at its left (windows with a system
// menu, except modal-frame dialogs), the title in the bold caption font and the caption
// buttons at its right.

#include "platform/user/nonclient_paint.h"

#include <optional>
#include <string>

#include "platform/user/menu_bar.h"
#include "platform/user/nonclient.h"
#include "platform/user/scroll_bar_tracking.h"
#include "platform/user/scroll_bars.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

struct FrameFacts {
  DWORD style = 0;
  DWORD exStyle = 0;
  bool hasMenu = false;
  bool active = false;
  bool showing = false;
  RECT bounds{};
  std::string title;
};

bool ReadFrameFacts(HWND handle, FrameFacts* facts) {
  TreeLock lock;
  Window* window = LookupWindow(handle);
  if (window == nullptr || window == &Desktop()) return false;
  facts->style = window->style;
  facts->exStyle = window->exStyle;
  facts->hasMenu = !(window->style & WS_CHILD) && window->id != 0;
  facts->active = window->frameActive;
  facts->showing = IsShowing(*window);
  facts->bounds = {0, 0, window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
  facts->title = window->text;
  return true;
}

// The caption button being held down with the mouse, shown pressed while the pointer is on it.
struct CaptionPress {
  HWND window = nullptr;
  WPARAM hit = HTNOWHERE;
  bool pressed = false;
};
thread_local CaptionPress t_press;

HFONT CaptionFont() {
  static HFONT font =
      CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                  DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
  return font;
}

HICON SmallIcon(HWND window) {
  auto icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL2, 0));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
  if (icon == nullptr) icon = LoadIconA(nullptr, IDI_APPLICATION);
  return icon;
}

void FillRings(HDC dc, RECT* r, int rings, HBRUSH brush) {
  for (int i = 0; i < rings; ++i) {
    FrameRect(dc, r, brush);
    InflateRect(r, -1, -1);
  }
}

void PaintOuterFrame(HDC dc, const FrameFacts& facts, int thickness) {
  if (thickness <= 0) return;
  RECT r = facts.bounds;
  if (thickness == 1) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    return;
  }
  DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
  int ringColor = COLOR_3DFACE;
  if (facts.style & WS_THICKFRAME) ringColor = facts.active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER;
  FillRings(dc, &r, thickness - 2, GetSysColorBrush(ringColor));
}

UINT CaptionButtonState(HWND window, WPARAM hit, UINT kind, bool enabled) {
  UINT state = kind;
  if (!enabled) state |= DFCS_INACTIVE;
  if (t_press.window == window && t_press.hit == hit && t_press.pressed) state |= DFCS_PUSHED;
  return state;
}

void PaintCaption(HWND window, HDC dc, const FrameFacts& facts, const NonClientLayout& layout) {
  RECT bar = layout.caption;
  RECT line{bar.left, bar.bottom - 1, bar.right, bar.bottom};
  bar.bottom -= 1;
  FillRect(dc, &bar, GetSysColorBrush(facts.active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
  FillRect(dc, &line, GetSysColorBrush(COLOR_3DFACE));

  int textLeft = bar.left + 2;
  bool showIcon = !IsRectEmpty(&layout.systemMenuIcon) && !(facts.exStyle & WS_EX_DLGMODALFRAME);
  if (showIcon) {
    if (HICON icon = SmallIcon(window)) {
      const RECT& place = layout.systemMenuIcon;
      DrawIconEx(dc, place.left, place.top, icon, place.right - place.left, place.bottom - place.top, 0,
                 nullptr, DI_NORMAL);
    }
    textLeft = layout.systemMenuIcon.right + 2;
  }
  int textRight = bar.right - 2;
  for (const RECT* button : {&layout.minimizeButton, &layout.maximizeButton, &layout.closeButton}) {
    if (!IsRectEmpty(button)) {
      textRight = button->left - 2;
      break;
    }
  }
  if (!facts.title.empty() && textRight > textLeft) {
    int saved = SaveDC(dc);
    SelectObject(dc, CaptionFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(facts.active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    RECT text{textLeft, bar.top, textRight, bar.bottom};
    DrawTextA(dc, facts.title.c_str(), static_cast<int>(facts.title.size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    RestoreDC(dc, saved);
  }

  if (!IsRectEmpty(&layout.closeButton)) {
    bool closable = !(GetClassLongPtrA(window, GCL_STYLE) & CS_NOCLOSE);
    RECT r = layout.closeButton;
    DrawFrameControl(dc, &r, DFC_CAPTION, CaptionButtonState(window, HTCLOSE, DFCS_CAPTIONCLOSE, closable));
  }
  if (!IsRectEmpty(&layout.maximizeButton)) {
    RECT r = layout.maximizeButton;
    UINT kind = (facts.style & WS_MAXIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX;
    DrawFrameControl(dc, &r, DFC_CAPTION,
                     CaptionButtonState(window, HTMAXBUTTON, kind, (facts.style & WS_MAXIMIZEBOX) != 0));
  }
  if (!IsRectEmpty(&layout.minimizeButton)) {
    RECT r = layout.minimizeButton;
    UINT kind = (facts.style & WS_MINIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN;
    DrawFrameControl(dc, &r, DFC_CAPTION,
                     CaptionButtonState(window, HTMINBUTTON, kind, (facts.style & WS_MINIMIZEBOX) != 0));
  }
}

// A vertical bar in the classic look of the list controls; a horizontal one as its bare track.
void PaintScrollBar(HWND window, HDC dc, const RECT& area, int bar, bool enabled) {
  if (IsRectEmpty(&area)) return;
  std::optional<ScrollBarState> state = ScrollBarOf(window, bar);
  if (!state || bar != SB_VERT) {
    FillRect(dc, &area, GetSysColorBrush(COLOR_SCROLLBAR));
    return;
  }
  VerticalScrollBar layout = LayoutWindowScrollBar(area, *state);
  if (!enabled) {
    layout.enabled = false;
    layout.thumb = RECT{};
  }
  PaintVerticalScrollBar(dc, layout, PressedScrollBarPart(window, bar));
}

void PaintEdgesAndScrollAreas(HWND window, HDC dc, const FrameFacts& facts, const NonClientLayout& layout) {
  RECT r = layout.edged;
  if (facts.exStyle & WS_EX_CLIENTEDGE) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  if (facts.exStyle & WS_EX_STATICEDGE) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  bool enabled = !(facts.style & WS_DISABLED);
  PaintScrollBar(window, dc, layout.verticalScroll, SB_VERT, enabled);
  PaintScrollBar(window, dc, layout.horizontalScroll, SB_HORZ, enabled);
  if (!IsRectEmpty(&layout.verticalScroll) && !IsRectEmpty(&layout.horizontalScroll)) {
    RECT corner{layout.verticalScroll.left, layout.horizontalScroll.top, layout.verticalScroll.right,
                layout.horizontalScroll.bottom};
    FillRect(dc, &corner, GetSysColorBrush(COLOR_3DFACE));
  }
}

void SetFrameActive(HWND handle, bool active) {
  TreeLock lock;
  if (Window* window = LookupWindow(handle)) window->frameActive = active;
}

// Asks the window where a screen point is, as the frame's own tracking does.
WPARAM HitAt(HWND window, POINT screen) {
  return static_cast<WPARAM>(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)));
}

void ShowPressed(HWND window, bool pressed) {
  if (t_press.pressed == pressed) return;
  t_press.pressed = pressed;
  PaintNonClient(window);
}

}  // namespace

POINT ScreenPointOf(const MSG& msg) {
  POINT point{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
  if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ClientToScreen(msg.hwnd, &point);
  return point;
}

void PaintNonClient(HWND window) {
  FrameFacts facts;
  if (!ReadFrameFacts(window, &facts) || !facts.showing) return;
  NonClientLayout layout = LayoutNonClient(facts.bounds, facts.style, facts.exStyle, facts.hasMenu);
  if (EqualRect(&layout.client, &facts.bounds)) return;
  HDC dc = GetWindowDC(window);
  if (dc == nullptr) return;
  // The client area is the window's own business.
  ExcludeClipRect(dc, layout.client.left, layout.client.top, layout.client.right, layout.client.bottom);
  PaintOuterFrame(dc, facts, layout.outerFrame);
  if (!IsRectEmpty(&layout.caption)) PaintCaption(window, dc, facts, layout);
  if (!IsRectEmpty(&layout.menuBar)) PaintMenuBar(window, dc, layout.menuBar);
  PaintEdgesAndScrollAreas(window, dc, facts, layout);
  ReleaseDC(window, dc);
}

LRESULT NcActivate(HWND window, WPARAM active, LPARAM lParam) {
  SetFrameActive(window, active != FALSE);
  if (lParam != -1) PaintNonClient(window);
  return TRUE;
}

void RedrawCaption(HWND window) {
  if (HasCaption(static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)))) PaintNonClient(window);
}

void TrackCaptionButton(HWND window, WPARAM hit) {
  t_press = CaptionPress{window, hit, false};
  ShowPressed(window, true);
  SetCapture(window);
  bool releasedOver = false;
  POINT releasePoint{};
  for (;;) {
    if (!IsWindow(window) || GetCapture() != window) break;
    MSG msg{};
    bool got = PeekMessageA(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK, PM_REMOVE) ||
               PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE);
    if (!got) {
      // The button may have come up where no message reports it (outside every window).
      if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000)) {
        GetCursorPos(&releasePoint);
        releasedOver = HitAt(window, releasePoint) == hit;
        break;
      }
      // Only the mouse (and messages sent from other threads, which the next peek handles)
      // matters until the button comes up.
      MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_MOUSE | QS_SENDMESSAGE);
      continue;
    }
    POINT point = ScreenPointOf(msg);
    bool over = HitAt(window, point) == hit;
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
      releasedOver = over;
      releasePoint = point;
      break;
    }
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) ShowPressed(window, over);
  }
  if (IsWindow(window) && GetCapture() == window) ReleaseCapture();
  t_press = CaptionPress{};
  if (!IsWindow(window)) return;
  PaintNonClient(window);
  if (!releasedOver) return;
  WPARAM command = SC_CLOSE;
  if (hit == HTMINBUTTON) command = IsIconic(window) ? SC_RESTORE : SC_MINIMIZE;
  if (hit == HTMAXBUTTON) command = (IsZoomed(window) || IsIconic(window)) ? SC_RESTORE : SC_MAXIMIZE;
  SendMessageA(window, WM_SYSCOMMAND, command, MAKELPARAM(releasePoint.x, releasePoint.y));
}

}  // namespace vel::platform
