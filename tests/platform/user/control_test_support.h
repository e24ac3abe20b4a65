#pragma once
// Test support for the standard controls and frames: a host window whose colour answers a
// test can set, control creation, pixel reading from the headless framebuffers, and the
// pinned font that golden images are drawn with.

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/font_resolver.h"
#include "platform/gdi/surface.h"
#include "tests/platform/gdi/canvas.h"
#include "tests/platform/user/message_log.h"
#include "tests/support/golden.h"

namespace vel::platform::usertest {

/// What the host window answers to WM_CTLCOLORBTN and WM_CTLCOLORSTATIC; by default (null
/// brush) it leaves them to the default window procedure.
struct HostColors {
  HBRUSH brush = nullptr;
  COLORREF text = RGB(0, 0, 0);
  COLORREF background = RGB(255, 255, 255);
  /// Answer this raw value instead (to check how bad answers are handled).
  LRESULT raw = 0;
};

/// The host's colour answers, the WM_COMMAND notifications and WM_DRAWITEM states it received.
struct HostRecord {
  HostColors colors;
  std::vector<std::pair<int, int>> commands;  ///< (control id, notification code)
  std::vector<UINT> drawItemStates;
  std::vector<WPARAM> systemCommands;
  /// When set, the colour at this window point is recorded each time the host is hit-tested
  /// (which caption button tracking does while the button is held).
  bool probing = false;
  POINT probe{};
  std::vector<COLORREF> probed;
};
HostRecord& Host();

/// A top-level host window of a class with the button face as background, recording into Host().
HWND MakeHost(DWORD style, int x, int y, int width, int height, const char* title = "Host",
              DWORD exStyle = 0);

/// A child control of a class ("Button", "Static" or a superclass), with the given text.
HWND MakeControl(const char* className, const char* text, DWORD style, HWND parent, int x, int y, int width,
                 int height, int id = 0);

/// The colour of a pixel of a window (window coordinates, frame included), as it shows now.
COLORREF WindowPixel(HWND window, int x, int y);

/// A client point of a window in screen coordinates.
POINT ScreenPoint(HWND window, int x, int y);

/// Pins the font golden images are drawn with, and clears the host record, around each test.
class ControlTest : public WindowTest {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace vel::platform::usertest
