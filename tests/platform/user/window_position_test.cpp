#include <gtest/gtest.h>

#include "tests/platform/user/message_log.h"

namespace vel::platform::usertest {
namespace {

using ::testing::ElementsAre;

class WindowPosition : public WindowTest {};

const std::vector<UINT> kNoise = {WM_NCHITTEST, WM_SETCURSOR, WM_PAINT, WM_NCPAINT, WM_ERASEBKGND, WM_GETTEXT};

TEST_F(WindowPosition, FrameAndClientRectanglesFollowTheStyles) {
  HWND overlapped = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 100, 50, 400, 300);
  RECT rect{};
  GetWindowRect(overlapped, &rect);
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.bottom, 350);
  GetClientRect(overlapped, &rect);
  EXPECT_EQ(rect.right, 392);
  EXPECT_EQ(rect.bottom, 273);
  RECT adjusted{0, 0, 392, 273};
  AdjustWindowRect(&adjusted, WS_OVERLAPPEDWINDOW, FALSE);
  EXPECT_EQ(adjusted.left, -4);
  EXPECT_EQ(adjusted.top, -23);

  HWND child = MakeWindow(WS_CHILD | WS_BORDER | WS_VISIBLE, overlapped, 10, 20, 100, 50, 1);
  POINT origin{0, 0};
  ClientToScreen(child, &origin);
  EXPECT_EQ(origin.x, 100 + 4 + 10 + 1);
  EXPECT_EQ(origin.y, 50 + 23 + 20 + 1);
  ScreenToClient(child, &origin);
  EXPECT_EQ(origin.x, 0);
  POINT points[2] = {{0, 0}, {5, 5}};
  MapWindowPoints(child, overlapped, points, 2);
  EXPECT_EQ(points[1].x, 16);
  EXPECT_EQ(points[1].y, 26);
  EXPECT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  GetWindowRect(GetDesktopWindow(), &rect);
  EXPECT_EQ(rect.right, 1024);
  EXPECT_EQ(rect.bottom, 768);
}

TEST_F(WindowPosition, SetWindowPosSendsOnlyWhatChanged) {
  HWND window = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 100, 100, 300, 200);
  MessageLog::Clear();
  SetWindowPos(window, nullptr, 120, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_THAT(MessageLog::NamesFor(window, kNoise),
              ElementsAre("WM_WINDOWPOSCHANGING", "WM_WINDOWPOSCHANGED", "WM_MOVE"));
  MessageLog::Clear();
  MoveWindow(window, 120, 100, 320, 200, TRUE);
  EXPECT_THAT(MessageLog::NamesFor(window, kNoise),
              ElementsAre("WM_WINDOWPOSCHANGING", "WM_NCCALCSIZE", "WM_WINDOWPOSCHANGED", "WM_SIZE"));
  EXPECT_EQ(LOWORD(MessageLog::Find(window, WM_SIZE)[0].lParam), 312);
  MessageLog::Clear();
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  EXPECT_THAT(MessageLog::NamesFor(window, kNoise), ElementsAre("WM_WINDOWPOSCHANGING", "WM_WINDOWPOSCHANGED"));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(GetActiveWindow(), nullptr);
  auto changed = MessageLog::Find(window, WM_WINDOWPOSCHANGED);
  EXPECT_TRUE(reinterpret_cast<WINDOWPOS*>(changed[0].lParam) != nullptr);
}

LRESULT CALLBACK ClampPosition(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_WINDOWPOSCHANGING) {
    auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
    position->cx = std::min(position->cx, 150);
  }
  if (Msg == WM_GETMINMAXINFO) reinterpret_cast<MINMAXINFO*>(lParam)->ptMaxTrackSize = {200, 200};
  return DefWindowProcA(hWnd, Msg, wParam, lParam);
}

TEST_F(WindowPosition, AWindowMayChangeItsOwnPositionAndSizeLimits) {
  WNDCLASSA clampClass{0, ClampPosition, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "ClampWindow"};
  RegisterClassA(&clampClass);
  HWND window = CreateWindowExA(0, "ClampWindow", "", WS_POPUP, 0, 0, 500, 500, nullptr, nullptr, nullptr, nullptr);
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right, 200);
  MoveWindow(window, 0, 0, 180, 100, TRUE);
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right, 150);
}

TEST_F(WindowPosition, ZOrderFollowsInsertAfter) {
  HWND parent = MakeWindow(WS_OVERLAPPEDWINDOW);
  HWND a = MakeWindow(WS_CHILD, parent, 0, 0, 10, 10, 1);
  HWND b = MakeWindow(WS_CHILD, parent, 0, 0, 10, 10, 2);
  HWND c = MakeWindow(WS_CHILD, parent, 0, 0, 10, 10, 3);
  SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDLAST), a);
  SetWindowPos(a, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), c);
  EXPECT_EQ(GetWindow(a, GW_HWNDPREV), b);
  SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), c);

  HDWP deferred = BeginDeferWindowPos(2);
  deferred = DeferWindowPos(deferred, a, nullptr, 5, 5, 20, 20, SWP_NOZORDER);
  deferred = DeferWindowPos(deferred, b, nullptr, 30, 5, 20, 20, SWP_NOZORDER);
  RECT before{};
  GetWindowRect(a, &before);
  EXPECT_EQ(before.right - before.left, 10);
  EXPECT_TRUE(EndDeferWindowPos(deferred));
  RECT after{};
  GetWindowRect(b, &after);
  EXPECT_EQ(after.right - after.left, 20);
  EXPECT_FALSE(EndDeferWindowPos(deferred));
}

TEST_F(WindowPosition, MinimiseMaximiseAndRestoreThroughShowWindowAndSystemCommands) {
  HWND window = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 100, 100, 300, 200);
  Pump();
  MessageLog::Clear();
  SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(window));
  EXPECT_THAT(MessageLog::NamesFor(window, kNoise),
              ElementsAre("WM_SYSCOMMAND", "WM_WINDOWPOSCHANGING", "WM_NCCALCSIZE", "WM_WINDOWPOSCHANGED", "WM_MOVE",
                          "WM_SIZE", "WM_NCACTIVATE", "WM_ACTIVATE", "WM_ACTIVATEAPP", "WM_KILLFOCUS"));
  EXPECT_EQ(MessageLog::Find(window, WM_SIZE)[0].wParam, static_cast<WPARAM>(SIZE_MINIMIZED));
  EXPECT_EQ(GetActiveWindow(), nullptr);

  MessageLog::Clear();
  ShowWindow(window, SW_RESTORE);
  EXPECT_FALSE(IsIconic(window));
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.right, 400);
  EXPECT_EQ(GetActiveWindow(), window);
  EXPECT_EQ(MessageLog::Find(window, WM_SIZE)[0].wParam, static_cast<WPARAM>(SIZE_RESTORED));

  MessageLog::Clear();
  ShowWindow(window, SW_SHOWMAXIMIZED);
  EXPECT_TRUE(IsZoomed(window));
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, -4);
  EXPECT_EQ(rect.right, 1028);
  EXPECT_EQ(MessageLog::Find(window, WM_SIZE)[0].wParam, static_cast<WPARAM>(SIZE_MAXIMIZED));
  EXPECT_EQ(MessageLog::NamesFor(window, kNoise).front(), "WM_GETMINMAXINFO");

  // Minimised without activation from maximised, then restored without activation: it comes
  // back maximised, and the other window stays active throughout.
  HWND other = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 500, 100);
  ShowWindow(window, SW_SHOWMINNOACTIVE);
  EXPECT_TRUE(IsIconic(window));
  EXPECT_EQ(GetActiveWindow(), other);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  EXPECT_TRUE(IsZoomed(window));
  EXPECT_EQ(GetActiveWindow(), other);
  ShowWindow(window, SW_RESTORE);
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 100);

  // Minimised while active, it keeps the activation but not the focus, and gets the focus
  // back when restored.
  SetActiveWindow(window);
  ShowWindow(window, SW_SHOWMINIMIZED);
  EXPECT_EQ(GetActiveWindow(), window);
  EXPECT_EQ(GetFocus(), nullptr);
  ShowWindow(window, SW_RESTORE);
  EXPECT_EQ(GetFocus(), window);

  MessageLog::Clear();
  EXPECT_TRUE(ShowWindow(window, SW_HIDE));
  EXPECT_FALSE(ShowWindow(window, SW_HIDE));
  EXPECT_THAT(MessageLog::NamesFor(window, kNoise),
              ElementsAre("WM_SHOWWINDOW", "WM_WINDOWPOSCHANGING", "WM_WINDOWPOSCHANGED", "WM_NCACTIVATE",
                          "WM_ACTIVATE", "WM_KILLFOCUS"));
  EXPECT_EQ(GetActiveWindow(), other);
}

TEST_F(WindowPosition, HitTestingFindsTheDeepestVisibleEnabledWindow) {
  HWND frame = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, 0, 300, 300);
  HWND panel = MakeWindow(WS_CHILD | WS_VISIBLE, frame, 0, 0, 200, 200, 1);
  HWND inner = MakeWindow(WS_CHILD | WS_VISIBLE, panel, 10, 10, 50, 50, 2);
  HWND disabled = MakeWindow(WS_CHILD | WS_VISIBLE | WS_DISABLED, panel, 100, 10, 50, 50, 3);
  HWND hidden = MakeWindow(WS_CHILD, panel, 10, 100, 50, 50, 4);
  auto at = [&](HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
  };
  EXPECT_EQ(WindowFromPoint(at(inner, 5, 5)), inner);
  EXPECT_EQ(WindowFromPoint(at(disabled, 5, 5)), panel);
  EXPECT_EQ(WindowFromPoint(at(hidden, 5, 5)), panel);
  EXPECT_EQ(WindowFromPoint({150, 10}), frame);
  EXPECT_EQ(WindowFromPoint({2000, 2000}), nullptr);
  EXPECT_EQ(ChildWindowFromPointEx(panel, {105, 15}, CWP_ALL), disabled);
  EXPECT_EQ(ChildWindowFromPointEx(panel, {105, 15}, CWP_SKIPDISABLED), panel);
  EXPECT_EQ(ChildWindowFromPointEx(panel, {15, 105}, CWP_SKIPINVISIBLE), panel);
  EXPECT_EQ(ChildWindowFromPointEx(panel, {15, 105}, CWP_ALL), hidden);
  EXPECT_EQ(ChildWindowFromPointEx(panel, {500, 5}, CWP_ALL), nullptr);
  // A window answering HTTRANSPARENT lets the point through to what lies beneath.
  HWND group = CreateWindowExA(0, "Button", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0, 200, 200, frame, nullptr,
                               nullptr, nullptr);
  SetWindowPos(group, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(WindowFromPoint(at(inner, 5, 5)), inner);

  std::vector<HWND> all;
  EnumChildWindows(
      frame,
      [](HWND window, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  EXPECT_THAT(all, ElementsAre(group, panel, inner, disabled, hidden));
  EXPECT_TRUE(IsChild(frame, inner));
  EXPECT_FALSE(IsChild(inner, frame));
  EXPECT_EQ(SetParent(inner, frame), panel);
  EXPECT_EQ(GetParent(inner), frame);
}

TEST_F(WindowPosition, UpdateRegionsDecideWhenAndWhatToPaint) {
  HWND window = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, 0, 300, 200);
  Pump();
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  MessageLog::Clear();
  RECT first{10, 10, 20, 20};
  RECT second{50, 60, 70, 80};
  InvalidateRect(window, &first, FALSE);
  InvalidateRect(window, &second, TRUE);
  RECT bounds{};
  EXPECT_TRUE(GetUpdateRect(window, &bounds, FALSE));
  EXPECT_EQ(bounds.left, 10);
  EXPECT_EQ(bounds.bottom, 80);
  // WM_PAINT comes after posted messages, and only while something is invalid.
  PostMessageA(window, WM_USER, 0, 0);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
  PAINTSTRUCT paint{};
  BeginPaint(window, &paint);
  EXPECT_EQ(paint.rcPaint.left, 10);
  EXPECT_EQ(paint.rcPaint.right, 70);
  EndPaint(window, &paint);
  EXPECT_THAT(MessageLog::NamesFor(window), ElementsAre("WM_ERASEBKGND"));
  EXPECT_FALSE(GetUpdateRect(window, &bounds, FALSE));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));

  // Validating part of the region leaves the rest.
  InvalidateRect(window, nullptr, FALSE);
  RECT left{0, 0, 100, 200};
  ValidateRect(window, &left);
  GetUpdateRect(window, &bounds, FALSE);
  EXPECT_EQ(bounds.left, 100);
  EXPECT_EQ(bounds.right, 292);
  // UpdateWindow paints at once, without the queue.
  MessageLog::Clear();
  UpdateWindow(window);
  EXPECT_THAT(MessageLog::NamesFor(window), ElementsAre("WM_PAINT"));
  EXPECT_FALSE(MessageLog::Find(window, WM_PAINT)[0].posted);
  EXPECT_FALSE(GetUpdateRect(window, &bounds, FALSE));
  // RedrawWindow reaches the children only when asked, and paints at once with RDW_UPDATENOW.
  HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, window, 0, 0, 50, 50, 1);
  Pump();
  MessageLog::Clear();
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(MessageLog::Find(window, WM_PAINT).size(), 1u);
  EXPECT_TRUE(MessageLog::Find(child, WM_PAINT).empty());
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(MessageLog::Find(child, WM_PAINT).size(), 1u);
  EXPECT_EQ(MessageLog::Find(child, WM_NCPAINT).size(), 1u);
  EXPECT_EQ(MessageLog::Find(child, WM_ERASEBKGND).size(), 1u);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  RedrawWindow(window, nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(200), 0u);

  // Hidden windows are not painted.
  ShowWindow(window, SW_HIDE);
  InvalidateRect(window, nullptr, TRUE);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

}  // namespace
}  // namespace vel::platform::usertest
