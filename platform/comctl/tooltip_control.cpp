#include "platform/comctl/tooltip_control.h"

#include <mutex>

#include "platform/comctl/tooltip_appearance.h"
#include "platform/comctl/tooltip_subclass.h"

namespace vel::platform {
namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kAutopopTimer = 2;
constexpr int kControlOffset = 0;

// The documented defaults: the initial delay is the double-click time, a tip stays ten times
// as long, and moving on to the next tool takes a fifth of it.
UINT DefaultInitial() { return GetDoubleClickTime(); }
UINT DefaultAutopop() { return GetDoubleClickTime() * 10; }
UINT DefaultReshow() { return GetDoubleClickTime() / 5; }

const TOOLINFOA* ToolInfo(LPARAM lParam) {
  auto* info = reinterpret_cast<const TOOLINFOA*>(lParam);
  return info != nullptr && info->cbSize >= TTTOOLINFOA_V1_SIZE ? info : nullptr;
}

HWND TopLevelOf(HWND window) {
  while (window != nullptr && (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)) window = GetParent(window);
  return window;
}

// The window whose mouse messages a TTF_SUBCLASS tool listens to.
HWND SubclassedWindow(const TooltipTool& tool) { return tool.ToolWindow() != nullptr ? tool.ToolWindow() : tool.owner; }

bool IsButtonDown(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN: return true;
    default: return false;
  }
}

LRESULT CALLBACK TooltipProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  auto* control = reinterpret_cast<TooltipControl*>(GetWindowLongPtrA(hWnd, kControlOffset));
  switch (Msg) {
    case WM_NCCREATE: {
      // A tip is a bordered popup whatever its creator asked for.
      LONG_PTR style = GetWindowLongPtrA(hWnd, GWL_STYLE);
      SetWindowLongPtrA(hWnd, GWL_STYLE, (style & ~(WS_CHILD | WS_CAPTION | WS_THICKFRAME)) | WS_POPUP | WS_BORDER);
      SetWindowLongPtrA(hWnd, kControlOffset, reinterpret_cast<LONG_PTR>(new TooltipControl(hWnd)));
      return DefWindowProcA(hWnd, Msg, wParam, lParam);
    }
    case WM_NCDESTROY:
      SetWindowLongPtrA(hWnd, kControlOffset, 0);
      delete control;
      return DefWindowProcA(hWnd, Msg, wParam, lParam);
    case WM_TIMER:
      if (control != nullptr) control->Timer(wParam);
      return 0;
    case WM_PAINT:
      if (control != nullptr) control->Paint();
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_NCPAINT: PaintTipFrame(hWnd); return 0;
    // The pointer passes through a tip to the window below, and a tip never takes activation.
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    default: {
      LRESULT result = 0;
      if (control != nullptr && control->HandleMessage(Msg, wParam, lParam, &result)) return result;
      return DefWindowProcA(hWnd, Msg, wParam, lParam);
    }
  }
}

}  // namespace

TooltipControl::TooltipControl(HWND window)
    : m_window(window), m_initial(DefaultInitial()), m_autopop(DefaultAutopop()), m_reshow(DefaultReshow()) {}

TooltipControl::~TooltipControl() {
  for (const TooltipTool& tool : m_tools.Tools()) {
    if (tool.flags & TTF_SUBCLASS) StopRelayingMouse(SubclassedWindow(tool), m_window);
  }
}

void TooltipControl::RemoveTool(HWND owner, UINT_PTR id) {
  if (m_hot == ToolKey{owner, id}) Reset();
  if (TooltipTool* tool = m_tools.Find(owner, id); tool != nullptr && (tool->flags & TTF_SUBCLASS)) {
    StopRelayingMouse(SubclassedWindow(*tool), m_window);
  }
  m_tools.Remove(owner, id);
}

bool TooltipControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  *result = 0;
  switch (message) {
    case TTM_ACTIVATE:
      m_active = wParam != 0;
      if (!m_active) Reset();
      return true;
    case TTM_SETDELAYTIME: SetDelay(wParam, static_cast<SHORT>(LOWORD(lParam))); return true;
    case TTM_GETDELAYTIME: *result = Delay(wParam); return true;
    case TTM_ADDTOOLA: {
      TooltipTool tool;
      if (!ReadToolInfo(ToolInfo(lParam), &tool)) return true;
      // The same tool again replaces the one there.
      RemoveTool(tool.owner, tool.id);
      m_tools.Add(tool);
      if (tool.flags & TTF_SUBCLASS) RelayMouseOf(SubclassedWindow(tool), m_window);
      *result = TRUE;
      return true;
    }
    case TTM_DELTOOLA:
      if (const TOOLINFOA* info = ToolInfo(lParam)) RemoveTool(info->hwnd, info->uId);
      return true;
    case TTM_NEWTOOLRECTA:
      if (const TOOLINFOA* info = ToolInfo(lParam)) {
        if (TooltipTool* tool = m_tools.Find(info->hwnd, info->uId)) tool->rect = info->rect;
      }
      return true;
    case TTM_UPDATETIPTEXTA:
      if (const TOOLINFOA* info = ToolInfo(lParam)) {
        if (TooltipTool* tool = m_tools.Find(info->hwnd, info->uId)) {
          SetToolTextSource(*tool, info->lpszText, info->hinst);
          if (m_showing && m_hot == ToolKey{info->hwnd, info->uId}) Relayout();
        }
      }
      return true;
    case TTM_RELAYEVENT:
      if (lParam != 0) Relay(*reinterpret_cast<const MSG*>(lParam));
      return true;
    case TTM_GETTOOLCOUNT: *result = static_cast<LRESULT>(m_tools.Count()); return true;
    case TTM_SETMAXTIPWIDTH:
      *result = m_maxWidth;
      m_maxWidth = static_cast<int>(lParam);
      return true;
    case TTM_GETMAXTIPWIDTH: *result = m_maxWidth; return true;
    case TTM_POP:
      KillTimer(m_window, kShowTimer);
      Pop();
      if (m_hot) m_suppressed = true;
      return true;
    default: return false;
  }
}

void TooltipControl::Relay(const MSG& msg) {
  if (!m_active) return;
  if (msg.message == WM_MOUSEMOVE) {
    PointerMoved(msg.hwnd, {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
  } else if (IsButtonDown(msg.message)) {
    // A click means the user is busy with the tool: the tip goes and stays away until the
    // pointer has left it.
    KillTimer(m_window, kShowTimer);
    Pop();
    if (m_hot) m_suppressed = true;
  }
}

void TooltipControl::PointerMoved(HWND window, POINT clientPoint) {
  POINT screenPoint = clientPoint;
  ClientToScreen(window, &screenPoint);
  m_pointer = screenPoint;
  const TooltipTool* tool = m_tools.At(window, clientPoint);
  std::optional<ToolKey> key;
  if (tool != nullptr) key = ToolKey{tool->owner, tool->id};
  if (key == m_hot) return;

  bool wasShowing = m_showing;
  KillTimer(m_window, kShowTimer);
  Pop();
  uint64_t now = GetTickCount();
  if (wasShowing) m_leftShowingAt = now;
  m_hot = key;
  m_suppressed = false;
  if (!key) return;
  bool movingOn = m_leftShowingAt && now - *m_leftShowingAt <= m_initial;
  StartShowTimer(movingOn ? m_reshow : m_initial);
}

void TooltipControl::StartShowTimer(UINT delay) { SetTimer(m_window, kShowTimer, delay > 0 ? delay : 1, nullptr); }

void TooltipControl::Timer(UINT_PTR id) {
  KillTimer(m_window, id);
  if (id == kShowTimer) {
    Show();
  } else if (id == kAutopopTimer) {
    Pop();
    m_suppressed = true;
  }
}

bool TooltipControl::OwnerAllowsTip(const TooltipTool& tool) const {
  if (GetWindowLongPtrA(m_window, GWL_STYLE) & TTS_ALWAYSTIP) return true;
  return TopLevelOf(tool.owner) == GetForegroundWindow();
}

void TooltipControl::Show() {
  if (!m_hot || !m_active || m_suppressed || m_showing) return;
  TooltipTool* tool = m_tools.Find(m_hot->owner, m_hot->id);
  if (tool == nullptr || !OwnerAllowsTip(*tool)) return;
  ToolKey key = *m_hot;
  std::string text = TipDisplayText(ToolText(m_window, *tool), static_cast<DWORD>(GetWindowLongPtrA(m_window, GWL_STYLE)));
  // The owner's answer may have changed anything; a tip without text is not shown.
  if (text.empty() || m_hot != key || !IsWindow(m_window)) return;
  SetShownText(text);
  SIZE size = TipWindowSize(text, m_maxWidth);
  POINT at = TipPosition(m_pointer, size, {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  SetWindowPos(m_window, HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE);
  m_showing = true;
  // The owner may place the tip itself while it is told; it stays where the owner put it.
  Notify(key, TTN_SHOW);
  if (!m_showing) return;
  SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(m_window, nullptr, TRUE);
  SetTimer(m_window, kAutopopTimer, m_autopop > 0 ? m_autopop : 1, nullptr);
}

void TooltipControl::Pop() {
  KillTimer(m_window, kAutopopTimer);
  if (!m_showing) return;
  m_showing = false;
  SetWindowPos(m_window, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (m_hot) Notify(*m_hot, TTN_POP);
}

void TooltipControl::Reset() {
  KillTimer(m_window, kShowTimer);
  Pop();
  m_hot.reset();
  m_suppressed = false;
}

void TooltipControl::Relayout() {
  TooltipTool* tool = m_tools.Find(m_hot->owner, m_hot->id);
  if (tool == nullptr) return;
  std::string text = TipDisplayText(ToolText(m_window, *tool), static_cast<DWORD>(GetWindowLongPtrA(m_window, GWL_STYLE)));
  if (text.empty()) {
    Pop();
    return;
  }
  SetShownText(text);
  SIZE size = TipWindowSize(text, m_maxWidth);
  SetWindowPos(m_window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(m_window, nullptr, TRUE);
}

void TooltipControl::SetShownText(const std::string& text) {
  m_shownText = text;
  // The window's own text is what it shows, so that automation can read it.
  SetWindowTextA(m_window, text.c_str());
}

void TooltipControl::SetDelay(WPARAM which, int milliseconds) {
  // A negative time restores the default.
  bool reset = milliseconds < 0;
  UINT value = reset ? 0 : static_cast<UINT>(milliseconds);
  switch (which) {
    case TTDT_INITIAL: m_initial = reset ? DefaultInitial() : value; break;
    case TTDT_AUTOPOP: m_autopop = reset ? DefaultAutopop() : value; break;
    case TTDT_RESHOW: m_reshow = reset ? DefaultReshow() : value; break;
    case TTDT_AUTOMATIC:
      m_initial = reset ? DefaultInitial() : value;
      m_autopop = reset ? DefaultAutopop() : value * 10;
      m_reshow = reset ? DefaultReshow() : value / 5;
      break;
    default: break;
  }
}

UINT TooltipControl::Delay(WPARAM which) const {
  switch (which) {
    case TTDT_INITIAL: return m_initial;
    case TTDT_AUTOPOP: return m_autopop;
    case TTDT_RESHOW: return m_reshow;
    default: return 0;
  }
}

void TooltipControl::Notify(const ToolKey& key, UINT code) {
  NMHDR header{m_window, key.id, code};
  SendMessageA(key.owner, WM_NOTIFY, static_cast<WPARAM>(key.id), reinterpret_cast<LPARAM>(&header));
}

void TooltipControl::Paint() {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(m_window, &paint);
  if (dc != nullptr) PaintTip(m_window, dc, m_shownText, m_maxWidth);
  EndPaint(m_window, &paint);
  PaintTipFrame(m_window);
}

void RegisterTooltipClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSA description{CS_GLOBALCLASS | CS_SAVEBITS | CS_DBLCLKS,
                          TooltipProcedure,
                          0,
                          sizeof(TooltipControl*),
                          nullptr,
                          nullptr,
                          LoadCursorA(nullptr, IDC_ARROW),
                          nullptr,
                          nullptr,
                          TOOLTIPS_CLASSA};
    RegisterClassA(&description);
  });
}

}  // namespace vel::platform
