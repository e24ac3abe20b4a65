#include "runtime/images/gif_timer_window.h"

#include "runtime/images/gif_image.h"

namespace vel::images {
namespace {

LRESULT CALLBACK TimerWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kGifAnimationTimer) {
    if (auto* image = reinterpret_cast<GifImage*>(GetWindowLongPtrA(window, 0))) image->OnTimer();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterTimerWindowClass() {
  static const bool registered = [] {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing{};
    if (GetClassInfoA(instance, kGifTimerWindowClass, &existing)) return true;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = TimerWindowProcedure;
    windowClass.cbWndExtra = sizeof(LONG_PTR);
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kGifTimerWindowClass;
    return RegisterClassA(&windowClass) != 0;
  }();
  return registered;
}

}  // namespace

HWND CreateGifTimerWindow(GifImage& image) {
  if (!RegisterTimerWindowClass()) return nullptr;
  HWND window = CreateWindowExA(0, kGifTimerWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (window != nullptr) SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(&image));
  return window;
}

}  // namespace vel::images
