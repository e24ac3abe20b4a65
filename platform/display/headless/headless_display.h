#pragma once
// A display that exists only in memory: top-level windows are records, input comes from the
// test API below (or a script given in the environment), time from a virtual clock. Nothing
// here needs a screen, so every test and any unattended run of a program can use it.

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/display/display_backend.h"
#include "platform/display/headless/virtual_clock.h"

namespace vel::platform {

/// Modifier keys held around a key press.
enum KeyModifier : unsigned { kNoModifier = 0, kShift = 1, kControl = 2, kAlt = 4 };

class HeadlessDisplay final : public DisplayBackend {
 public:
  /// Installs its virtual clock as the process clock and reads the input script named by the
  /// environment (VELMORA_HEADLESS_SCRIPT, a file, or VELMORA_HEADLESS_INPUT, steps separated
  /// by ';').
  HeadlessDisplay();
  ~HeadlessDisplay() override;

  const char* Name() const override { return "headless"; }
  SIZE ScreenSize() const override { return m_screen; }
  void TopLevelCreated(HWND window) override;
  void TopLevelChanged(HWND window, const RECT& screenRect, bool visible) override;
  void TopLevelTitleChanged(HWND window, const std::string& title) override;
  void TopLevelDestroyed(HWND window) override;
  void TopLevelIconChanged(HWND window, HICON icon) override;
  void CursorChanged(HCURSOR cursor) override;
  bool Idle(std::optional<uint64_t> nextTimerDue) override;

  // Input, delivered at once into the window manager's input path.
  void MoveMouse(POINT screenPoint);
  void MouseDown(POINT screenPoint, int button = 0);
  void MouseUp(POINT screenPoint, int button = 0);
  /// Press and release at one point.
  void Click(POINT screenPoint, int button = 0);
  void DoubleClick(POINT screenPoint, int button = 0);
  /// Turns the wheel with the mouse at a point: `delta` in WHEEL_DELTA units a notch, positive
  /// away from the user.
  void Wheel(POINT screenPoint, int delta);
  /// Tilts the wheel sideways with the mouse at a point: `delta` positive to the right.
  void SidewaysWheel(POINT screenPoint, int delta);
  void KeyDown(BYTE virtualKey);
  void KeyUp(BYTE virtualKey);
  /// Presses and releases a key with modifiers held around it.
  void PressKey(BYTE virtualKey, unsigned modifiers = kNoModifier);
  /// Types text in the ANSI code page: each character with the key (and Shift) that produces
  /// it, or, for a character no key types (such as an accented letter), as the character alone.
  void TypeText(const std::string& text);
  void DropFiles(POINT screenPoint, const std::vector<std::string>& paths);
  /// Writes what the screen shows to a PNG file; false when it cannot be written.
  bool WriteScreenPicture(const std::string& path);
  /// The user switches to another program and back.
  void SwitchAway();
  void SwitchBack();

  VirtualClock& Clock() { return m_clock; }
  void AdvanceClock(uint64_t milliseconds) { m_clock.Advance(milliseconds); }

  /// What the display shows: the top-level windows it knows, in creation order.
  struct TopLevel {
    HWND window;
    RECT rect;
    bool visible;
    std::string title;
    /// The icon the window shows on the desktop (null: none of its own).
    HICON icon = nullptr;
  };
  std::vector<TopLevel> TopLevels() const;

  /// The cursor the display shows now: null while hidden or before any was set.
  HCURSOR ShownCursor() const;
  /// How often the window manager told the display about the cursor.
  int CursorChanges() const;

  /// Queues script steps to run one per idle point (each time a thread would sleep for
  /// messages). Steps are separated by ';' (or lines in a script file), '#' starts a comment:
  ///   key NAME [shift] [ctrl] [alt]   (NAME: a character, TAB, RETURN, ESCAPE, F1..F12, 0x41...)
  ///   text WORDS...                   move X Y   click X Y [right|middle]   dblclick X Y
  ///   down X Y   up X Y               wait MILLISECONDS   drop X Y PATH...   away   back
  ///   wheel X Y NOTCHES               (NOTCHES: positive turns away from the user, up)
  ///   hwheel X Y NOTCHES              (NOTCHES: positive tilts to the right)
  ///   snapshot PATH                   (writes the screen to a PNG file)
  /// Points are screen coordinates. Returns false, queues nothing and explains in `error` when a
  /// step is malformed. When a script from the environment is used up and the program would
  /// wait for input with no timer pending, the process ends with exit code 3.
  bool QueueScript(const std::string& steps, std::string* error = nullptr);
  bool ScriptPending() const;
  /// Drops the next queued step without running it.
  void DiscardScriptStep();

 private:
  bool RunScriptStep(const std::string& step, std::string* error, bool execute);

  SIZE m_screen{1024, 768};
  VirtualClock m_clock;
  mutable std::mutex m_mutex;
  std::vector<TopLevel> m_windows;
  std::deque<std::string> m_script;
  bool m_scriptGiven = false;
  HCURSOR m_cursor = nullptr;
  int m_cursorChanges = 0;
};

/// The headless backend when it is the process's display, else null.
HeadlessDisplay* CurrentHeadlessDisplay();

}  // namespace vel::platform
