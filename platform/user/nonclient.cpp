#include "platform/user/nonclient.h"

#include <iterator>

#include "platform/display/display_backend.h"

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

int FrameThickness(DWORD style, DWORD exStyle) {
  int thickness = 0;
  if (style & WS_THICKFRAME) {
    thickness = kSizingFrame;
  } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
    thickness = kFixedFrame;
  } else if (style & WS_BORDER) {
    thickness = kBorder;
  }
  if (exStyle & WS_EX_CLIENTEDGE) thickness += kEdge;
  if (exStyle & WS_EX_STATICEDGE) thickness += kBorder;
  return thickness;
}

RECT ClientFromWindowRect(const RECT& windowRect, DWORD style, DWORD exStyle, bool hasMenu) {
  RECT client = windowRect;
  if (style & WS_MINIMIZE) {
    client.right = client.left;
    client.bottom = client.top;
    return client;
  }
  int frame = FrameThickness(style, exStyle);
  InflateRect(&client, -frame, -frame);
  if (HasCaption(style)) client.top += kCaption;
  if (hasMenu && !(style & WS_CHILD)) client.top += kMenu;
  if (style & WS_VSCROLL) client.right -= GetSystemMetrics(SM_CXVSCROLL);
  if (style & WS_HSCROLL) client.bottom -= GetSystemMetrics(SM_CYHSCROLL);
  // A window too small for its frame has an empty client area, never a negative one.
  if (client.right < client.left) client.right = client.left;
  if (client.bottom < client.top) client.bottom = client.top;
  return client;
}

LRESULT HitTest(POINT point, const RECT& windowRect, const RECT& clientRect, DWORD style, DWORD exStyle) {
  if (!PtInRect(&windowRect, point)) return HTNOWHERE;
  if (PtInRect(&clientRect, point)) return HTCLIENT;
  if (style & WS_MINIMIZE) return HTCAPTION;
  int frame = FrameThickness(style, exStyle);
  if (style & WS_THICKFRAME) {
    bool left = point.x < windowRect.left + frame;
    bool right = point.x >= windowRect.right - frame;
    bool top = point.y < windowRect.top + frame;
    bool bottom = point.y >= windowRect.bottom - frame;
    if (top && left) return HTTOPLEFT;
    if (top && right) return HTTOPRIGHT;
    if (bottom && left) return HTBOTTOMLEFT;
    if (bottom && right) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
  } else if (point.x < windowRect.left + frame || point.x >= windowRect.right - frame ||
             point.y < windowRect.top + frame || point.y >= windowRect.bottom - frame) {
    return HTBORDER;
  }
  int captionTop = windowRect.top + frame;
  if (HasCaption(style) && point.y < captionTop + kCaption) {
    // Caption buttons from the right: close, then maximise and minimise.
    int right = windowRect.right - frame - 2;
    if (style & WS_SYSMENU) {
      if (point.x >= right - kCaptionButton) return HTCLOSE;
      right -= kCaptionButton + 2;
      if (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) {
        if (point.x >= right - kCaptionButton) return HTMAXBUTTON;
        right -= kCaptionButton;
        if (point.x >= right - kCaptionButton) return HTMINBUTTON;
      }
      if (point.x < windowRect.left + frame + kCaptionButton) return HTSYSMENU;
    }
    return HTCAPTION;
  }
  if ((style & WS_VSCROLL) && point.x >= clientRect.right && point.y >= clientRect.top) return HTVSCROLL;
  if ((style & WS_HSCROLL) && point.y >= clientRect.bottom) return HTHSCROLL;
  if (!(style & WS_CHILD) && point.y < clientRect.top) return HTMENU;
  return HTBORDER;
}

}  // namespace vel::platform

using namespace vel::platform;

int WINAPI GetSystemMetrics(int nIndex) {
  SIZE screen = CurrentDisplay().ScreenSize();
  switch (nIndex) {
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
