#include "tests/platform/user/menu_test_window.h"

#include <map>

#include "platform/user/menu_bar.h"
#include "platform/user/menu_popup.h"

namespace vel::platform::usertest {
namespace {

WNDPROC g_logging = nullptr;
std::function<void(HWND, UINT, WPARAM, LPARAM)> g_hook;

LRESULT CALLBACK HookedProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (g_hook) g_hook(hWnd, Msg, wParam, lParam);
  return CallWindowProcA(g_logging, hWnd, Msg, wParam, lParam);
}

}  // namespace

void MenuWindowTest::SetUp() {
  WindowTest::SetUp();
  g_hook = nullptr;
  m_window = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 100, 100, 320, 200);
  g_logging = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookedProcedure)));
  m_bar = CreateMenu();
  m_file = CreatePopupMenu();
  m_recent = CreatePopupMenu();
  m_edit = CreatePopupMenu();
  AppendMenuA(m_recent, MF_STRING, 111, "Doc &1");
  AppendMenuA(m_recent, MF_STRING, 112, "Doc &2");
  AppendMenuA(m_file, MF_STRING, 101, "&Open");
  AppendMenuA(m_file, MF_POPUP, reinterpret_cast<UINT_PTR>(m_recent), "&Recent");
  AppendMenuA(m_file, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(m_file, MF_STRING | MF_GRAYED, 102, "E&xit");
  AppendMenuA(m_edit, MF_STRING, 201, "&Copy\tCtrl+C");
  AppendMenuA(m_edit, MF_STRING | MF_GRAYED, 202, "&Paste\tCtrl+V");
  AppendMenuA(m_bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m_file), "&File");
  AppendMenuA(m_bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m_edit), "&Edit");
  AppendMenuA(m_bar, MF_STRING | MF_RIGHTJUSTIFY, 301, "&Help");
  SetMenu(m_window, m_bar);
  SetActiveWindow(m_window);
  SetFocus(m_window);
  Pump();
  MessageLog::Clear();
}

void MenuWindowTest::TearDown() {
  g_hook = nullptr;
  // A test that failed half-way must not leave steps behind for the next one.
  while (Display().ScriptPending()) Display().DiscardScriptStep();
  WindowTest::TearDown();
}

void MenuWindowTest::OnMessage(std::function<void(HWND, UINT, WPARAM, LPARAM)> hook) { g_hook = std::move(hook); }

std::vector<std::string> MenuWindowTest::Trace() {
  std::map<HMENU, std::string> names{{m_bar, "bar"}, {m_file, "file"}, {m_recent, "recent"}, {m_edit, "edit"}};
  auto name = [&](WPARAM menu) {
    auto found = names.find(reinterpret_cast<HMENU>(menu));
    return found != names.end() ? found->second : std::string("context");
  };
  std::vector<std::string> trace;
  for (const LoggedMessage& entry : MessageLog::Entries()) {
    if (entry.window != m_window) continue;
    switch (entry.message) {
      case WM_ENTERMENULOOP: trace.push_back(entry.wParam ? "enter popup" : "enter"); break;
      case WM_EXITMENULOOP: trace.push_back(entry.wParam ? "exit popup" : "exit"); break;
      case WM_INITMENU: trace.push_back("init " + name(entry.wParam)); break;
      case WM_INITMENUPOPUP: trace.push_back("initpopup " + name(entry.wParam)); break;
      case WM_MENUCHAR: trace.push_back(std::string("menuchar ") + static_cast<char>(LOWORD(entry.wParam))); break;
      case WM_COMMAND:
        trace.push_back("command " + std::to_string(LOWORD(entry.wParam)) + (entry.posted ? " posted" : " sent") +
                        (HIWORD(entry.wParam) != 0 ? " accelerator" : ""));
        break;
      case WM_MENUSELECT: {
        UINT flags = HIWORD(entry.wParam);
        if (flags == 0xFFFF && entry.lParam == 0) {
          trace.push_back("select none");
          break;
        }
        std::string text = "select ";
        text += (flags & MF_POPUP) ? name(static_cast<WPARAM>(entry.lParam)) + "#" + std::to_string(LOWORD(entry.wParam))
                                   : std::to_string(LOWORD(entry.wParam));
        if (flags & MF_GRAYED) text += " grey";
        if (flags & MF_MOUSESELECT) text += " mouse";
        trace.push_back(text);
        break;
      }
      default: break;
    }
  }
  return trace;
}

POINT MenuWindowTest::BarItemCentre(int index) {
  RECT strip = MenuBarStrip(m_window);
  std::vector<RECT> boxes = LayoutMenuBar(CopyMenuItems(m_bar), strip);
  RECT box = boxes.at(static_cast<size_t>(index));
  return POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

POINT MenuWindowTest::BarPopupOrigin(int index) {
  RECT strip = MenuBarStrip(m_window);
  std::vector<RECT> boxes = LayoutMenuBar(CopyMenuItems(m_bar), strip);
  return POINT{boxes.at(static_cast<size_t>(index)).left, strip.bottom};
}

std::string MenuWindowTest::PopupItemPoint(HMENU menu, POINT origin, int index) {
  PopupView view;
  view.menu = menu;
  LoadPopupView(view);
  RECT box = view.boxes.at(static_cast<size_t>(index));
  return Point(POINT{origin.x + (box.left + box.right) / 2, origin.y + (box.top + box.bottom) / 2});
}

std::string MenuWindowTest::Point(POINT point) { return std::to_string(point.x) + " " + std::to_string(point.y); }

void MenuWindowTest::Script(const std::vector<std::string>& steps) {
  std::string joined;
  for (const std::string& step : steps) joined += step + ";";
  std::string error;
  ASSERT_TRUE(Display().QueueScript(joined, &error)) << error;
}

}  // namespace vel::platform::usertest
