// A plain Win32-style program for trying a display backend: a window with a blue background and
// a red box that reports clicks, typed characters, wheel turns and dropped files on standard
// output, one line per event, and ends on Escape. Over its client area it shows the hand
// cursor; typing "c" switches to a cursor of its own (hot spot 3,4), "h" hides the cursor, and
// a right click reports what the desktop shows as the cursor.

#include <cstdio>
#include <vector>

#include "platform/display/sdl/sdl_display.h"
#include "win32.h"

namespace {

HCURSOR g_cursor = nullptr;

/// A 32x32 monochrome cursor: a black square with a white border, hot spot (3, 4). The mask
/// bitmap holds the AND bits above the XOR bits, rows padded to 16 bits.
HCURSOR MakeOwnCursor() {
  std::vector<BYTE> bits(64 * 4, 0x00);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const bool inside = x < 16 && y < 16;
      const bool border = inside && (x == 0 || y == 0 || x == 15 || y == 15);
      const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
      if (!inside) bits[y * 4 + x / 8] |= bit;
      if (border) bits[(32 + y) * 4 + x / 8] |= bit;
    }
  }
  ICONINFO info{};
  info.fIcon = FALSE;
  info.xHotspot = 3;
  info.yHotspot = 4;
  info.hbmMask = CreateBitmap(32, 64, 1, 1, bits.data());
  HCURSOR cursor = CreateIconIndirect(&info);
  DeleteObject(info.hbmMask);
  return cursor;
}

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
    case WM_RBUTTONDOWN: std::printf("cursor %s\n", vel::platform::DesktopCursorDescription().c_str()); return 0;
    case WM_MOUSEWHEEL:
      std::printf("wheel %d at %d %d keys %d\n", GET_WHEEL_DELTA_WPARAM(wParam), GET_X_LPARAM(lParam),
                  GET_Y_LPARAM(lParam), static_cast<int>(GET_KEYSTATE_WPARAM(wParam)));
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        SetCursor(g_cursor);
        return TRUE;
      }
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_CHAR:
      if (wParam == VK_ESCAPE) {
        DestroyWindow(window);
      } else if (wParam == 'c') {
        g_cursor = MakeOwnCursor();
        SetCursor(g_cursor);
      } else if (wParam == 'h') {
        ShowCursor(FALSE);
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
  HDC screen = GetDC(nullptr);
  std::printf("dpi %d %d\n", GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  WNDCLASSA probeClass{};
  probeClass.lpfnWndProc = ProbeProcedure;
  probeClass.hbrBackground = CreateSolidBrush(RGB(0, 0, 255));
  probeClass.lpszClassName = "ProbeWindow";
  probeClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  g_cursor = LoadCursorA(nullptr, IDC_HAND);
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
