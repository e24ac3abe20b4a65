#pragma once
// What the desktop backend knows of one top-level window: the window manager's view (kept
// under the backend's lock, from any thread) and the desktop window that shows it (touched only
// by the thread that runs SDL).

#include <SDL.h>

#include <string>

#include "win32.h"

namespace vel::platform {

struct SdlWindowMirror {
  HWND window = nullptr;
  RECT rect{};
  bool visible = false;
  std::string title;
  bool destroyed = false;
  /// Set when the window manager's view changed since the desktop window last followed it.
  bool changed = true;

  // The desktop side, owned by the SDL thread.
  SDL_Window* desktopWindow = nullptr;
  RECT shownRect{};
  bool shownVisible = false;
  bool shownMinimized = false;
  std::string shownTitle;
};

}  // namespace vel::platform
