#pragma once
// The desktop backend: every top-level window is a real window on the user's desktop (through
// SDL2), showing the window's framebuffer, with the desktop's mouse, keyboard, text input,
// clipboard and file drops fed into the window manager. This header names no SDL type, so the
// factory can include it.

#include <memory>
#include <string>

#include "platform/display/display_backend.h"

namespace vel::platform {

/// A desktop backend, or null when there is no desktop to talk to; `whyNot` then says why.
std::unique_ptr<DisplayBackend> CreateSdlDisplay(std::string* whyNot);

/// What the desktop shows as the mouse cursor, for programs that check their desktop: "hidden",
/// "system N" (the standard cursor IDC id N as the desktop's own shape), "picture WxH at X,Y"
/// (a cursor made from the program's picture, with its hot spot), or "default" (nothing set
/// yet, or a handle that named no cursor).
std::string DesktopCursorDescription();

}  // namespace vel::platform
