// A plain Win32-style program: a window with an entry field and two buttons, a timer, and
// keyboard navigation through the dialog manager. It needs no set-up of the platform layer
// and reports what happens on standard output, one line per event.

#include <cstdio>
#include <string>

#include "win32.h"

namespace {

constexpr int kFieldId = 100;
HWND g_main = nullptr;
HWND g_field = nullptr;
int g_ticks = 0;

LRESULT CALLBACK FieldProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:
      std::printf("focus field\n");
      return 0;
    case WM_CHAR: {
      if (wParam < ' ') return 0;
      char text[256] = {};
      GetWindowTextA(window, text, sizeof(text));
      std::string updated = std::string(text) + static_cast<char>(wParam);
      SetWindowTextA(window, updated.c_str());
      return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTCHARS;
    case WM_LBUTTONDOWN: SetFocus(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK MainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      std::printf("tick %d\n", ++g_ticks);
      if (g_ticks == 3) KillTimer(window, 1);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        char text[256] = {};
        GetWindowTextA(g_field, text, sizeof(text));
        std::printf("ok: %s\n", text);
        DestroyWindow(window);
      } else if (LOWORD(wParam) == IDCANCEL) {
        std::printf("cancel\n");
      }
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int main() {
  // One line per event, visible as it happens even when the output goes to a file.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  WNDCLASSA mainClass{0, MainProcedure, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "TourWindow"};
  WNDCLASSA fieldClass{CS_DBLCLKS, FieldProcedure, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "TourField"};
  if (!RegisterClassA(&mainClass) || !RegisterClassA(&fieldClass)) return 1;
  g_main = CreateWindowExA(WS_EX_CONTROLPARENT, "TourWindow", "Tour", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300,
                           nullptr, nullptr, nullptr, nullptr);
  g_field = CreateWindowExA(0, "TourField", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 10, 10, 200, 24,
                            g_main, reinterpret_cast<HMENU>(kFieldId), nullptr, nullptr);
  CreateWindowExA(0, "Button", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 100, 100, 80, 24, g_main,
                  reinterpret_cast<HMENU>(IDOK), nullptr, nullptr);
  CreateWindowExA(0, "Button", "Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 200, 100, 80, 24, g_main,
                  reinterpret_cast<HMENU>(IDCANCEL), nullptr, nullptr);
  if (g_main == nullptr || g_field == nullptr) return 1;
  ShowWindow(g_main, SW_SHOWNORMAL);
  UpdateWindow(g_main);
  SetFocus(g_field);
  SetTimer(g_main, 1, 500, nullptr);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    if (!IsDialogMessageA(g_main, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  std::fflush(stdout);
  return static_cast<int>(msg.wParam);
}
