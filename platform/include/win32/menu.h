#pragma once
// user32: menus, menu bars, popup menus and keyboard accelerator tables.

#include "types.h"
#include "user.h"

// Menu item flags for AppendMenuA, InsertMenuA, ModifyMenuA and the state queries.
#define MF_INSERT 0x00000000L
#define MF_CHANGE 0x00000080L
#define MF_APPEND 0x00000100L
#define MF_DELETE 0x00000200L
#define MF_REMOVE 0x00001000L
#define MF_BYCOMMAND 0x00000000L
#define MF_BYPOSITION 0x00000400L
#define MF_SEPARATOR 0x00000800L
#define MF_ENABLED 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_UNCHECKED 0x00000000L
#define MF_CHECKED 0x00000008L
#define MF_USECHECKBITMAPS 0x00000200L
#define MF_STRING 0x00000000L
#define MF_BITMAP 0x00000004L
#define MF_OWNERDRAW 0x00000100L
#define MF_POPUP 0x00000010L
#define MF_MENUBARBREAK 0x00000020L
#define MF_MENUBREAK 0x00000040L
#define MF_UNHILITE 0x00000000L
#define MF_HILITE 0x00000080L
#define MF_DEFAULT 0x00001000L
#define MF_SYSMENU 0x00002000L
#define MF_HELP 0x00004000L
#define MF_RIGHTJUSTIFY 0x00004000L
#define MF_MOUSESELECT 0x00008000L

// TrackPopupMenu flags.
#define TPM_LEFTBUTTON 0x0000L
#define TPM_RIGHTBUTTON 0x0002L
#define TPM_LEFTALIGN 0x0000L
#define TPM_CENTERALIGN 0x0004L
#define TPM_RIGHTALIGN 0x0008L
#define TPM_TOPALIGN 0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN 0x0020L
#define TPM_NONOTIFY 0x0080L
#define TPM_RETURNCMD 0x0100L

// WM_MENUCHAR answers (high word of the result).
#define MNC_IGNORE 0
#define MNC_CLOSE 1
#define MNC_EXECUTE 2
#define MNC_SELECT 3

#ifndef SC_MOUSEMENU
#define SC_MOUSEMENU 0xF090
#endif
#ifndef WM_UNINITMENUPOPUP
#define WM_UNINITMENUPOPUP 0x0125
#endif

// Accelerator flags (ACCEL.fVirt).
#define FVIRTKEY 0x01
#define FNOINVERT 0x02
#define FSHIFT 0x04
#define FCONTROL 0x08
#define FALT 0x10

#ifndef ERROR_INVALID_MENU_HANDLE
#define ERROR_INVALID_MENU_HANDLE 1401L
#endif
#ifndef ERROR_INVALID_ACCEL_HANDLE
#define ERROR_INVALID_ACCEL_HANDLE 1403L
#endif
#ifndef ERROR_CHILD_WINDOW_MENU
#define ERROR_CHILD_WINDOW_MENU 1436L
#endif
#ifndef ERROR_MENU_ITEM_NOT_FOUND
#define ERROR_MENU_ITEM_NOT_FOUND 1456L
#endif

typedef struct tagACCEL {
  BYTE fVirt;
  WORD key;
  WORD cmd;
} ACCEL, *LPACCEL;

// Menus.
VEL_WIN32_API HMENU WINAPI CreateMenu(void);
VEL_WIN32_API HMENU WINAPI CreatePopupMenu(void);
VEL_WIN32_API BOOL WINAPI DestroyMenu(HMENU hMenu);
VEL_WIN32_API BOOL WINAPI IsMenu(HMENU hMenu);
VEL_WIN32_API BOOL WINAPI AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem);
VEL_WIN32_API BOOL WINAPI InsertMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem,
                                      LPCSTR lpNewItem);
VEL_WIN32_API BOOL WINAPI ModifyMenuA(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem,
                                      LPCSTR lpNewItem);
VEL_WIN32_API BOOL WINAPI DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
VEL_WIN32_API BOOL WINAPI RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
VEL_WIN32_API DWORD WINAPI CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck);
VEL_WIN32_API BOOL WINAPI EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);
VEL_WIN32_API BOOL WINAPI CheckMenuRadioItem(HMENU hmenu, UINT first, UINT last, UINT check, UINT flags);
VEL_WIN32_API HMENU WINAPI GetSubMenu(HMENU hMenu, int nPos);
VEL_WIN32_API int WINAPI GetMenuItemCount(HMENU hMenu);
VEL_WIN32_API UINT WINAPI GetMenuItemID(HMENU hMenu, int nPos);
VEL_WIN32_API UINT WINAPI GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);
VEL_WIN32_API int WINAPI GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR lpString, int cchMax, UINT flags);
VEL_WIN32_API HMENU WINAPI GetMenu(HWND hWnd);
VEL_WIN32_API BOOL WINAPI SetMenu(HWND hWnd, HMENU hMenu);
VEL_WIN32_API BOOL WINAPI DrawMenuBar(HWND hWnd);
VEL_WIN32_API BOOL WINAPI TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd,
                                         const RECT* prcRect);
VEL_WIN32_API BOOL WINAPI EndMenu(void);
/// The window menu behind the caption icon (its items are SC_* commands); with bRevert, the
/// standard one again, returning NULL. NULL for a window without WS_SYSMENU.
VEL_WIN32_API HMENU WINAPI GetSystemMenu(HWND hWnd, BOOL bRevert);

// Accelerators.
VEL_WIN32_API HACCEL WINAPI CreateAcceleratorTableA(LPACCEL paccel, int cAccel);
VEL_WIN32_API BOOL WINAPI DestroyAcceleratorTable(HACCEL hAccel);
VEL_WIN32_API int WINAPI CopyAcceleratorTableA(HACCEL hAccelSrc, LPACCEL lpAccelDst, int cAccelEntries);
VEL_WIN32_API int WINAPI TranslateAcceleratorA(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg);
