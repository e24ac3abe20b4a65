#pragma once
// The window object: one per open window. The procedure owns the object; the runtime owns what
// it points to (the platform windows, the event queue, the controls) and releases it when the
// window closes.

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/windows/definition_types.h"
#include "runtime/windows/event_record.h"
#include "runtime/windows/identifier_list.h"
#include "runtime/windows/key_table.h"
#include "runtime/windows/unit_conversion.h"
#include "runtime/windows/window_icons.h"
#include "runtime/windows/window_object_controls.h"
#include "win32.h"

namespace vel::windows {

/// A registered event handler. It returns true to stop the walk over later registrations;
/// either way the event is consumed and does not reach the ACCEPT loop.
using EventHandlerProcedure = bool (*)(std::intptr_t context);

struct WindowMenuBar;
class StatusBar;

struct EventHandler {
  std::int32_t code = 0;
  EventHandlerProcedure procedure = nullptr;
  std::intptr_t context = 0;
  /// 0 = the window itself.
  std::int32_t field = 0;
  bool anyControl = false;
};

/// The closing states of a window.
enum ClosingState : int { kNotClosing = 0, kChildAskedToClose = 1, kClosing = 2 };

struct WindowObject {
  WindowObject();
  WindowObject(const WindowObject&) = delete;
  WindowObject& operator=(const WindowObject&) = delete;
  /// A window object that goes out of scope while open is closed first.
  ~WindowObject();

  /// The platform window; null when the window is not open, which ends its ACCEPT loop.
  HWND handle = nullptr;
  /// The client window, parent of the controls.
  HWND client = nullptr;

  /// Offset of the window record in the current-definition buffer while the window is built.
  std::uint32_t definitionOffset = 0;
  /// The USE addresses given at open, and a cursor into them.
  std::vector<void*> useAddresses;
  std::size_t useCursor = 0;

  /// Drawing state: the unit and the font facts the unit converts with.
  std::uint32_t flags = 0;
  UnitMetrics metrics;
  /// The window font's record: the definition's, else the opener's, else none (the system
  /// font); and the font object made from it, which the window owns.
  std::optional<FontRecord> font;
  HFONT fontHandle = nullptr;

  std::uint32_t attributes = 0;
  /// The definition's colour triple; the first is the background behind the controls (not
  /// given: the system's button-face colour).
  ColourTriple colours;
  /// The window element's extra flags: bit 0001h switches the tooltips of its controls off.
  std::uint16_t extraFlags = 0;
  std::string title;
  /// The class icon and cursor, and the names they were loaded by (a definition's binary
  /// names in their run-time byte form).
  HeldIcon icon;
  HeldIcon cursor;
  std::string iconName;
  std::string cursorName;
  /// True when the definition names an icon (the window then has a minimise box).
  bool definitionHasIcon = false;
  /// The module the definition was found in; icon and cursor resources are looked up there.
  HMODULE resourceModule = nullptr;
  std::optional<std::string> defaultMessage;
  std::optional<std::string> defaultHelp;
  std::vector<std::int32_t> keys;
  /// The window's alert keys (a plain key set from `keys`) and its controls' hot keys (a
  /// command table).
  KeyTable alertKeys;
  KeyTable hotKeys;
  std::int32_t palette = 0;
  /// Timer interval in hundredths of a second; 0 = none.
  std::int32_t timerInterval = 0;
  bool timerRunning = false;
  bool timerPending = false;
  /// The idle timer (timer 2): the event it posts and its interval in hundredths of a second.
  std::int32_t idleEvent = 0;
  std::int32_t idleInterval = 0;
  std::vector<std::int32_t> statusZones;

  /// The menu bar built from the definition, or null.
  std::unique_ptr<WindowMenuBar> menuBar;
  /// The toolbar's window (and its control when a toolbar kind made it), or null.
  HWND toolbar = nullptr;
  WindowControl* toolbarControl = nullptr;
  /// The status bar when the definition gives zones, or null.
  std::unique_ptr<StatusBar> statusBar;
  /// The other windows a modal window disabled when it was shown; only these come back when
  /// it closes, so an outer modal window keeps its own windows disabled.
  std::vector<HWND> disabledForModal;

  std::deque<std::unique_ptr<EventRecord>> queue;
  std::unique_ptr<EventRecord> currentEvent;
  /// True while the current event is with the procedure, until it comes back to ACCEPT.
  bool eventWithProcedure = false;
  /// Set by the procedure to refuse the current event.
  bool eventRefused = false;

  std::vector<std::unique_ptr<WindowControl>> controls;
  /// The window's drop identifiers (its definition's, then as properties set them).
  IdentifierList dropIdentifiers;
  /// The control window that last had the focus, not counting skip controls; the focus goes
  /// back there after a skip control was used.
  HWND lastFocusWindow = nullptr;
  std::int32_t lastSelectedField = 0;
  bool acceptAll = false;
  /// Field visited last by the accept-all pass (0 at the start of a pass).
  std::int32_t acceptAllField = 0;
  int closingState = kNotClosing;
  int threadSlot = -1;
  int nesting = 0;
  bool shown = false;
  bool suspended = false;
  bool modal = false;
  /// True once opening has finished; size and move events are posted only after that.
  bool opened = false;
  /// Set while a refusable system command is carried out after the procedure took its event.
  bool carryingOutCommand = false;
  /// The last window state reported (minimised, maximised), for Iconized, Maximized, Restored.
  bool wasIconic = false;
  bool wasZoomed = false;
  unsigned classNumber = 0;
  std::string className;
  /// The thread's current window when this one opened; it becomes current again at close.
  WindowObject* opener = nullptr;
  std::vector<EventHandler> handlers;

  /// The control or menu item with a field number, or null.
  WindowControl* ControlOfField(std::int32_t field) const;
  /// The next address of the USE list, or null when the list is used up.
  void* TakeUseAddress();
  /// The control whose window has the focus (or contains it), or null.
  WindowControl* FocusControl() const;
  /// The control whose window is `handle` or contains it (the innermost such control), or null.
  WindowControl* ControlOfHandle(HWND handle) const;
  /// The field number an event about `control` reports: its number when it is a field, else 0.
  static std::int32_t FieldOf(const WindowControl* control);
};

/// The windows open now, in the order they were opened.
std::vector<WindowObject*>& OpenWindows();

/// True when `window` is in the list of open windows.
bool IsOpenWindow(const WindowObject* window);

/// The window object kept in a runtime window (top-level or client), or null.
WindowObject* WindowObjectOf(HWND window);

}  // namespace vel::windows
