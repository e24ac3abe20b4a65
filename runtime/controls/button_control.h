#pragma once
// The button (control type 9): "VelButton", a superclass of the standard "button" class, which
// draws and presses it. Buttons keep their definition's flags, delay and repeat.

#include <cstdint>

#include "runtime/controls/windowed_control.h"

namespace vel::controls {

class ButtonControl : public WindowedControl {
 public:
  explicit ButtonControl(const windows::Record& record);
  void Construct(const windows::Record& record) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) override;

  /// The definition's button flags (0x01 default, 0x02 check required values, 0x40 flat).
  std::uint8_t DefinitionFlags() const { return m_definitionFlags; }
  /// True for the window's default button (never a skip or toolbar control).
  bool IsDefaultButton() const;
  /// Delay before the first repeat and the repeat interval of an immediate button, in
  /// milliseconds.
  std::uint32_t DelayMilliseconds() const { return m_delay; }
  std::uint32_t RepeatMilliseconds() const { return m_repeat; }

 protected:
  std::uint32_t ClassBackgroundValue() const override { return kSystemColour | COLOR_BTNFACE; }

  std::uint8_t m_definitionFlags = 0;
  std::uint32_t m_delay = 0;
  std::uint32_t m_repeat = 0;
};

/// Stores the button's creation function in the control factory (type 9).
void RegisterButtonKind();

}  // namespace vel::controls
