#pragma once
// user32 scroll bars: the scroll bars a window has through WS_VSCROLL and WS_HSCROLL, drawn in
// its non-client area, their range, page and position, and the WM_VSCROLL / WM_HSCROLL codes
// they send while the user works them.

#include "types.h"

#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2
#define SB_BOTH 3

// Scroll request codes (LOWORD of WM_VSCROLL's and WM_HSCROLL's wParam).
#define SB_LINEUP 0
#define SB_LINELEFT 0
#define SB_LINEDOWN 1
#define SB_LINERIGHT 1
#define SB_PAGEUP 2
#define SB_PAGELEFT 2
#define SB_PAGEDOWN 3
#define SB_PAGERIGHT 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_TOP 6
#define SB_LEFT 6
#define SB_BOTTOM 7
#define SB_RIGHT 7
#define SB_ENDSCROLL 8

#define SIF_RANGE 0x0001
#define SIF_PAGE 0x0002
#define SIF_POS 0x0004
#define SIF_DISABLENOSCROLL 0x0008
#define SIF_TRACKPOS 0x0010
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)

#define SC_VSCROLL 0xF070
#define SC_HSCROLL 0xF080

typedef struct tagSCROLLINFO {
  UINT cbSize;
  UINT fMask;
  int nMin;
  int nMax;
  UINT nPage;
  int nPos;
  int nTrackPos;
} SCROLLINFO, *LPSCROLLINFO;
typedef const SCROLLINFO* LPCSCROLLINFO;

VEL_WIN32_API int WINAPI SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw);
VEL_WIN32_API BOOL WINAPI GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi);
VEL_WIN32_API int WINAPI SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw);
VEL_WIN32_API int WINAPI GetScrollPos(HWND hWnd, int nBar);
VEL_WIN32_API BOOL WINAPI SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw);
VEL_WIN32_API BOOL WINAPI GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos);
VEL_WIN32_API BOOL WINAPI ShowScrollBar(HWND hWnd, int wBar, BOOL bShow);
