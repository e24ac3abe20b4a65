#include "runtime/windows/status_bar.h"

#include <algorithm>

#include "runtime/windows/runtime_lock.h"

namespace vel::windows {
namespace {

constexpr char kStatusBarClass[] = "VelStatusBar";
constexpr int kStatusFontPoints = 8;

// One "Helv" font serves every status bar; it lives while any bar does.
HFONT g_font = nullptr;
int g_fontUsers = 0;

HFONT AcquireStatusFont() {
  if (g_fontUsers++ == 0) {
    HDC screen = GetDC(nullptr);
    int dotsPerInch = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    if (dotsPerInch <= 0) dotsPerInch = 96;
    g_font = CreateFontA(-RoundedMulDiv(kStatusFontPoints, dotsPerInch, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                         ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         VARIABLE_PITCH | FF_SWISS, "Helv");
  }
  return g_font;
}

void ReleaseStatusFont() {
  if (g_fontUsers > 0 && --g_fontUsers == 0 && g_font != nullptr) {
    DeleteObject(g_font);
    g_font = nullptr;
  }
}

LRESULT CALLBACK StatusBarProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowProcedureLock lock;
  auto* bar = reinterpret_cast<StatusBar*>(GetWindowLongPtrA(handle, 0));
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(handle, &paint);
      if (dc != nullptr && bar != nullptr) bar->Paint(dc);
      EndPaint(handle, &paint);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    default: return DefWindowProcA(handle, message, wParam, lParam);
  }
}

bool EnsureStatusBarClass(HINSTANCE instance) {
  WNDCLASSA existing{};
  if (GetClassInfoA(instance, kStatusBarClass, &existing)) return true;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = StatusBarProcedure;
  windowClass.cbWndExtra = sizeof(StatusBar*);
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kStatusBarClass;
  return RegisterClassA(&windowClass) != 0;
}

int FontLineHeight(HFONT font) {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return 13;
  HGDIOBJ previous =
      SelectObject(screen, font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  TEXTMETRICA metrics{};
  bool measured = GetTextMetricsA(screen, &metrics) != FALSE;
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return measured ? metrics.tmHeight + metrics.tmExternalLeading : 13;
}

int BorderWidth() { return std::max(1, GetSystemMetrics(SM_CXBORDER)); }

}  // namespace

int StatusBarHeight() {
  int height = FontLineHeight(AcquireStatusFont()) + 8 * BorderWidth();
  ReleaseStatusFont();
  return height;
}

std::vector<int> StatusZoneWidths(const std::vector<std::int32_t>& zones, const UnitConverter& converter,
                                  int barWidth) {
  std::vector<int> widths(zones.size(), 0);
  int fixed = 0;
  int remainingZones = 0;
  for (std::size_t i = 0; i < zones.size(); ++i) {
    if (zones[i] == kRemainingWidth) {
      ++remainingZones;
      continue;
    }
    widths[i] = std::max(0, converter.ToPixelsX(zones[i]));
    fixed += widths[i];
  }
  int left = std::max(0, barWidth - fixed);
  for (std::size_t i = 0, shared = 0; i < zones.size(); ++i) {
    if (zones[i] != kRemainingWidth) continue;
    // The first of several -1 zones takes what an even split leaves over.
    widths[i] = left / remainingZones + (shared++ == 0 ? left % remainingZones : 0);
  }
  return widths;
}

StatusBar::StatusBar(HWND window, std::vector<std::int32_t> zones, const UnitConverter& converter)
    : m_zones(std::move(zones)), m_converter(converter), m_texts(m_zones.size()) {
  m_border = BorderWidth();
  m_height = FontLineHeight(AcquireStatusFont()) + 8 * m_border;
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  if (!EnsureStatusBarClass(instance)) return;
  m_handle = CreateWindowExA(0, kStatusBarClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0,
                             m_height, window, nullptr, instance, nullptr);
  if (m_handle != nullptr) SetWindowLongPtrA(m_handle, 0, reinterpret_cast<LONG_PTR>(this));
}

StatusBar::~StatusBar() {
  if (m_handle != nullptr && IsWindow(m_handle)) {
    SetWindowLongPtrA(m_handle, 0, 0);
    DestroyWindow(m_handle);
  }
  ReleaseStatusFont();
}

void StatusBar::LayOut(const RECT& area) {
  int width = static_cast<int>(area.right - area.left);
  if (m_handle != nullptr) {
    MoveWindow(m_handle, area.left, area.bottom - m_height, width, m_height, TRUE);
  }
  m_zoneRects.clear();
  int x = 0;
  for (int zoneWidth : StatusZoneWidths(m_zones, m_converter, width)) {
    m_zoneRects.push_back(RECT{x, 0, x + zoneWidth, m_height});
    x += zoneWidth;
  }
  if (m_handle != nullptr) InvalidateRect(m_handle, nullptr, TRUE);
}

void StatusBar::SetText(std::size_t zone, std::string text) {
  if (zone >= m_texts.size() || m_texts[zone] == text) return;
  m_texts[zone] = std::move(text);
  if (m_handle != nullptr && zone < m_zoneRects.size()) InvalidateRect(m_handle, &m_zoneRects[zone], TRUE);
}

std::string StatusBar::Text(std::size_t zone) const {
  return zone < m_texts.size() ? m_texts[zone] : std::string();
}

void StatusBar::Paint(HDC dc) const {
  RECT whole{};
  GetClientRect(m_handle, &whole);
  FillRect(dc, &whole, GetSysColorBrush(COLOR_BTNFACE));
  // A rule along the top separates the bar from the window's client area.
  RECT rule{whole.left, whole.top, whole.right, whole.top + m_border};
  FillRect(dc, &rule, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
  HGDIOBJ previousFont =
      SelectObject(dc, g_font != nullptr ? static_cast<HGDIOBJ>(g_font) : GetStockObject(SYSTEM_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  const int b = m_border;
  for (std::size_t zone = 0; zone < m_zoneRects.size(); ++zone) {
    const RECT& area = m_zoneRects[zone];
    // Each zone is a sunken box 2b in from its sides, 3b below the top and 2b above the bottom.
    RECT box{area.left + 2 * b, area.top + 3 * b, area.right - 2 * b, area.bottom - 2 * b};
    if (box.right <= box.left) continue;
    DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
    // The text stands 4b inside the box's left edge and is clipped to the box.
    RECT text{box.left + 4 * b, box.top + b, box.right - 2 * b, box.bottom - b};
    if (text.right > text.left && !m_texts[zone].empty()) {
      ExtTextOutA(dc, text.left, text.top, ETO_CLIPPED, &text, m_texts[zone].c_str(),
                  static_cast<UINT>(m_texts[zone].size()), nullptr);
    }
  }
  SelectObject(dc, previousFont);
}

}  // namespace vel::windows
