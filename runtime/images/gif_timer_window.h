#pragma once
// The hidden window that drives a GIF image's animation: a pop-up of the class
// "VelTimerWinClass" (registered once per process with the program's instance), whose window
// data holds the image and whose timer 1 advances it.

#include "win32.h"

namespace vel::images {

class GifImage;

/// The class name of animation timer windows.
constexpr char kGifTimerWindowClass[] = "VelTimerWinClass";
/// The identifier of the animation timer on its window.
constexpr UINT_PTR kGifAnimationTimer = 1;

/// A hidden timer window for `image`, on the calling thread; null when none can be made.
HWND CreateGifTimerWindow(GifImage& image);

}  // namespace vel::images
