#pragma once
// The windowed control: a control with a window of its own, which every control of this system
// is. It keeps the drop identifiers, the font and colour data, the window handle, the tooltip
// string, the font object and the alert keys, and implements the framework's operations on the
// window. Concrete kinds derive from it: each provides its class descriptor, its construction
// (CreateControlWindow with its class, style and text) and its message handler, and overrides
// the operations it does differently.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/controls/control_base.h"
#include "runtime/controls/control_brushes.h"
#include "runtime/controls/control_class.h"
#include "runtime/controls/control_font.h"
#include "runtime/windows/identifier_list.h"

namespace vel::controls {

class WindowedControl : public ControlBase {
 public:
  explicit WindowedControl(const windows::Record& record);
  /// Removes the control's tooltip and destroys its window; the window no longer reaches this
  /// object while it goes.
  ~WindowedControl() override;

  HWND Handle() const override { return m_handle; }
  /// Records the window the control owns from now on (the dispatcher calls this on
  /// WM_NCCREATE, and with null once the window is gone).
  void AttachWindow(HWND window) { m_handle = window; }

  void SetText(std::string_view text) override;
  void SetProperty(std::int32_t property) override;
  void GetProperty(std::int32_t property) override;
  void ShowOrHide(bool show) override;
  /// Shows the USE variable's value as the window text (numbers as digits, strings without
  /// their trailing blanks).
  void DisplayUseValue() override;
  void EnableOrDisable(bool enable) override;
  /// A control of default width or height takes its default size again.
  void Relayout() override;
  void Refresh() override;
  DWORD ComputeStyle(DWORD style) override { return style; }
  /// The width of the text in the control's font plus a margin of four pixels on each side.
  int DefaultWidth() override;
  /// The font's cell height plus a margin of three pixels above and below.
  int DefaultHeight() override;
  /// The first colour of the control's triple when it gives one, else the class's own.
  HBRUSH BackgroundBrush() override;

  /// The control's text: its window's, or before the window exists the text it is made with.
  std::string CurrentText() const;
  /// The letter after "&" in the text of a control that owns a hot key (buttons, prompts); the
  /// toolbar keeps the hot keys of its own controls, so those answer 0 here.
  char HotKeyCharacter() const override;
  /// The font object, or null when the control shows the system font.
  const FontObject* Font() const { return m_font.get(); }
  const FontColourData& FontData() const { return m_fontData; }
  const windows::ColourTriple& Colours() const { return m_colours; }
  /// The text the tooltip shows, or none.
  const std::optional<std::string>& TooltipText() const { return m_tooltip; }
  /// The alert keys of the control's text block.
  const std::vector<std::int32_t>& KeyList() const { return m_alertKeys; }
  /// The justification offset in pixels (horizontal).
  int JustifyOffset() const { return m_justifyOffset; }

  /// The control's drop identifiers, in order.
  const windows::IdentifierList& DropIdentifiers() const { return m_dropIdentifiers; }
  /// Sets the drop identifier at `index`: an empty text removes it, an index at or beyond the
  /// end appends. "~FILE" turns the window's acceptance of files from the shell on; removing
  /// it turns that off.
  void SetDropIdentifier(std::size_t index, std::string_view text);

  /// Enables or disables, shows or hides the window by the control's effective state, and does
  /// the same for the controls it holds.
  void ApplyEffectiveState();
  /// True when `focus` is the control's window, lies inside it, or is held by a control it holds.
  bool HoldsFocus(HWND focus) const;
  /// After a skip control was used, asks the window to give the focus back.
  void NotifySkipControlUsed();
  /// The pointer moved over the control: a toolbar or skip control with a message text shows
  /// it in the window's status bar and becomes the hot control.
  void PointerOver();
  /// While the control is hot, each mouse message its thread takes comes here first, with where
  /// the pointer is. The control lets go of the hot state (and its message text) once the
  /// pointer has left its window; kinds that light up go dark then as well.
  virtual void HotMouseMessage(UINT message, const MOUSEHOOKSTRUCT& mouse);
  /// Ends the control's hot state, if it has it, and gives the status bar back to the focus
  /// control's message text when the control showed its own.
  void LeaveHotState();
  /// The control took the focus: unless it is a skip control its window is the one the focus
  /// comes back to, and its parent hears QUERY_SELECTED.
  void AnnounceFocus();
  /// Paints the framework's base window: the background brush (unless transparent), a frame
  /// (a sunken edge with the three-dimensional look), and the text in the control's font and
  /// colours, placed by the justification.
  void PaintBaseWindow(HDC dc);
  /// Answers WM_PAINT: runs `paint` with the DC of BeginPaint, then EndPaint.
  template <typename Paint>
  LRESULT PaintBetweenBeginAndEnd(Paint paint) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_handle, &ps);
    if (dc != nullptr) paint(dc);
    EndPaint(m_handle, &ps);
    return 0;
  }
  /// The message handling of the framework's base window, for kinds of a class of their own
  /// whose behaviour is not built yet: it paints itself (PaintBaseWindow), takes the focus on a
  /// click, gives it back after a skip control was used (button released, Enter, Tab or Esc),
  /// and repaints when its text, font or enabled state changes.
  LRESULT HandleBaseWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn);

 protected:
  /// True when `point` (screen coordinates) lies over the control's window or a window inside it.
  bool PointerIsOver(POINT point) const;
  /// True while the status bar shows the message text the pointer over the control put there.
  bool m_messageShownOver = false;

  /// The advance of a text in the control's font (the system font when it has none).
  int TextExtent(std::string_view text) const;
  /// The cell height of the control's font.
  int FontHeight() const;

  /// The colour value of the background when the control's triple gives none.
  virtual std::uint32_t ClassBackgroundValue() const { return kSystemColour | COLOR_WINDOW; }
  /// The colour value of what the control stands on: its toolbar's background for a toolbar
  /// control, else the window's first colour (windows::kNoColour when the window gives none).
  std::uint32_t SurfaceColourValue() const;

  /// Creates the control's window. `record` is the definition record (null for a control made
  /// at run time, which starts hidden); `descriptor` the class, registered here when needed
  /// with `procedure`; `style` the style the class starts from; `text` the text to set.
  void CreateControlWindow(const windows::Record* record, ControlClassDescriptor& descriptor,
                           WNDPROC procedure, DWORD exStyle, const std::optional<std::string>& text,
                           DWORD style);

  /// Makes the font object again from the font data (after a font property changed).
  void RebuildFont();

  /// Replaces the control's window by `replacement` (property 7C96h): error 506 when it is not
  /// a window, after the old window is gone.
  void ReplaceWindow(HWND replacement);

  HWND m_handle = nullptr;
  /// The parent the chain gave the window (the client window, or a toolbar).
  HWND m_homeParent = nullptr;
  const ControlClassDescriptor* m_class = nullptr;
  FontColourData m_fontData;
  std::unique_ptr<FontObject> m_font;
  windows::ColourTriple m_colours;
  std::optional<std::string> m_tooltip;
  std::vector<std::int32_t> m_alertKeys;
  windows::IdentifierList m_dropIdentifiers;
  int m_justifyOffset = 0;
  /// True once the control's window was replaced by one of another class (property 7C96h).
  bool m_foreignWindow = false;
  /// A word kinds use as they need.
  std::intptr_t m_scratch = 0;

 private:
  RECT PlaceFromDefinition(const windows::Rect& at);

  std::string m_creationText;
};

}  // namespace vel::controls
