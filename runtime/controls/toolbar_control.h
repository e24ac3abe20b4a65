#pragma once
// The toolbar: a child window along the top of a runtime window that holds its own row of
// controls (typically flat icon buttons) and passes their traffic on to the window. Its controls
// are built into the toolbar's window and carry the toolbar state (0001h): they are never the
// default button and keep their hot keys out of the window's table. The toolbar keeps two key
// tables of its own instead, which the window consults after its menu shortcuts: the hot keys
// ("&" letters) of its controls, and the key codes its buttons' definitions give.

#include <cstdint>
#include <memory>

#include "runtime/controls/control_container.h"
#include "runtime/controls/control_font.h"
#include "runtime/controls/window_element.h"
#include "runtime/windows/definition_view.h"
#include "runtime/windows/key_table.h"
#include "runtime/windows/window_icons.h"
#include "runtime/windows/window_object_controls.h"
#include "win32.h"

namespace vel::controls {

/// The toolbar's window class.
inline constexpr char kToolbarClassName[] = "VelToolBar";
/// Where the toolbar window keeps its object: after the dialog manager's extra bytes.
inline constexpr int kToolbarObjectOffset = DLGWINDOWEXTRA;
/// The runtime error of a toolbar made with no window to build it in (module "CTLMAIN").
inline constexpr std::int32_t kErrorNoToolbarPrototype = 507;

class WindowedControl;

class ToolbarControl : public WindowElement, public windows::WindowControl, public ControlContainer {
 public:
  ToolbarControl(const windows::Record& record, windows::WindowObject& window);
  /// Destroys the toolbar window when it is still there; its messages no longer reach this
  /// object while it goes.
  ~ToolbarControl() override;

  // What the window manager asks of every control: a toolbar has no value of its own.
  std::int32_t FieldNumber() const override { return m_field; }
  bool IsField() const override { return false; }
  HWND Handle() const override { return m_handle; }
  bool HasUseVariable() const override { return false; }
  void Redisplay() override {}
  void StoreDisplayedValue() override {}
  bool Validate() override { return true; }
  void SetSelection(std::int32_t, std::int32_t) override {}
  bool OnSelected() override { return true; }
  /// The toolbar's key tables, then the dialog navigation among its controls while one of
  /// them has the focus.
  bool PreTranslate(MSG& message) override;

  /// The toolbar's controls that own a hot key or a key code, as its key tables hold them.
  const windows::KeyTable& HotKeys() const { return m_hotKeys; }
  const windows::KeyTable& ButtonKeys() const { return m_buttonKeys; }
  /// The right and bottom edges of the toolbar's controls, in toolbar pixels.
  SIZE UsedExtent() const { return m_used; }
  /// The colour value the toolbar's background shows: its first colour, else the button face.
  std::uint32_t BackgroundValue() const;

  /// The window procedure's handling of one message (toolbar_window.cpp).
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  /// Makes the toolbar of `window` from its record: the toolbar window, then the controls of
  /// its chain inside it. The toolbar is entered in `window.controls` ahead of its controls.
  /// With no window being built (null, or one without a platform window) it raises error 507
  /// and answers null.
  static ToolbarControl* Create(windows::WindowObject* window, const windows::DefinitionView& view,
                                const windows::Record& record);

 private:
  /// Rebuilds both key tables from the toolbar's enabled, shown controls.
  void RebuildKeyTables();
  /// Fits the toolbar's height to its record (or its controls) and asks the window to lay out.
  void SizeToControls(const windows::Record& record);
  /// The toolbar's control whose window is `window` or the one whose child identifier is
  /// `identifier` (for notifications), or null.
  WindowedControl* ChildOfWindow(HWND window) const;
  WindowedControl* ChildWithIdentifier(UINT_PTR identifier) const;

  void Paint();
  LRESULT SetCursorOver();
  LRESULT ControlColours(WPARAM deviceContext, LPARAM painting);
  LRESULT PassNotification(WPARAM wParam, LPARAM lParam);
  void CloseDropListOnClick();

  FontColourData m_fontData;
  windows::ColourTriple m_colours;
  HWND m_handle = nullptr;
  /// True when the toolbar belongs to the application frame (never: there is no frame).
  bool m_ofFrame = false;
  SIZE m_used{0, 0};
  windows::HeldIcon m_cursor;
  windows::KeyTable m_hotKeys;
  windows::KeyTable m_buttonKeys;

  friend LRESULT CALLBACK ToolbarWindowProcedure(HWND, UINT, WPARAM, LPARAM);
};

/// The toolbar window's procedure (the class "VelToolBar").
LRESULT CALLBACK ToolbarWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

/// Installs the toolbar as the builder of windows' toolbars.
void RegisterToolbarKind();

}  // namespace vel::controls
