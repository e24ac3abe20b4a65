#include <gtest/gtest.h>

#include "tests/platform/user/message_log.h"

namespace vel::platform::usertest {
namespace {

class WindowClasses : public WindowTest {};

LRESULT CALLBACK BaseProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_USER) return 10;
  if (Msg == WM_USER + 1) return GetWindowLongPtrA(hWnd, 0);
  return DefWindowProcA(hWnd, Msg, wParam, lParam);
}

WNDPROC g_baseOfSuper = nullptr;
int g_superExtraOffset = 0;

// The superclass answers WM_USER itself with the base's answer plus one, keeps an object
// pointer after the base's extra bytes and passes everything else to the base.
LRESULT CALLBACK SuperProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hWnd, g_superExtraOffset, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  if (Msg == WM_USER) return CallWindowProcA(g_baseOfSuper, hWnd, Msg, wParam, lParam) + 1;
  return CallWindowProcA(g_baseOfSuper, hWnd, Msg, wParam, lParam);
}

TEST_F(WindowClasses, RegistrationIsCaseBlindUniqueAndHeldWhileWindowsExist) {
  WNDCLASSA description{CS_DBLCLKS, BaseProcedure, 16, 8, nullptr, nullptr, nullptr, nullptr, nullptr, "BaseKind"};
  ATOM atom = RegisterClassA(&description);
  ASSERT_NE(atom, 0);
  description.lpszClassName = "BASEKIND";
  EXPECT_EQ(RegisterClassA(&description), 0);
  EXPECT_EQ(GetLastError(), 1410u);
  HWND window = CreateWindowExA(0, MAKEINTATOM(atom), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  char name[4];
  EXPECT_EQ(GetClassNameA(window, name, sizeof(name)), 3);
  EXPECT_STREQ(name, "Bas");
  EXPECT_FALSE(UnregisterClassA("basekind", nullptr));
  EXPECT_EQ(GetLastError(), 1412u);
  DestroyWindow(window);
  EXPECT_TRUE(UnregisterClassA("basekind", nullptr));
  EXPECT_FALSE(UnregisterClassA("basekind", nullptr));
  WNDCLASSA info{};
  EXPECT_FALSE(GetClassInfoA(nullptr, "BaseKind", &info));
  description.cbWndExtra = -1;
  EXPECT_EQ(RegisterClassA(&description), 0);
}

TEST_F(WindowClasses, ASuperclassKeepsTheBaseProcedureAndGrowsTheExtraBytes) {
  WNDCLASSA base{CS_DBLCLKS, BaseProcedure, 0, 8, nullptr, nullptr, nullptr, nullptr, nullptr, "SuperBase"};
  ASSERT_NE(RegisterClassA(&base), 0);
  WNDCLASSA info{};
  ASSERT_TRUE(GetClassInfoA(nullptr, "SuperBase", &info));
  EXPECT_EQ(info.lpfnWndProc, BaseProcedure);
  g_baseOfSuper = info.lpfnWndProc;
  g_superExtraOffset = info.cbWndExtra;
  info.cbWndExtra += sizeof(LONG_PTR);
  info.lpfnWndProc = SuperProcedure;
  info.lpszClassName = "SuperDerived";
  ASSERT_NE(RegisterClassA(&info), 0);

  int object = 0;
  HWND window = CreateWindowExA(0, "SuperDerived", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, &object);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetWindowLongPtrA(window, g_superExtraOffset), reinterpret_cast<LONG_PTR>(&object));
  EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 11);
  SetWindowLongPtrA(window, 0, 77);
  EXPECT_EQ(SendMessageA(window, WM_USER + 1, 0, 0), 77);
  EXPECT_EQ(GetClassLongPtrA(window, GCLP_WNDPROC), reinterpret_cast<ULONG_PTR>(SuperProcedure));
  EXPECT_EQ(GetClassLongPtrA(window, GCL_CBWNDEXTRA), 8 + sizeof(LONG_PTR));
  EXPECT_EQ(GetClassLongPtrA(window, GCL_STYLE) & CS_DBLCLKS, static_cast<ULONG_PTR>(CS_DBLCLKS));

  // The standard button class can be read and superclassed the same way.
  WNDCLASSA button{};
  ASSERT_TRUE(GetClassInfoA(nullptr, "button", &button));
  EXPECT_NE(button.lpfnWndProc, nullptr);
  EXPECT_GE(button.cbWndExtra, 0);
  DestroyWindow(window);
}

TEST_F(WindowClasses, ClassIconAndCursorAreReplaceable) {
  auto icon = reinterpret_cast<HICON>(uintptr_t{0x1110});
  auto cursor = reinterpret_cast<HCURSOR>(uintptr_t{0x2220});
  WNDCLASSEXA description{sizeof(WNDCLASSEXA), 0, DefWindowProcA, 0, 0, nullptr, icon, cursor, nullptr, nullptr,
                          "IconKind", nullptr};
  ASSERT_NE(RegisterClassExA(&description), 0);
  HWND window = CreateWindowExA(0, "IconKind", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetClassLongPtrA(window, GCLP_HICON), reinterpret_cast<ULONG_PTR>(icon));
  auto newIcon = reinterpret_cast<HICON>(uintptr_t{0x3330});
  EXPECT_EQ(SetClassLongPtrA(window, GCLP_HICON, reinterpret_cast<LONG_PTR>(newIcon)), reinterpret_cast<ULONG_PTR>(icon));
  EXPECT_EQ(SetClassLongPtrA(window, GCLP_HCURSOR, 0), reinterpret_cast<ULONG_PTR>(cursor));
  WNDCLASSEXA info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetClassInfoExA(nullptr, "IconKind", &info));
  EXPECT_EQ(info.hIcon, newIcon);
  EXPECT_EQ(info.hCursor, nullptr);
  // The cursor a window's class names is the one its default procedure sets.
  SetClassLongPtrA(window, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
  SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), cursor);
  DestroyWindow(window);
}

}  // namespace
}  // namespace vel::platform::usertest
