#include "tests/platform/user/message_log.h"

#include <cstdio>
#include <map>
#include <mutex>

namespace vel::platform::usertest {
namespace {

std::mutex g_mutex;
std::vector<LoggedMessage> g_entries;
std::map<UINT, LRESULT> g_answers;
thread_local const MSG* t_dispatching = nullptr;

LRESULT CALLBACK LoggingProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  bool posted = t_dispatching != nullptr && t_dispatching->hwnd == hWnd && t_dispatching->message == Msg &&
                t_dispatching->wParam == wParam && t_dispatching->lParam == lParam;
  if (posted) t_dispatching = nullptr;
  MessageLog::Add({hWnd, Msg, wParam, lParam, posted});
  {
    std::lock_guard lock(g_mutex);
    auto found = g_answers.find(Msg);
    if (found != g_answers.end()) return found->second;
  }
  return DefWindowProcA(hWnd, Msg, wParam, lParam);
}

}  // namespace

const char* const kLogClass = "LogWindow";
const char* const kPlainLogClass = "LogWindowPlain";

std::string MessageName(UINT message) {
  static const std::map<UINT, const char*> names = {
      {WM_CREATE, "WM_CREATE"}, {WM_DESTROY, "WM_DESTROY"}, {WM_MOVE, "WM_MOVE"}, {WM_SIZE, "WM_SIZE"},
      {WM_ACTIVATE, "WM_ACTIVATE"}, {WM_SETFOCUS, "WM_SETFOCUS"}, {WM_KILLFOCUS, "WM_KILLFOCUS"},
      {WM_ENABLE, "WM_ENABLE"}, {WM_SETTEXT, "WM_SETTEXT"}, {WM_GETTEXT, "WM_GETTEXT"},
      {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"}, {WM_PAINT, "WM_PAINT"}, {WM_CLOSE, "WM_CLOSE"},
      {WM_QUIT, "WM_QUIT"}, {WM_ERASEBKGND, "WM_ERASEBKGND"}, {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
      {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"}, {WM_CANCELMODE, "WM_CANCELMODE"}, {WM_SETCURSOR, "WM_SETCURSOR"},
      {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"}, {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
      {WM_NEXTDLGCTL, "WM_NEXTDLGCTL"}, {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
      {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"}, {WM_STYLECHANGING, "WM_STYLECHANGING"},
      {WM_STYLECHANGED, "WM_STYLECHANGED"}, {WM_NCCREATE, "WM_NCCREATE"}, {WM_NCDESTROY, "WM_NCDESTROY"},
      {WM_NCCALCSIZE, "WM_NCCALCSIZE"}, {WM_NCHITTEST, "WM_NCHITTEST"}, {WM_NCPAINT, "WM_NCPAINT"},
      {WM_NCACTIVATE, "WM_NCACTIVATE"}, {WM_GETDLGCODE, "WM_GETDLGCODE"}, {WM_NCMOUSEMOVE, "WM_NCMOUSEMOVE"},
      {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"}, {WM_NCLBUTTONDBLCLK, "WM_NCLBUTTONDBLCLK"},
      {WM_KEYDOWN, "WM_KEYDOWN"}, {WM_KEYUP, "WM_KEYUP"}, {WM_CHAR, "WM_CHAR"}, {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
      {WM_SYSKEYUP, "WM_SYSKEYUP"}, {WM_SYSCHAR, "WM_SYSCHAR"}, {WM_COMMAND, "WM_COMMAND"},
      {WM_SYSCOMMAND, "WM_SYSCOMMAND"}, {WM_TIMER, "WM_TIMER"}, {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
      {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"}, {WM_LBUTTONUP, "WM_LBUTTONUP"}, {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
      {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"}, {WM_RBUTTONUP, "WM_RBUTTONUP"}, {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
      {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"}, {WM_DROPFILES, "WM_DROPFILES"}, {WM_USER, "WM_USER"},
  };
  auto found = names.find(message);
  if (found != names.end()) return found->second;
  char buffer[16];
  std::snprintf(buffer, sizeof(buffer), "0x%04X", message);
  return buffer;
}

void MessageLog::Clear() {
  std::lock_guard lock(g_mutex);
  g_entries.clear();
}

void MessageLog::Add(const LoggedMessage& entry) {
  std::lock_guard lock(g_mutex);
  g_entries.push_back(entry);
}

std::vector<LoggedMessage> MessageLog::Entries() {
  std::lock_guard lock(g_mutex);
  return g_entries;
}

std::vector<std::string> MessageLog::NamesFor(HWND window, const std::vector<UINT>& ignored) {
  std::vector<std::string> names;
  for (const LoggedMessage& entry : Entries()) {
    if (entry.window != window) continue;
    if (std::find(ignored.begin(), ignored.end(), entry.message) != ignored.end()) continue;
    names.push_back(MessageName(entry.message));
  }
  return names;
}

std::vector<std::string> MessageLog::Tagged(const std::vector<std::pair<HWND, std::string>>& tags,
                                            const std::vector<UINT>& only) {
  std::vector<std::string> names;
  for (const LoggedMessage& entry : Entries()) {
    if (std::find(only.begin(), only.end(), entry.message) == only.end()) continue;
    std::string tag = "?";
    for (const auto& [window, name] : tags) {
      if (window == entry.window) tag = name;
    }
    names.push_back(MessageName(entry.message) + "@" + tag);
  }
  return names;
}

std::vector<LoggedMessage> MessageLog::Find(HWND window, UINT message) {
  std::vector<LoggedMessage> found;
  for (const LoggedMessage& entry : Entries()) {
    if (entry.window == window && entry.message == message) found.push_back(entry);
  }
  return found;
}

void RegisterLogClasses() {
  static bool registered = [] {
    WNDCLASSA withDoubleClicks{CS_DBLCLKS, LoggingProcedure, 0, 32, nullptr, nullptr, nullptr, nullptr, nullptr,
                               kLogClass};
    WNDCLASSA plain{0, LoggingProcedure, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, kPlainLogClass};
    return RegisterClassA(&withDoubleClicks) != 0 && RegisterClassA(&plain) != 0;
  }();
  ASSERT_TRUE(registered);
}

void OverrideAnswer(UINT message, LRESULT result) {
  std::lock_guard lock(g_mutex);
  g_answers[message] = result;
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    t_dispatching = &msg;
    DispatchMessageA(&msg);
    t_dispatching = nullptr;
  }
}

HWND MakeWindow(DWORD style, HWND parent, int x, int y, int width, int height, int id, const char* className,
                DWORD exStyle) {
  RegisterLogClasses();
  return CreateWindowExA(exStyle, className != nullptr ? className : kLogClass, "log", style, x, y, width, height,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

HWND MakeShownWindow(DWORD style) {
  HWND window = MakeWindow(style | WS_VISIBLE, nullptr, 100, 100, 300, 200);
  Pump();
  return window;
}

HeadlessDisplay& Display() {
  HeadlessDisplay* display = CurrentHeadlessDisplay();
  EXPECT_NE(display, nullptr);
  display->Clock().SetManual(true);
  return *display;
}

void WindowTest::SetUp() {
  RegisterLogClasses();
  Display();
  {
    std::lock_guard lock(g_mutex);
    g_answers.clear();
  }
  MessageLog::Clear();
}

void WindowTest::TearDown() {
  // Script steps a test queued but its loop never took would run in the next test.
  while (Display().ScriptPending()) Display().DiscardScriptStep();
  ReleaseCapture();
  std::vector<HWND> windows;
  for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
    windows.push_back(window);
  }
  for (HWND window : windows) DestroyWindow(window);
  // A drag whose release never ran leaves its button down for the next test.
  const int buttons[][2] = {{VK_LBUTTON, 0}, {VK_RBUTTON, 1}, {VK_MBUTTON, 2}};
  for (const auto& [key, button] : buttons) {
    if (GetAsyncKeyState(key) & 0x8000) Display().MouseUp({1000, 760}, button);
  }
  SetFocus(nullptr);
  Pump();
  {
    std::lock_guard lock(g_mutex);
    g_answers.clear();
  }
  MessageLog::Clear();
}

}  // namespace vel::platform::usertest
