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

// Help requests (WinHelpA's uCommand).
#define HELP_CONTEXT 0x0001
#define HELP_QUIT 0x0002
#define HELP_INDEX 0x0003
#define HELP_CONTENTS 0x0003
#define HELP_HELPONHELP 0x0004
#define HELP_SETINDEX 0x0005
#define HELP_SETCONTENTS 0x0005
#define HELP_CONTEXTPOPUP 0x0008
#define HELP_FORCEFILE 0x0009
#define HELP_FINDER 0x000B
#define HELP_KEY 0x0101
#define HELP_COMMAND 0x0102
#define HELP_PARTIALKEY 0x0105

/// Shows a help file with the desktop's handler (`xdg-open`), found as named, beside the program
/// or in the Windows directory; a ">window" suffix is ignored. The topic, keyword or macro
/// cannot be passed to a desktop viewer, so each request that shows help opens the file.
/// HELP_QUIT and HELP_SETINDEX succeed without doing anything; HELP_HELPONHELP and a missing
/// file fail with ERROR_FILE_NOT_FOUND. (A user32 function in the original grouping; it lives
/// here beside the launcher it shares with ShellExecuteA.)
VEL_WIN32_API BOOL WINAPI WinHelpA(HWND hWndMain, LPCSTR lpszHelp, UINT uCommand, ULONG_PTR dwData);

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
