#pragma once
// The boundary between the window manager and a screen. The window manager tells the backend
// about top-level windows; the backend feeds user input back through an InputSink and may bring
// its own clock. One factory picks the backend; portable code never names a concrete one.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "win32.h"

namespace vel::platform {

class Clock;

/// Where a backend delivers user input. The window manager implements it; points are in screen
/// coordinates, keys are virtual-key codes.
class InputSink {
 public:
  virtual ~InputSink() = default;
  virtual void MouseMoved(POINT screenPoint) = 0;
  /// button: 0 left, 1 right, 2 middle.
  virtual void MouseButton(int button, bool down, POINT screenPoint) = 0;
  /// The wheel turned by `delta` (WHEEL_DELTA a notch, positive away from the user; finer
  /// wheels send less) with the mouse at a screen point.
  virtual void MouseWheel(int delta, POINT screenPoint) = 0;
  /// The wheel tilted sideways by `delta` (positive to the right), as MouseWheel.
  virtual void MouseSidewaysWheel(int delta, POINT screenPoint) = 0;
  virtual void Key(BYTE virtualKey, bool down, bool extended) = 0;
  /// A character that arrived as text rather than as a key (one no key of the layout types,
  /// or text from an input method), in the ANSI code page: it reaches the focus as WM_CHAR.
  virtual void Character(char character) = 0;
  /// Files dropped at a screen point (names in the ANSI code page).
  virtual void FilesDropped(POINT screenPoint, const std::vector<std::string>& paths) = 0;
  /// The user switched to another program (false) or came back (true).
  virtual void ApplicationActivated(bool active) = 0;
  /// Writes what the screen shows (the visible top-level windows in their stacking order, on
  /// black) to a PNG file; false when it cannot be written.
  virtual bool WriteScreenPicture(const std::string& path) = 0;
};

/// A top-level window of a runtime program as the desktop names it: the program's bus name
/// and process, and the window's handle in that program.
struct ProgramWindow {
  std::string program;
  uint64_t processId = 0;
  uint64_t window = 0;
};

class DisplayBackend {
 public:
  virtual ~DisplayBackend() = default;

  /// "headless" or "sdl".
  virtual const char* Name() const = 0;
  virtual SIZE ScreenSize() const = 0;

  /// Top-level window life: the window manager reports creation, geometry, visibility, title
  /// and destruction so the backend can mirror them.
  virtual void TopLevelCreated(HWND window) = 0;
  virtual void TopLevelChanged(HWND window, const RECT& screenRect, bool visible) = 0;
  virtual void TopLevelTitleChanged(HWND window, const std::string& title) = 0;
  virtual void TopLevelDestroyed(HWND window) = 0;
  /// The icon the desktop shows for a top-level window (null: the desktop's own default).
  virtual void TopLevelIconChanged(HWND window, HICON icon) = 0;
  /// The window manager made this top-level window the active one. A desktop gives it the
  /// keyboard focus, so that typing follows the program's own activation (for instance back to
  /// the owner when a message box closes) even where no desktop window manager restores it.
  virtual void TopLevelActivated(HWND window) { (void)window; }

  /// The mouse cursor over the program's windows; null hides it (SetCursor(NULL), or a
  /// ShowCursor count below zero). May be called from any thread; the handle stays the
  /// program's, so a backend that builds something from it must notice when it is destroyed.
  virtual void CursorChanged(HCURSOR cursor) = 0;

  /// Called by a thread about to sleep for messages, without any lock held. The backend may
  /// deliver input or move its clock; it returns true when it did something, so the caller
  /// looks at its queue again instead of sleeping. nextTimerDue is the thread's earliest timer
  /// on CurrentClock(), if any.
  virtual bool Idle(std::optional<uint64_t> nextTimerDue) = 0;

  /// This program's name on the message bus between programs. A desktop that others can look
  /// into marks the program's top-level windows with it, so that another runtime program
  /// finds them under the pointer (OtherProgramWindowAt).
  virtual void NameProgram(const std::string& program, uint64_t processId) {
    (void)program;
    (void)processId;
  }
  /// The top-level window of another runtime program that the desktop shows at a screen point,
  /// above whatever else is there; nothing over a window of this program, of no runtime
  /// program, or on a desktop that shares nothing (headless).
  virtual std::optional<ProgramWindow> OtherProgramWindowAt(POINT screenPoint) {
    (void)screenPoint;
    return std::nullopt;
  }

  /// Connects the window manager's input entry point.
  void SetInputSink(InputSink* sink) { m_sink = sink; }

 protected:
  InputSink* Sink() const { return m_sink; }

 private:
  InputSink* m_sink = nullptr;
};

/// The process's backend, created on first use from VELMORA_DISPLAY: "headless", or "sdl" for
/// the desktop. Unset, the desktop is used when DISPLAY or WAYLAND_DISPLAY names one that can be
/// opened; otherwise (and when "sdl" cannot start) a one-line notice goes to standard error and
/// the headless backend is used.
DisplayBackend& CurrentDisplay();

}  // namespace vel::platform
