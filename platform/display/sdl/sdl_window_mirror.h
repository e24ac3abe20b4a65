#pragma once
// What the desktop backend knows of one top-level window: the window manager's view (kept
// under the backend's lock, from any thread) and the desktop window that shows it (touched only
// by the thread that runs SDL).

#include <SDL.h>

#include <optional>
#include <string>

#include "platform/display/sdl/desktop_pictures.h"
#include "win32.h"

namespace vel::platform {

struct SdlWindowMirror {
  HWND window = nullptr;
  RECT rect{};
  bool visible = false;
  std::string title;
  /// The icon's picture, taken when the window manager reported it (the handle may be gone
  /// by the time the desktop window exists); set up to date while `iconChanged`.
  std::optional<DesktopPicture> icon;
  bool iconChanged = false;
  /// The program activated the window; the desktop window should take the keyboard focus.
  bool wantsFocus = false;
  bool destroyed = false;
  /// Set when the window manager's view changed since the desktop window last followed it.
  bool changed = true;

  // The desktop side, owned by the SDL thread.
  SDL_Window* desktopWindow = nullptr;
  RECT shownRect{};
  bool shownVisible = false;
  bool shownMinimized = false;
  /// Kept above other programs' windows (the window manager's WS_EX_TOPMOST).
  bool shownTopmost = false;
  std::string shownTitle;
  /// The X window last marked as this program's (x11_program_windows.h), or 0.
  unsigned long markedX11Window = 0;
};

}  // namespace vel::platform
