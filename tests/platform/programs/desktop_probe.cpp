// A plain Win32-style program for trying a display backend: a window with a blue background and
// a red box that reports clicks, typed characters and dropped files on standard output, one line
// per event, and ends on Escape.

#include <cstdio>

#include "win32.h"

namespace {

LRESULT CALLBACK ProbeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT box{10, 10, 110, 60};
      HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
      FillRect(dc, &box, red);
      DeleteObject(red);
      TextOutA(dc, 10, 80, "Probe", 5);
      EndPaint(window, &paint);
      std::printf("painted\n");
      return 0;
    }
    case WM_LBUTTONDOWN:
      std::printf("click %d %d\n", static_cast<int>(static_cast<short>(LOWORD(lParam))),
                  static_cast<int>(static_cast<short>(HIWORD(lParam))));
      return 0;
    case WM_CHAR:
      if (wParam == VK_ESCAPE) {
        DestroyWindow(window);
      } else if (wParam >= ' ') {
        std::printf("char %c\n", static_cast<char>(wParam));
      }
      return 0;
    case WM_DROPFILES: {
      auto drop = reinterpret_cast<HDROP>(wParam);
      char name[MAX_PATH];
      for (UINT i = 0; i < DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0); ++i) {
        if (DragQueryFileA(drop, i, name, sizeof name) > 0) std::printf("dropped %s\n", name);
      }
      DragFinish(drop);
      return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  WNDCLASSA probeClass{};
  probeClass.lpfnWndProc = ProbeProcedure;
  probeClass.hbrBackground = CreateSolidBrush(RGB(0, 0, 255));
  probeClass.lpszClassName = "ProbeWindow";
  if (!RegisterClassA(&probeClass)) return 1;
  HWND window = CreateWindowExA(0, "ProbeWindow", "Probe", WS_POPUP | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
  if (window == nullptr) return 1;
  DragAcceptFiles(window, TRUE);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
