#pragma once
// The prompt (control type 10): a text label, "VelPrompt", a superclass of the standard
// "Static" class, which draws its "&" letter underlined. A prompt never keeps the focus: its
// hot key, or selecting it, passes the focus to the control that follows it.

#include "runtime/controls/windowed_control.h"

namespace vel::controls {

class PromptControl : public WindowedControl {
 public:
  explicit PromptControl(const windows::Record& record);
  void Construct(const windows::Record& record) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) override;
  /// Exactly the text's width and the font's height: a prompt has no margins.
  int DefaultWidth() override;
  int DefaultHeight() override;

  /// The window that takes the focus in the prompt's place: that of the first control after it
  /// in the window's order that can take the focus (shown, enabled, and no prompt, group, box
  /// or image; an option box gives its chosen radio button's), or null.
  HWND NextFocusWindow() const;

 protected:
  std::uint32_t ClassBackgroundValue() const override { return kSystemColour | COLOR_BTNFACE; }

 private:
  void PassFocusOn();
};

/// Stores the prompt's creation function in the control factory (type 10).
void RegisterPromptKind();

}  // namespace vel::controls
