#include "platform/user/nonclient.h"

#include <iterator>

#include "platform/display/display_backend.h"
#include "platform/user/foreign_windows.h"

namespace vel::platform {
namespace {

// Classic metrics: 4-pixel sizing frames, 3-pixel fixed frames, a 19-pixel caption (18 plus
// its bottom line) and a 19-pixel menu bar.
constexpr int kBorder = 1;
constexpr int kFixedFrame = 3;
constexpr int kSizingFrame = 4;
constexpr int kEdge = 2;
constexpr int kCaption = 19;
constexpr int kMenu = 19;
constexpr int kCaptionButton = 18;

}  // namespace

bool HasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }

namespace {

int OuterFrameThickness(DWORD style, DWORD exStyle) {
  if (style & WS_THICKFRAME) return kSizingFrame;
  if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) return kFixedFrame;
  if (style & WS_BORDER) return kBorder;
  return 0;
}

int EdgeThickness(DWORD exStyle) {
  return ((exStyle & WS_EX_CLIENTEDGE) ? kEdge : 0) + ((exStyle & WS_EX_STATICEDGE) ? kBorder : 0);
}

// Caption buttons are 16 by 14 pixels, two below the caption's top: the close button two
// pixels in from the right, then (2 pixels further left) maximise and minimise side by side.
void LayoutCaptionButtons(NonClientLayout& layout, DWORD style) {
  if (!(style & WS_SYSMENU)) return;
  const RECT& caption = layout.caption;
  constexpr int kWidth = kCaptionButton - 2;
  constexpr int kHeight = kCaption - 5;
  int top = caption.top + 2;
  layout.closeButton = {caption.right - 2 - kWidth, top, caption.right - 2, top + kHeight};
  if (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) {
    int right = layout.closeButton.left - 2;
    layout.maximizeButton = {right - kWidth, top, right, top + kHeight};
    layout.minimizeButton = {right - 2 * kWidth, top, right - kWidth, top + kHeight};
  }
  layout.systemMenuIcon = {caption.left + 1, caption.top + 1, caption.left + 17, caption.top + 17};
}

}  // namespace

int FrameThickness(DWORD style, DWORD exStyle) { return OuterFrameThickness(style, exStyle) + EdgeThickness(exStyle); }

NonClientLayout LayoutNonClient(const RECT& windowRect, DWORD style, DWORD exStyle, bool hasMenu) {
  NonClientLayout layout;
  RECT inner = windowRect;
  if (style & WS_MINIMIZE) {
    layout.client = {inner.left, inner.top, inner.left, inner.top};
    return layout;
  }
  layout.outerFrame = OuterFrameThickness(style, exStyle);
  InflateRect(&inner, -layout.outerFrame, -layout.outerFrame);
  if (HasCaption(style)) {
    layout.caption = {inner.left, inner.top, inner.right, inner.top + kCaption};
    inner.top += kCaption;
    LayoutCaptionButtons(layout, style);
  }
  if (hasMenu && !(style & WS_CHILD)) {
    layout.menuBar = {inner.left, inner.top, inner.right, inner.top + kMenu};
    inner.top += kMenu;
  }
  layout.edged = inner;
  int edge = EdgeThickness(exStyle);
  InflateRect(&inner, -edge, -edge);
  if (style & WS_VSCROLL) {
    inner.right -= GetSystemMetrics(SM_CXVSCROLL);
    layout.verticalScroll = {inner.right, inner.top, inner.right + GetSystemMetrics(SM_CXVSCROLL), inner.bottom};
  }
  if (style & WS_HSCROLL) {
    inner.bottom -= GetSystemMetrics(SM_CYHSCROLL);
    layout.horizontalScroll = {inner.left, inner.bottom, inner.right, inner.bottom + GetSystemMetrics(SM_CYHSCROLL)};
    // With both bars the vertical one ends above the horizontal one: the square between them
    // belongs to neither.
    if (style & WS_VSCROLL) layout.verticalScroll.bottom = inner.bottom;
  }
  // A window too small for its frame has an empty client area, never a negative one.
  if (inner.right < inner.left) inner.right = inner.left;
  if (inner.bottom < inner.top) inner.bottom = inner.top;
  layout.client = inner;
  return layout;
}

RECT ClientFromWindowRect(const RECT& windowRect, DWORD style, DWORD exStyle, bool hasMenu) {
  return LayoutNonClient(windowRect, style, exStyle, hasMenu).client;
}

LRESULT HitTest(POINT point, const RECT& windowRect, const RECT& clientRect, DWORD style, DWORD exStyle) {
  if (!PtInRect(&windowRect, point)) return HTNOWHERE;
  if (PtInRect(&clientRect, point)) return HTCLIENT;
  if (style & WS_MINIMIZE) return HTCAPTION;
  NonClientLayout layout = LayoutNonClient(windowRect, style, exStyle, false);
  int frame = layout.outerFrame;
  bool left = point.x < windowRect.left + frame;
  bool right = point.x >= windowRect.right - frame;
  bool top = point.y < windowRect.top + frame;
  bool bottom = point.y >= windowRect.bottom - frame;
  if (style & WS_THICKFRAME) {
    if (top && left) return HTTOPLEFT;
    if (top && right) return HTTOPRIGHT;
    if (bottom && left) return HTBOTTOMLEFT;
    if (bottom && right) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
  } else if (left || right || top || bottom) {
    return HTBORDER;
  }
  if (PtInRect(&layout.caption, point)) {
    // A caption button takes the whole height of the caption in its columns.
    auto inColumns = [&](const RECT& button) { return point.x >= button.left && point.x < button.right; };
    if (!IsRectEmpty(&layout.closeButton) && inColumns(layout.closeButton)) return HTCLOSE;
    if (!IsRectEmpty(&layout.maximizeButton) && inColumns(layout.maximizeButton)) return HTMAXBUTTON;
    if (!IsRectEmpty(&layout.minimizeButton) && inColumns(layout.minimizeButton)) return HTMINBUTTON;
    if (!IsRectEmpty(&layout.systemMenuIcon) && point.x < layout.systemMenuIcon.right) return HTSYSMENU;
    return HTCAPTION;
  }
  // The square between two bars belongs to neither.
  bool besideClient = point.x >= clientRect.right;
  bool belowClient = point.y >= clientRect.bottom;
  bool corner = (style & WS_VSCROLL) && (style & WS_HSCROLL) && besideClient && belowClient;
  if ((style & WS_VSCROLL) && besideClient && point.y >= clientRect.top && !corner) return HTVSCROLL;
  if ((style & WS_HSCROLL) && belowClient && !corner) return HTHSCROLL;
  // What lies between the caption and the client edge is the menu bar.
  if (!(style & WS_CHILD) && point.y < clientRect.top - EdgeThickness(exStyle)) return HTMENU;
  return HTBORDER;
}

}  // namespace vel::platform

using namespace vel::platform;

int WINAPI GetSystemMetrics(int nIndex) {
  SIZE screen = CurrentDisplay().ScreenSize();
  switch (nIndex) {
    case SM_NETWORK: return CurrentForeignWindows() != nullptr ? 1 : 0;
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN: return screen.cx;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN: return screen.cy;
    case SM_CYFULLSCREEN: return screen.cy - kCaption;
    case SM_CXMAXIMIZED: return screen.cx + 2 * kSizingFrame;
    case SM_CYMAXIMIZED: return screen.cy + 2 * kSizingFrame;
    case SM_CXMAXTRACK: return screen.cx + 2 * kSizingFrame + 12;
    case SM_CYMAXTRACK: return screen.cy + 2 * kSizingFrame + 12;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return 16;
    case SM_CYCAPTION: return kCaption;
    case SM_CXBORDER:
    case SM_CYBORDER: return kBorder;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return kFixedFrame;
    case SM_CXFRAME:
    case SM_CYFRAME: return kSizingFrame;
    case SM_CXEDGE:
    case SM_CYEDGE: return kEdge;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 15;
    case SM_CXSMSIZE:
    case SM_CYSMSIZE: return 12;
    case SM_CYMENU: return kMenu;
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE: return 18;
    case SM_CXSIZE:
    case SM_CYSIZE: return kCaptionButton;
    case SM_CXMIN:
    case SM_CXMINTRACK: return 112;
    case SM_CYMIN:
    case SM_CYMINTRACK: return 27;
    case SM_CXMINIMIZED: return 160;
    case SM_CYMINIMIZED: return 24;
    case SM_CXMINSPACING: return 160;
    case SM_CYMINSPACING: return 24;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING: return 75;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK: return 13;
    case SM_MOUSEPRESENT:
    case SM_MOUSEWHEELPRESENT:
    case SM_CMONITORS: return 1;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_SWAPBUTTON:
    case SM_DEBUG:
    case SM_MENUDROPALIGNMENT:
    case SM_CYKANJIWINDOW: return 0;
    default: return 0;
  }
}

UINT WINAPI GetDoubleClickTime(void) { return 500; }

BOOL WINAPI AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle) {
  if (lpRect == nullptr) return FALSE;
  int frame = FrameThickness(dwStyle, dwExStyle);
  InflateRect(lpRect, frame, frame);
  if (HasCaption(dwStyle)) lpRect->top -= kCaption;
  if (bMenu) lpRect->top -= kMenu;
  return TRUE;
}

BOOL WINAPI AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu) {
  return AdjustWindowRectEx(lpRect, dwStyle, bMenu, 0);
}
