#pragma once
// user32: windows, messages, input, dialogs, message boxes.

#include "types.h"
#include "user_constants.h"

#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_CANCELTRYCONTINUE 0x00000006L
#define MB_ICONHAND 0x00000010L
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_DEFBUTTON4 0x00000300L
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST 0x00040000L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#define MB_DEFMASK 0x00000F00L
#define MB_MODEMASK 0x00003000L

#define DS_MODALFRAME 0x80L

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDTRYAGAIN 10
#define IDCONTINUE 11

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void(CALLBACK* TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);
typedef BOOL(CALLBACK* WNDENUMPROC)(HWND, LPARAM);
typedef LRESULT(CALLBACK* HOOKPROC)(int code, WPARAM wParam, LPARAM lParam);

typedef struct tagWNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
} WNDCLASSA, *PWNDCLASSA, *LPWNDCLASSA;

typedef struct tagWNDCLASSEXA {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
} WNDCLASSEXA, *PWNDCLASSEXA, *LPWNDCLASSEXA;

typedef struct tagCREATESTRUCTA {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
} CREATESTRUCTA, *LPCREATESTRUCTA;

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
} MSG, *PMSG, *LPMSG;

typedef struct tagMINMAXINFO {
  POINT ptReserved;
  POINT ptMaxSize;
  POINT ptMaxPosition;
  POINT ptMinTrackSize;
  POINT ptMaxTrackSize;
} MINMAXINFO, *PMINMAXINFO, *LPMINMAXINFO;

typedef struct tagWINDOWPOS {
  HWND hwnd;
  HWND hwndInsertAfter;
  int x;
  int y;
  int cx;
  int cy;
  UINT flags;
} WINDOWPOS, *LPWINDOWPOS, *PWINDOWPOS;

typedef struct tagNCCALCSIZE_PARAMS {
  RECT rgrc[3];
  PWINDOWPOS lppos;
} NCCALCSIZE_PARAMS, *LPNCCALCSIZE_PARAMS;

typedef struct tagSTYLESTRUCT {
  DWORD styleOld;
  DWORD styleNew;
} STYLESTRUCT, *LPSTYLESTRUCT;

typedef struct tagPAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
} PAINTSTRUCT, *PPAINTSTRUCT, *LPPAINTSTRUCT;

typedef struct tagMOUSEHOOKSTRUCT {
  POINT pt;
  HWND hwnd;
  UINT wHitTestCode;
  ULONG_PTR dwExtraInfo;
} MOUSEHOOKSTRUCT, *LPMOUSEHOOKSTRUCT, *PMOUSEHOOKSTRUCT;

// Classes.
VEL_WIN32_API ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass);
VEL_WIN32_API ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* lpWndClass);
VEL_WIN32_API BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE hInstance);
VEL_WIN32_API BOOL WINAPI GetClassInfoA(HINSTANCE hInstance, LPCSTR lpClassName, LPWNDCLASSA lpWndClass);
VEL_WIN32_API BOOL WINAPI GetClassInfoExA(HINSTANCE hInstance, LPCSTR lpszClass, LPWNDCLASSEXA lpwcx);
VEL_WIN32_API ULONG_PTR WINAPI GetClassLongPtrA(HWND hWnd, int nIndex);
VEL_WIN32_API ULONG_PTR WINAPI SetClassLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
VEL_WIN32_API int WINAPI GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount);

// Windows.
VEL_WIN32_API HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                                          int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                                          HINSTANCE hInstance, LPVOID lpParam);
#define CreateWindowA(className, windowName, style, x, y, width, height, parent, menu, instance, param) \
  CreateWindowExA(0L, className, windowName, style, x, y, width, height, parent, menu, instance, param)
VEL_WIN32_API BOOL WINAPI DestroyWindow(HWND hWnd);
VEL_WIN32_API BOOL WINAPI IsWindow(HWND hWnd);
VEL_WIN32_API BOOL WINAPI IsWindowVisible(HWND hWnd);
VEL_WIN32_API BOOL WINAPI IsWindowEnabled(HWND hWnd);
VEL_WIN32_API BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd);
VEL_WIN32_API BOOL WINAPI IsIconic(HWND hWnd);
VEL_WIN32_API BOOL WINAPI IsZoomed(HWND hWnd);
VEL_WIN32_API BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable);
VEL_WIN32_API BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow);
VEL_WIN32_API BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags);
VEL_WIN32_API BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint);
VEL_WIN32_API BOOL WINAPI BringWindowToTop(HWND hWnd);
VEL_WIN32_API HDWP WINAPI BeginDeferWindowPos(int nNumWindows);
VEL_WIN32_API HDWP WINAPI DeferWindowPos(HDWP hWinPosInfo, HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx,
                                         int cy, UINT uFlags);
VEL_WIN32_API BOOL WINAPI EndDeferWindowPos(HDWP hWinPosInfo);
VEL_WIN32_API BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect);
VEL_WIN32_API BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect);
VEL_WIN32_API BOOL WINAPI AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle);
VEL_WIN32_API BOOL WINAPI AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu);
VEL_WIN32_API BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint);
VEL_WIN32_API BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint);
VEL_WIN32_API int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints);
VEL_WIN32_API HWND WINAPI WindowFromPoint(POINT Point);
VEL_WIN32_API HWND WINAPI ChildWindowFromPoint(HWND hWndParent, POINT Point);
VEL_WIN32_API HWND WINAPI ChildWindowFromPointEx(HWND hwnd, POINT pt, UINT flags);
VEL_WIN32_API BOOL WINAPI EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam);
VEL_WIN32_API BOOL WINAPI EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam);
VEL_WIN32_API BOOL WINAPI EnumThreadWindows(DWORD dwThreadId, WNDENUMPROC lpfn, LPARAM lParam);
VEL_WIN32_API HWND WINAPI GetWindow(HWND hWnd, UINT uCmd);
VEL_WIN32_API HWND WINAPI GetParent(HWND hWnd);
VEL_WIN32_API HWND WINAPI SetParent(HWND hWndChild, HWND hWndNewParent);
VEL_WIN32_API HWND WINAPI GetTopWindow(HWND hWnd);
VEL_WIN32_API HWND WINAPI GetDesktopWindow(void);
VEL_WIN32_API HWND WINAPI FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName);
VEL_WIN32_API DWORD WINAPI GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId);
VEL_WIN32_API BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString);
VEL_WIN32_API int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount);
VEL_WIN32_API int WINAPI GetWindowTextLengthA(HWND hWnd);
VEL_WIN32_API LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex);
VEL_WIN32_API LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
VEL_WIN32_API LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex);
VEL_WIN32_API LONG WINAPI SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong);
VEL_WIN32_API BOOL WINAPI SetPropA(HWND hWnd, LPCSTR lpString, HANDLE hData);
VEL_WIN32_API HANDLE WINAPI GetPropA(HWND hWnd, LPCSTR lpString);
VEL_WIN32_API HANDLE WINAPI RemovePropA(HWND hWnd, LPCSTR lpString);
VEL_WIN32_API int WINAPI GetSystemMetrics(int nIndex);
VEL_WIN32_API DWORD WINAPI GetSysColor(int nIndex);
/// Changes system colours and sends WM_SYSCOLORCHANGE to every top-level window.
VEL_WIN32_API BOOL WINAPI SetSysColors(int cElements, const INT* lpaElements, const COLORREF* lpaRgbValues);
VEL_WIN32_API UINT WINAPI GetDoubleClickTime(void);

// Messages.
VEL_WIN32_API LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
VEL_WIN32_API BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
VEL_WIN32_API BOOL WINAPI PostThreadMessageA(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam);
VEL_WIN32_API void WINAPI PostQuitMessage(int nExitCode);
VEL_WIN32_API BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
VEL_WIN32_API BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                                       UINT wRemoveMsg);
VEL_WIN32_API BOOL WINAPI WaitMessage(void);
VEL_WIN32_API BOOL WINAPI TranslateMessage(const MSG* lpMsg);
VEL_WIN32_API LRESULT WINAPI DispatchMessageA(const MSG* lpMsg);
VEL_WIN32_API LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
VEL_WIN32_API LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam,
                                             LPARAM lParam);
VEL_WIN32_API BOOL WINAPI InSendMessage(void);
VEL_WIN32_API DWORD WINAPI InSendMessageEx(LPVOID lpReserved);
VEL_WIN32_API DWORD WINAPI GetQueueStatus(UINT flags);
VEL_WIN32_API DWORD WINAPI GetMessageTime(void);
VEL_WIN32_API DWORD WINAPI GetMessagePos(void);
VEL_WIN32_API DWORD WINAPI MsgWaitForMultipleObjects(DWORD nCount, const HANDLE* pHandles, BOOL fWaitAll,
                                                     DWORD dwMilliseconds, DWORD dwWakeMask);
VEL_WIN32_API UINT WINAPI RegisterWindowMessageA(LPCSTR lpString);

// Timers.
VEL_WIN32_API UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);
VEL_WIN32_API BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent);

// Focus, activation, capture.
VEL_WIN32_API HWND WINAPI SetFocus(HWND hWnd);
VEL_WIN32_API HWND WINAPI GetFocus(void);
VEL_WIN32_API HWND WINAPI SetActiveWindow(HWND hWnd);
VEL_WIN32_API HWND WINAPI GetActiveWindow(void);
VEL_WIN32_API BOOL WINAPI SetForegroundWindow(HWND hWnd);
VEL_WIN32_API HWND WINAPI GetForegroundWindow(void);
VEL_WIN32_API HWND WINAPI SetCapture(HWND hWnd);
VEL_WIN32_API BOOL WINAPI ReleaseCapture(void);
VEL_WIN32_API HWND WINAPI GetCapture(void);

// Keyboard and mouse.
VEL_WIN32_API SHORT WINAPI GetKeyState(int nVirtKey);
VEL_WIN32_API SHORT WINAPI GetAsyncKeyState(int vKey);
VEL_WIN32_API BOOL WINAPI GetKeyboardState(PBYTE lpKeyState);
VEL_WIN32_API SHORT WINAPI VkKeyScanA(CHAR ch);
VEL_WIN32_API UINT WINAPI MapVirtualKeyA(UINT uCode, UINT uMapType);
VEL_WIN32_API void WINAPI keybd_event(BYTE bVk, BYTE bScan, DWORD dwFlags, ULONG_PTR dwExtraInfo);
VEL_WIN32_API BOOL WINAPI GetCursorPos(LPPOINT lpPoint);
VEL_WIN32_API BOOL WINAPI SetCursorPos(int X, int Y);
VEL_WIN32_API HCURSOR WINAPI SetCursor(HCURSOR hCursor);
VEL_WIN32_API HCURSOR WINAPI GetCursor(void);
VEL_WIN32_API int WINAPI ShowCursor(BOOL bShow);
VEL_WIN32_API BOOL WINAPI MessageBeep(UINT uType);

// Hooks.
VEL_WIN32_API HHOOK WINAPI SetWindowsHookExA(int idHook, HOOKPROC lpfn, HINSTANCE hmod, DWORD dwThreadId);
VEL_WIN32_API BOOL WINAPI UnhookWindowsHookEx(HHOOK hhk);
VEL_WIN32_API LRESULT WINAPI CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam);

// Carets.
VEL_WIN32_API BOOL WINAPI CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight);
VEL_WIN32_API BOOL WINAPI DestroyCaret(void);
VEL_WIN32_API BOOL WINAPI ShowCaret(HWND hWnd);
VEL_WIN32_API BOOL WINAPI HideCaret(HWND hWnd);
VEL_WIN32_API BOOL WINAPI SetCaretPos(int X, int Y);
VEL_WIN32_API BOOL WINAPI GetCaretPos(LPPOINT lpPoint);

// Clipboard.
VEL_WIN32_API BOOL WINAPI OpenClipboard(HWND hWndNewOwner);
VEL_WIN32_API BOOL WINAPI CloseClipboard(void);
VEL_WIN32_API BOOL WINAPI EmptyClipboard(void);
VEL_WIN32_API HANDLE WINAPI SetClipboardData(UINT uFormat, HANDLE hMem);
VEL_WIN32_API HANDLE WINAPI GetClipboardData(UINT uFormat);
VEL_WIN32_API BOOL WINAPI IsClipboardFormatAvailable(UINT format);
VEL_WIN32_API HWND WINAPI GetClipboardOwner(void);

// Painting bookkeeping (drawing itself belongs to gdi32).
VEL_WIN32_API BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase);
VEL_WIN32_API BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect);
VEL_WIN32_API BOOL WINAPI UpdateWindow(HWND hWnd);
VEL_WIN32_API BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase);
VEL_WIN32_API BOOL WINAPI RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags);
VEL_WIN32_API HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint);
VEL_WIN32_API BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);
VEL_WIN32_API HDC WINAPI GetDC(HWND hWnd);
VEL_WIN32_API HDC WINAPI GetWindowDC(HWND hWnd);
VEL_WIN32_API int WINAPI ReleaseDC(HWND hWnd, HDC hDC);

// Dialog manager.
VEL_WIN32_API BOOL WINAPI IsDialogMessageA(HWND hDlg, LPMSG lpMsg);
VEL_WIN32_API LRESULT WINAPI DefDlgProcA(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam);
VEL_WIN32_API HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem);
VEL_WIN32_API int WINAPI GetDlgCtrlID(HWND hWnd);
VEL_WIN32_API HWND WINAPI GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious);
VEL_WIN32_API HWND WINAPI GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious);
VEL_WIN32_API LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam);

// Rectangles.
VEL_WIN32_API BOOL WINAPI SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom);
VEL_WIN32_API BOOL WINAPI SetRectEmpty(LPRECT lprc);
VEL_WIN32_API BOOL WINAPI CopyRect(LPRECT lprcDst, const RECT* lprcSrc);
VEL_WIN32_API BOOL WINAPI IsRectEmpty(const RECT* lprc);
VEL_WIN32_API BOOL WINAPI PtInRect(const RECT* lprc, POINT pt);
VEL_WIN32_API BOOL WINAPI OffsetRect(LPRECT lprc, int dx, int dy);
VEL_WIN32_API BOOL WINAPI InflateRect(LPRECT lprc, int dx, int dy);
VEL_WIN32_API BOOL WINAPI IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
VEL_WIN32_API BOOL WINAPI UnionRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
VEL_WIN32_API BOOL WINAPI EqualRect(const RECT* lprc1, const RECT* lprc2);

// Owner-drawn controls and mouse tracking.
typedef struct tagDRAWITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemAction;
  UINT itemState;
  HWND hwndItem;
  HDC hDC;
  RECT rcItem;
  ULONG_PTR itemData;
} DRAWITEMSTRUCT, *PDRAWITEMSTRUCT, *LPDRAWITEMSTRUCT;

typedef struct tagTRACKMOUSEEVENT {
  DWORD cbSize;
  DWORD dwFlags;
  HWND hwndTrack;
  DWORD dwHoverTime;
} TRACKMOUSEEVENT, *LPTRACKMOUSEEVENT;

VEL_WIN32_API BOOL WINAPI TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack);

VEL_WIN32_API int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);

// The edit, list and combo box classes and dialog templates.
#include "user_controls.h"
