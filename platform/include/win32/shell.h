#pragma once
// shell32: opening documents and addresses, starting programs, files dropped from the desktop.

#include "types.h"

#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31

/// Opens a document or an address with the desktop's handler (`xdg-open`), or starts a program
/// file with its parameters. Never blocks on what it starts. Returns a value above 32 on
/// success, else SE_ERR_FNF, SE_ERR_PNF, SE_ERR_ACCESSDENIED, SE_ERR_NOASSOC or 0 (no memory).
VEL_WIN32_API HINSTANCE WINAPI ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile,
                                             LPCSTR lpParameters, LPCSTR lpDirectory, INT nShowCmd);

/// Starts a program from a command line, split into arguments without a shell: blanks separate
/// arguments, double quotes group text with blanks, and two double quotes inside a quoted run
/// stand for one. Returns a value above 31 on success, else ERROR_FILE_NOT_FOUND,
/// ERROR_PATH_NOT_FOUND, ERROR_BAD_FORMAT or 0 (no memory).
VEL_WIN32_API UINT WINAPI WinExec(LPCSTR lpCmdLine, UINT uCmdShow);

/// Turns the acceptance of dropped files on or off for a window (WS_EX_ACCEPTFILES).
VEL_WIN32_API void WINAPI DragAcceptFiles(HWND hWnd, BOOL fAccept);

/// With iFile 0xFFFFFFFF, the number of dropped files. With no buffer, the length of the name
/// of file iFile (without the terminating zero). Otherwise copies at most cch - 1 characters
/// and a zero and returns the number copied; 0 for an unknown handle or index.
VEL_WIN32_API UINT WINAPI DragQueryFileA(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch);

/// Where the files were dropped, in client coordinates; TRUE when that is in the client area.
VEL_WIN32_API BOOL WINAPI DragQueryPoint(HDROP hDrop, POINT* lppt);

/// Releases a drop handle.
VEL_WIN32_API void WINAPI DragFinish(HDROP hDrop);
