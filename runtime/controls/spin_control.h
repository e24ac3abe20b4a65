#pragma once
// The spin box (control type 16): an entry with a strip of two arrow buttons at its right, in
// its non-client area, that steps its value up and down over a numeric range or a list of
// values. A held button steps again after a delay and then at a repeat interval, on the
// platform's timers (and so on the headless display's own clock). Without a USE variable the
// spin box keeps its value in a 20-character string of its own.

#include <string>
#include <vector>

#include "runtime/controls/entry_control.h"

namespace vel::controls {

class SpinControl : public EntryControl {
 public:
  explicit SpinControl(const windows::Record& record);
  void Construct(const windows::Record& record) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) override;

  double Low() const { return m_low; }
  double High() const { return m_high; }
  /// The step; a definition's 0 means 1.
  double Step() const { return m_step; }
  /// Milliseconds before a held button repeats, and between repeats.
  unsigned Delay() const { return m_delay; }
  unsigned Repeat() const { return m_repeat; }

  /// Steps through these values instead of the numeric range (a FROM list).
  void SetValues(std::vector<std::string> values);
  /// One step up (+1) or down (-1), as the arrow keys and buttons do.
  void StepBy(int direction);
  /// The value a spin box without a USE variable holds.
  const std::string& OwnValue() const { return m_ownValue; }

  /// The width of the arrow strip in pixels.
  static int StripWidth();

 protected:
  std::string ValueText() override;
  bool StoreValue(const std::string& value) override;
  bool HandleClassKey(WPARAM key) override;

 private:
  /// Which arrow a point in window coordinates is over: +1 up, -1 down, 0 none.
  int ArrowAt(POINT windowPoint) const;
  void PressArrow(int direction);
  void ReleaseArrow();
  void PaintStrip();
  RECT StripRect() const;

  double m_low = 0;
  double m_high = 0;
  double m_step = 1;
  unsigned m_delay = 200;
  unsigned m_repeat = 50;
  std::vector<std::string> m_values;
  std::string m_ownValue;
  /// The arrow held down (+1, -1) or 0, and whether its first delay has passed.
  int m_pressed = 0;
  bool m_repeating = false;
};

/// Stores the spin box's creation function in the control factory (type 16).
void RegisterSpinKind();

}  // namespace vel::controls
