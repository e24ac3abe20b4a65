#pragma once
// The screen's device context for the time of one measurement.

#include "win32.h"

namespace vel::windows {

class ScreenContext {
 public:
  ScreenContext() : m_dc(GetDC(nullptr)) {}
  ~ScreenContext() {
    if (m_dc != nullptr) ReleaseDC(nullptr, m_dc);
  }
  ScreenContext(const ScreenContext&) = delete;
  ScreenContext& operator=(const ScreenContext&) = delete;
  HDC Get() const { return m_dc; }

 private:
  HDC m_dc;
};

}  // namespace vel::windows
