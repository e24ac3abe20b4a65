// A tour of the platform layer's standard user interface: classic buttons, check boxes, radio
// buttons, a group box and labels, a menu bar with accelerators, tooltips and message boxes.
// It is an ordinary Win32-style program: linked with velplatform it runs on the desktop (SDL)
// or on the headless display without a line of set-up code. Every user action is reported on
// standard output, one line each, so that scripts can drive it and check what happened.

#include <cstdio>
#include <string>

#include "win32.h"

namespace {

enum CommandId : WORD {
  kGreet = 100,
  kAsk = 101,
  kLoud = 102,
  kSmall = 103,
  kLarge = 104,
  kLocked = 105,
  kMenuGreet = 200,
  kMenuExit = 201,
  kMenuToggleLoud = 202,
  kMenuUnavailable = 203,
  kMenuAbout = 204,
};

HWND g_main = nullptr;
HWND g_status = nullptr;
HWND g_tooltip = nullptr;
HMENU g_optionsMenu = nullptr;

void Report(const std::string& line) {
  std::printf("%s\n", line.c_str());
  if (g_status != nullptr) SetWindowTextA(g_status, line.c_str());
}

bool IsLoud() { return SendDlgItemMessageA(g_main, kLoud, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Greet() {
  bool large = SendDlgItemMessageA(g_main, kLarge, BM_GETCHECK, 0, 0) == BST_CHECKED;
  std::string greeting = large ? "Hello, wide world" : "Hello";
  greeting += IsLoud() ? "!" : ".";
  Report("greet: " + greeting);
}

void Ask() {
  int answer = MessageBoxA(g_main, "Do you like classic controls?\n\nThe answer is printed on standard output.",
                           "Control tour", MB_YESNOCANCEL | MB_ICONQUESTION);
  const char* name = answer == IDYES ? "yes" : answer == IDNO ? "no" : "cancel";
  Report(std::string("answer: ") + name);
}

void ToggleLoud() {
  bool loud = !IsLoud();
  SendDlgItemMessageA(g_main, kLoud, BM_SETCHECK, loud ? BST_CHECKED : BST_UNCHECKED, 0);
  Report(loud ? "loud: on" : "loud: off");
}

HWND CreateChild(const char* className, const char* text, DWORD style, int x, int y, int width, int height,
                 WORD id) {
  HWND child = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, g_main,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return child;
}

void AddTip(HWND control, const char* text) {
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = g_main;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<LPSTR>(text);
  SendMessageA(g_tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void CreateControls() {
  CreateChild("Static", "Press a button, use the menu or hover for &tips:", SS_LEFT, 12, 12, 300, 16, 0xFFFF);
  HWND greet = CreateChild("Button", "&Greet", WS_TABSTOP | BS_DEFPUSHBUTTON, 12, 36, 88, 26, kGreet);
  HWND ask = CreateChild("Button", "&Ask...", WS_TABSTOP | BS_PUSHBUTTON, 108, 36, 88, 26, kAsk);
  HWND locked = CreateChild("Button", "Locked", WS_TABSTOP | BS_PUSHBUTTON, 204, 36, 88, 26, kLocked);
  EnableWindow(locked, FALSE);
  HWND loud = CreateChild("Button", "&Loud greeting", WS_TABSTOP | BS_AUTOCHECKBOX, 12, 74, 150, 20, kLoud);
  CreateChild("Button", "Size", BS_GROUPBOX, 176, 68, 136, 72, 0xFFFF);
  HWND small = CreateChild("Button", "&Small", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 188, 88, 110, 20, kSmall);
  CreateChild("Button", "La&rge", BS_AUTORADIOBUTTON, 188, 112, 110, 20, kLarge);
  SendMessageA(small, BM_SETCHECK, BST_CHECKED, 0);
  g_status = CreateChild("Static", "Ready", SS_LEFT | SS_NOPREFIX | SS_SUNKEN, 12, 152, 300, 20, 0xFFFF);

  g_tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, g_main, nullptr, nullptr, nullptr);
  AddTip(greet, "Say hello (Ctrl+G)");
  AddTip(ask, "Ask a question in a message box");
  AddTip(loud, "End the greeting with an exclamation mark");
  SetFocus(greet);
}

HMENU CreateMenuBar() {
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, kMenuGreet, "&Greet\tCtrl+G");
  AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(file, MF_STRING, kMenuExit, "E&xit");
  g_optionsMenu = CreatePopupMenu();
  AppendMenuA(g_optionsMenu, MF_STRING, kMenuToggleLoud, "&Loud greeting\tCtrl+L");
  AppendMenuA(g_optionsMenu, MF_STRING | MF_GRAYED, kMenuUnavailable, "&Unavailable");
  HMENU help = CreatePopupMenu();
  AppendMenuA(help, MF_STRING, kMenuAbout, "&About...\tF1");
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(g_optionsMenu), "&Options");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
  return bar;
}

HACCEL CreateShortcuts() {
  constexpr BYTE kControlKey = FVIRTKEY | FCONTROL;
  ACCEL keys[] = {
      {kControlKey, 'G', kMenuGreet},
      {kControlKey, 'L', kMenuToggleLoud},
      {FVIRTKEY, VK_F1, kMenuAbout},
  };
  return CreateAcceleratorTableA(keys, static_cast<int>(sizeof keys / sizeof keys[0]));
}

void Command(WORD id) {
  switch (id) {
    case kGreet:
    case kMenuGreet: Greet(); break;
    case kAsk: Ask(); break;
    case kLoud: Report(IsLoud() ? "loud: on" : "loud: off"); break;
    case kSmall: Report("size: small"); break;
    case kLarge: Report("size: large"); break;
    case kMenuToggleLoud: ToggleLoud(); break;
    case kMenuAbout:
      MessageBoxA(g_main, "A tour of the classic controls drawn by the platform layer.", "About the control tour",
                  MB_OK | MB_ICONINFORMATION);
      Report("about");
      break;
    case kMenuExit: DestroyWindow(g_main); break;
    default: break;
  }
}

LRESULT CALLBACK MainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: Command(LOWORD(wParam)); return 0;
    case WM_INITMENUPOPUP:
      if (reinterpret_cast<HMENU>(wParam) == g_optionsMenu) {
        CheckMenuItem(g_optionsMenu, kMenuToggleLoud, MF_BYCOMMAND | (IsLoud() ? MF_CHECKED : MF_UNCHECKED));
      }
      return 0;
    case WM_CLOSE: Report("closing"); DestroyWindow(window); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  InitCommonControls();
  WNDCLASSA mainClass{};
  mainClass.lpfnWndProc = MainProcedure;
  mainClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  mainClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  mainClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  mainClass.lpszClassName = "ControlTour";
  if (!RegisterClassA(&mainClass)) return 1;
  RECT frame{0, 0, 324, 184};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW & ~(WS_THICKFRAME | WS_MAXIMIZEBOX), TRUE, WS_EX_CONTROLPARENT);
  g_main = CreateWindowExA(WS_EX_CONTROLPARENT, "ControlTour", "Control tour",
                           WS_OVERLAPPEDWINDOW & ~(WS_THICKFRAME | WS_MAXIMIZEBOX), 80, 80, frame.right - frame.left,
                           frame.bottom - frame.top, nullptr, CreateMenuBar(), nullptr, nullptr);
  if (g_main == nullptr) return 1;
  CreateControls();
  HACCEL shortcuts = CreateShortcuts();
  ShowWindow(g_main, SW_SHOWNORMAL);
  UpdateWindow(g_main);
  std::printf("ready\n");

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    if (TranslateAcceleratorA(g_main, shortcuts, &msg)) continue;
    if (IsDialogMessageA(g_main, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  DestroyAcceleratorTable(shortcuts);
  return static_cast<int>(msg.wParam);
}
