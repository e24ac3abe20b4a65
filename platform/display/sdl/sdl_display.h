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

}  // namespace vel::platform
