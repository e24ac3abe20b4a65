#pragma once
// The prompt (control type 10): a text label, "VelPrompt", a superclass of the standard
// "Static" class. A prompt can own a hot key (its "&" letter) that moves the focus on.

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

 protected:
  std::uint32_t ClassBackgroundValue() const override { return kSystemColour | COLOR_BTNFACE; }
};

/// Stores the prompt's creation function in the control factory (type 10).
void RegisterPromptKind();

}  // namespace vel::controls
