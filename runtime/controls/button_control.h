#pragma once
// The button (control type 9): "VelButton", a superclass of the standard "button" class. A
// button with an icon, or a flat one, is drawn by the runtime (ButtonLook) and handles its own
// mouse and keyboard; any other is pressed and drawn by the standard class. Either way the
// window hears of a click through WM_COMMAND and asks the button to act with QUERY_COMMAND,
// which posts EVENT:Accepted, or for an immediate button EVENT:Accepted is posted on the press
// and repeated while the button is held. The picture a button shows comes from the image store:
// an icon of the program's or from a file, or any other picture the store opens, in the icon's
// image nearest the room the button has.

#include <cstdint>
#include <memory>
#include <string>

#include "runtime/controls/button_look.h"
#include "runtime/controls/windowed_control.h"
#include "runtime/images/image.h"

namespace vel::controls {

// Button flags of a button object.
/// The runtime draws the button and handles its mouse and keys (an icon button).
inline constexpr std::uint32_t kButtonDrawnByRuntime = 0x0001;
/// Before acting, the button checks that no control of the window still needs a value.
inline constexpr std::uint32_t kButtonChecksRequired = 0x0004;
/// Hot-tracked, without a border until the pointer is over it.
inline constexpr std::uint32_t kButtonFlat = 0x0008;

/// The runtime's own numbers for the button messages (WM_USER + n), answered as BM_GETCHECK,
/// BM_SETCHECK, BM_SETSTATE, BM_SETSTYLE and BM_CLICK are.
inline constexpr UINT kPrivateGetCheck = WM_USER;
inline constexpr UINT kPrivateSetCheck = WM_USER + 1;
inline constexpr UINT kPrivateSetState = WM_USER + 3;
inline constexpr UINT kPrivateSetStyle = WM_USER + 4;
inline constexpr UINT kPrivateClick = WM_USER + 5;

/// The timer that watches whether the pointer is still over a hot flat button, and its period.
inline constexpr UINT_PTR kHoverTimer = 0x527;
inline constexpr UINT kHoverPeriod = 20;
/// The timer that repeats an immediate button's event while it is held.
inline constexpr UINT_PTR kRepeatTimer = 0x526;

class ButtonControl : public WindowedControl {
 public:
  explicit ButtonControl(const windows::Record& record);
  ~ButtonControl() override;
  void Construct(const windows::Record& record) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) override;
  /// A button of default width or height is as wide or high as its picture and text need
  /// (PreferredSize).
  int DefaultWidth() override;
  int DefaultHeight() override;

  std::uint32_t ButtonFlags() const { return m_buttonFlags; }
  /// The draw state bits (kDrawPressed ... kDrawHot, button_look.h).
  std::uint32_t DrawState() const { return m_drawState; }
  bool HasDrawState(std::uint32_t bits) const { return (m_drawState & bits) != 0; }
  /// True while the mouse is captured after a press on the button.
  bool Captured() const { return m_captured; }
  /// True when the definition asks for the window's default button and the button may be one
  /// (never a skip or toolbar control).
  bool IsDefaultButton() const;
  /// True when the picture the definition names was loaded.
  bool HasIcon() const { return m_picture != nullptr; }
  /// The picture shown, or null.
  images::Image* Picture() const { return m_picture.get(); }
  /// The definition's icon name as a run-time name (text, or the binary reference's bytes).
  const std::string& IconName() const { return m_iconName; }
  /// The size of the picture as loaded: an icon's own image, another picture's natural size;
  /// {0, 0} without one.
  SIZE PictureSize() const;
  /// Delay before the first repeat and the repeat interval of an immediate button, in
  /// milliseconds.
  std::uint32_t DelayMilliseconds() const { return m_delay; }
  std::uint32_t RepeatMilliseconds() const { return m_repeat; }

 protected:
  /// Creates the window of `descriptor` with `style`, then takes the default button's place.
  void CreateButtonWindow(const windows::Record& record, ControlClassDescriptor& descriptor, WNDPROC procedure,
                          DWORD style);

  /// What pressing the button does to the button itself. A plain button does nothing: the
  /// window hears of the click and asks it to act (QUERY_COMMAND).
  virtual void PressAction() {}
  /// QUERY_COMMAND: the window asks the button to act. lParam 0 means a key, and the press is
  /// shown first.
  virtual LRESULT Act(WPARAM wParam, LPARAM lParam);
  /// Shows the button pressed or released (BM_SETSTATE to its own window).
  void ShowPressed(bool pressed);
  /// Presses and releases the button as a key does, acting in between.
  void ShowPress();

  std::uint32_t ClassBackgroundValue() const override;

  /// The size the button needs for its picture and text: a button the runtime draws as
  /// RuntimeButtonSize says, its picture (a standard icon's room for one that could not be
  /// opened) fitted to a width or height the definition gives; any other as the standard class
  /// draws it (StandardClassSize).
  SIZE PreferredSize();
  /// The size the standard class needs to show a text of `text`: a push button's edges and
  /// margins around it.
  virtual SIZE StandardClassSize(SIZE text) const;

 private:
  /// The messages every button handles, icon button or not.
  LRESULT HandleCommonButtonMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn);
  /// The table of a button the runtime draws (button_messages_drawn.cpp).
  LRESULT HandleDrawnButtonMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn);

  /// Records a press or release; an immediate button reports on the press and starts repeating.
  void RecordPressState(bool pressed);
  void OnRepeatTimer();
  void OnHoverTimer();
  void HotMouseMessage(UINT message, const MOUSEHOOKSTRUCT& mouse) override;
  void StopTimer(UINT_PTR& timer);
  /// Sets or clears draw state bits; a button the runtime draws is redrawn when they changed.
  void SetDrawState(std::uint32_t bits, bool on);
  /// The button's icon button click: act, show released and tell the parent.
  void Click();
  /// The lowest-numbered field of the window that still needs a value, or 0.
  std::int32_t FieldNeedingValue() const;
  void Paint(HDC dc);
  ButtonPicture PictureToDraw() const;
  /// Opens the definition's picture through the image store, icons in the image nearest
  /// `iconSize` pixels (0: the standard size).
  std::unique_ptr<images::Image> OpenPicture(int iconSize) const;
  /// Once the window exists: an icon that does not fit the room the button has, or fills less
  /// of it than another image of the icon would, is loaded again in the image nearest the room.
  void FitIconToRoom();
  /// The draw state the button's size is measured with (the default frame counts before the
  /// window has taken the default button).
  std::uint32_t SizingDrawState() const;

  std::uint32_t m_buttonFlags = 0;
  bool m_captured = false;
  std::uint32_t m_drawState = 0;
  UINT_PTR m_repeatTimer = 0;
  UINT_PTR m_hoverTimer = 0;
  /// The key (Space) that pressed the button, 0 when none.
  WPARAM m_keyDown = 0;
  std::unique_ptr<images::Image> m_picture;
  std::string m_iconName;
  std::uint8_t m_definitionFlags = 0;
  std::uint32_t m_delay = 0;
  std::uint32_t m_repeat = 0;
  /// The repeat timer has ticked once and runs at the repeat interval.
  bool m_repeating = false;
  /// The size the definition gives in pixels, -1 for a side it leaves open; the window's
  /// client size replaces it once the window exists.
  SIZE m_definedSize{-1, -1};
};

/// Stores the button's creation function in the control factory (type 9).
void RegisterButtonKind();

}  // namespace vel::controls
