#include "runtime/controls/spin_control.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "runtime/controls/control_factory.h"
#include "runtime/controls/spin_arrows.h"
#include "runtime/values/picture_format.h"
#include "runtime/windows/event_codes.h"

namespace vel::controls {
namespace {

constexpr unsigned kDefaultDelay = 200;
constexpr unsigned kDefaultRepeat = 50;
/// Times in a definition are hundredths of a second.
constexpr unsigned kMillisecondsPerUnit = 10;
constexpr UINT_PTR kRepeatTimer = 1;
/// A spin box without a variable keeps at most this many characters of its value.
constexpr std::size_t kOwnValueSize = 20;
/// Attribute bits that turn the direction through a FROM list round.
constexpr std::uint32_t kAttrReverseMask = 0x0003;

std::string NumberText(double value) {
  char text[64];
  if (std::fabs(value) < 1e15 && value == std::floor(value)) {
    std::snprintf(text, sizeof text, "%.0f", value);
  } else {
    std::snprintf(text, sizeof text, "%.15g", value);
  }
  return text;
}

std::string Trimmed(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

SpinControl::SpinControl(const windows::Record& record)
    : EntryControl(record),
      m_low(record.low),
      m_high(record.high),
      m_step(record.step != 0 ? record.step : 1.0),
      m_delay(record.delay != 0 ? record.delay * kMillisecondsPerUnit : kDefaultDelay),
      m_repeat(record.repeat != 0 ? record.repeat * kMillisecondsPerUnit : kDefaultRepeat) {
  m_framed = false;
  if (m_low == 0 && m_high == 0) {
    m_low = -std::numeric_limits<double>::infinity();
    m_high = std::numeric_limits<double>::infinity();
  }
}

void SpinControl::Construct(const windows::Record& record) {
  CreateEditWindow(record, WS_VISIBLE | WS_BORDER | WS_TABSTOP);
}

int SpinControl::StripWidth() { return GetSystemMetrics(SM_CXVSCROLL); }

void SpinControl::SetValues(std::vector<std::string> values) { m_values = std::move(values); }

std::string SpinControl::ValueText() { return m_use ? EntryControl::ValueText() : m_ownValue; }

bool SpinControl::StoreValue(const std::string& value) {
  if (m_use) return EntryControl::StoreValue(value);
  m_ownValue = value.substr(0, kOwnValueSize);
  return true;
}

bool SpinControl::HandleClassKey(WPARAM key) {
  if (key != VK_UP && key != VK_DOWN) return false;
  StepBy(key == VK_UP ? 1 : -1);
  return true;
}

void SpinControl::StepBy(int direction) {
  if (m_buffer.Modified() || !m_reload) {
    if (!Commit(true)) return;
  }
  const std::string before = Trimmed(ValueText());
  std::string after;
  if (!m_values.empty()) {
    const int last = static_cast<int>(m_values.size()) - 1;
    auto found = std::find_if(m_values.begin(), m_values.end(),
                              [&](const std::string& value) { return Trimmed(value) == before; });
    const std::uint32_t order = m_attributes & kAttrReverseMask;
    const bool reverse = order == 1 || order == 2;
    // Up moves to the previous item, down to the next.
    const int move = (direction > 0) != reverse ? -1 : 1;
    int index = found == m_values.end() ? 0 : static_cast<int>(found - m_values.begin()) + move;
    after = m_values[static_cast<std::size_t>(std::clamp(index, 0, last))];
  } else {
    double value = m_use ? m_use->Reference().GetReal() : values::TextToReal(m_ownValue.data(), m_ownValue.size());
    value = std::clamp(value + direction * m_step, m_low, m_high);
    after = NumberText(value);
    if (m_use ? value == m_use->Reference().GetReal() : after == before) return;
  }
  if (Trimmed(after) == before) return;
  StoreValue(after);
  m_reload = true;
  if (Focused()) {
    LoadForEditing();
  } else {
    m_buffer.SetText(m_picture.DisplayText(ValueText()));
  }
  m_buffer.SelectAll();
  Redraw();
  PlaceCaret();
  PostFieldEvent(windows::EVENT_NewSelection);
}

RECT SpinControl::StripRect() const {
  // The strip lies right of the client area, in window coordinates.
  RECT window{};
  RECT client{};
  GetWindowRect(m_handle, &window);
  GetClientRect(m_handle, &client);
  POINT origin{0, 0};
  ClientToScreen(m_handle, &origin);
  const LONG left = origin.x - window.left + client.right;
  const LONG top = origin.y - window.top;
  return RECT{left, top, left + StripWidth(), top + client.bottom};
}

int SpinControl::ArrowAt(POINT windowPoint) const {
  RECT strip = StripRect();
  if (!PtInRect(&strip, windowPoint)) return 0;
  RECT up = SpinArrowRect(strip, 1);
  return PtInRect(&up, windowPoint) ? 1 : -1;
}

void SpinControl::PressArrow(int direction) {
  if (GetFocus() != m_handle) SetFocus(m_handle);
  m_pressed = direction;
  m_repeating = false;
  SetCapture(m_handle);
  PaintStrip();
  StepBy(direction);
  SetTimer(m_handle, kRepeatTimer, m_delay, nullptr);
}

void SpinControl::ReleaseArrow() {
  if (m_pressed == 0) return;
  m_pressed = 0;
  KillTimer(m_handle, kRepeatTimer);
  if (GetCapture() == m_handle) ReleaseCapture();
  PaintStrip();
}

void SpinControl::PaintStrip() {
  HDC dc = GetWindowDC(m_handle);
  if (dc == nullptr) return;
  PaintSpinArrows(dc, StripRect(), m_pressed, !IsWindowEnabled(m_handle));
  ReleaseDC(m_handle, dc);
}

LRESULT SpinControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) {
  switch (message) {
    case WM_NCCALCSIZE: {
      passOn = false;
      LRESULT result = DefWindowProcA(m_handle, message, wParam, lParam);
      RECT* rect = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
      if (rect != nullptr) rect->right = std::max(rect->left, rect->right - StripWidth());
      return result;
    }
    case WM_NCHITTEST: {
      passOn = false;
      RECT window{};
      GetWindowRect(m_handle, &window);
      POINT point{GET_X_LPARAM(lParam) - window.left, GET_Y_LPARAM(lParam) - window.top};
      if (ArrowAt(point) != 0) return HTVSCROLL;
      return DefWindowProcA(m_handle, message, wParam, lParam);
    }
    case WM_NCPAINT:
      passOn = false;
      DefWindowProcA(m_handle, message, wParam, lParam);
      PaintStrip();
      return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      if (wParam != HTVSCROLL) break;
      passOn = false;
      RECT window{};
      GetWindowRect(m_handle, &window);
      POINT point{GET_X_LPARAM(lParam) - window.left, GET_Y_LPARAM(lParam) - window.top};
      if (int direction = ArrowAt(point)) PressArrow(direction);
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
      if (m_pressed == 0) break;
      passOn = false;
      ReleaseArrow();
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != m_handle) ReleaseArrow();
      return 0;
    case WM_TIMER:
      if (wParam != kRepeatTimer) break;
      passOn = false;
      if (m_pressed == 0) {
        KillTimer(m_handle, kRepeatTimer);
        return 0;
      }
      if (!m_repeating) {
        m_repeating = true;
        SetTimer(m_handle, kRepeatTimer, m_repeat, nullptr);
      }
      StepBy(m_pressed);
      return 0;
    case WM_ENABLE: PaintStrip(); break;
    default: break;
  }
  return EntryControl::HandleMessage(message, wParam, lParam, passOn);
}

void RegisterSpinKind() { RegisterControlKind(windows::kKindSpin, CreateKind<SpinControl>); }

}  // namespace vel::controls
