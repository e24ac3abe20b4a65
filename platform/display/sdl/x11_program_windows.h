#pragma once
// Runtime programs on one X11 desktop finding each other's windows. Each program marks its
// desktop windows with a property naming the program (its bus name and process) and the
// window's handle there; a program dragging something asks the X server which top-level window
// lies under a point and reads that property. Only what the property says is trusted: a window
// without it, or with one that does not read, belongs to no runtime program.

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/display/display_backend.h"
#include "win32.h"

struct _XDisplay;
struct SDL_Window;

namespace vel::platform {

/// The property's text: "<program> <process id> <window handle>" (decimal numbers).
std::string ProgramWindowText(const ProgramWindow& window);
/// Reads a property's text; nothing unless it is exactly that form.
std::optional<ProgramWindow> ParseProgramWindowText(const std::string& text);

class X11ProgramWindows {
 public:
  /// Null unless the desktop is X11. Lookups get a connection of their own, opened at the first
  /// one: they run on whatever thread drags, never on SDL's, and most programs never drag.
  static std::unique_ptr<X11ProgramWindows> Open(const char* videoDriver);
  ~X11ProgramWindows();
  X11ProgramWindows(const X11ProgramWindows&) = delete;
  X11ProgramWindows& operator=(const X11ProgramWindows&) = delete;

  /// Marks a desktop window as `window` of its program, unless its X window is `marked`
  /// already; `marked` then names the X window (SDL thread).
  void Mark(SDL_Window* desktopWindow, const ProgramWindow& window, unsigned long& marked);
  /// The marked window on top at a point of the desktop (in its units), or nothing.
  std::optional<ProgramWindow> MarkedWindowAt(int x, int y);

 private:
  X11ProgramWindows() = default;
  /// The property's atom, interned on `display` the first time (atoms are the server's, so one
  /// value serves every connection). Lock held.
  unsigned long Property(_XDisplay* display);

  std::mutex m_mutex;
  _XDisplay* m_lookups = nullptr;
  bool m_lookupsTried = false;
  unsigned long m_property = 0;
};

}  // namespace vel::platform
