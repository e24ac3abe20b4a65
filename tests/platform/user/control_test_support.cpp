#include "tests/platform/user/control_test_support.h"

namespace vel::platform::usertest {
namespace {

constexpr const char* kHostClass = "ControlHost";

LRESULT CALLBACK HostProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  HostRecord& host = Host();
  switch (Msg) {
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      if (host.colors.raw != 0) return host.colors.raw;
      if (host.colors.brush == nullptr) break;
      SetTextColor(reinterpret_cast<HDC>(wParam), host.colors.text);
      SetBkColor(reinterpret_cast<HDC>(wParam), host.colors.background);
      return reinterpret_cast<LRESULT>(host.colors.brush);
    case WM_COMMAND: host.commands.emplace_back(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      host.drawItemStates.push_back(item->itemState);
      FillRect(item->hDC, &item->rcItem,
               GetSysColorBrush((item->itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_WINDOW));
      return TRUE;
    }
    case WM_SYSCOMMAND: host.systemCommands.push_back(wParam & 0xFFF0); break;
    case WM_NCHITTEST:
      if (host.probing) host.probed.push_back(WindowPixel(hWnd, host.probe.x, host.probe.y));
      break;
    default: break;
  }
  return DefWindowProcA(hWnd, Msg, wParam, lParam);
}

}  // namespace

HostRecord& Host() {
  static HostRecord record;
  return record;
}

HWND MakeHost(DWORD style, int x, int y, int width, int height, const char* title, DWORD exStyle) {
  static bool registered = [] {
    WNDCLASSA host{
        CS_DBLCLKS, HostProcedure, 0,       0,
        nullptr,    nullptr,       nullptr, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)),
        nullptr,    kHostClass};
    return RegisterClassA(&host) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowExA(exStyle, kHostClass, title, style, x, y, width, height, nullptr, nullptr, nullptr,
                         nullptr);
}

HWND MakeControl(const char* className, const char* text, DWORD style, HWND parent, int x, int y, int width,
                 int height, int id) {
  return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

COLORREF WindowPixel(HWND window, int x, int y) {
  std::unique_ptr<Surface> pixels = testing::CaptureWindowPixels(window);
  if (!pixels || x < 0 || y < 0 || x >= pixels->Width() || y >= pixels->Height()) return CLR_INVALID;
  return ColorFromPixel(pixels->Pixel(x, y) & 0xFFFFFF);
}

POINT ScreenPoint(HWND window, int x, int y) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  return point;
}

void ControlTest::SetUp() {
  WindowTest::SetUp();
  PinFontFile(testing::PinnedFontPath());
  Host() = HostRecord{};
  // The pointer starts where no test window is.
  Display().MoveMouse({1000, 760});
}

void ControlTest::TearDown() {
  WindowTest::TearDown();
  PinFontFile("");
  Host() = HostRecord{};
}

}  // namespace vel::platform::usertest
