// Files dropped from the desktop: the shell's view of the drops the input path records.

#include <algorithm>
#include <cstring>

#include "platform/user/input_state.h"
#include "win32.h"

using namespace vel::platform;

void WINAPI DragAcceptFiles(HWND hWnd, BOOL fAccept) {
  if (!IsWindow(hWnd)) return;
  const LONG exStyle = GetWindowLongA(hWnd, GWL_EXSTYLE);
  SetWindowLongA(hWnd, GWL_EXSTYLE, fAccept ? (exStyle | WS_EX_ACCEPTFILES) : (exStyle & ~WS_EX_ACCEPTFILES));
}

UINT WINAPI DragQueryFileA(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch) {
  const DroppedFiles* files = FindDroppedFiles(hDrop);
  if (files == nullptr) return 0;
  if (iFile == 0xFFFFFFFFu) return static_cast<UINT>(files->paths.size());
  if (iFile >= files->paths.size()) return 0;
  const std::string& path = files->paths[iFile];
  if (lpszFile == nullptr) return static_cast<UINT>(path.size());
  if (cch == 0) return 0;
  const size_t copied = std::min<size_t>(path.size(), cch - 1);
  std::memcpy(lpszFile, path.data(), copied);
  lpszFile[copied] = '\0';
  return static_cast<UINT>(copied);
}

BOOL WINAPI DragQueryPoint(HDROP hDrop, POINT* lppt) {
  const DroppedFiles* files = FindDroppedFiles(hDrop);
  if (files == nullptr || lppt == nullptr) return FALSE;
  *lppt = files->point;
  return files->inNonClientArea ? FALSE : TRUE;
}

void WINAPI DragFinish(HDROP hDrop) { ReleaseDroppedFiles(hDrop); }
