// Window properties on real windows of the headless display: each value read back after it was
// set, and the change it makes to the window.

#include "runtime/windows/window_properties.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/values/string_stack.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/window_object_open.h"
#include "runtime/windows/window_object_procedure.h"
#include "tests/runtime/windows/window_test_support.h"

namespace vel::windows::testing {
namespace {

const char kPropertyWindows[] =
    "definition \"test$PROPS\"\n"
    "window \"W\" title(\"Props\") at(10, 20, 100, 40) help(\"HELPKEY\") message(\"Ready\")"
    " attributes(system-menu)\n"
    "  entry use(FixedString, 20) at(2, 2, 60, 12)\n"
    "  entry use(FixedString, 20) at(2, 20, 60, 12)\n"
    "end\n"
    "window \"PLAIN\" at(0, 0, 100, 40)\n"
    "end\n";

// The system font's nominal cell: a dialog unit is 1.5 pixels across and 13/8 pixels down.
UnitMetrics NominalMetrics(const Record&) {
  UnitMetrics metrics;
  metrics.averageCharWidth = 6;
  metrics.charHeight = 13;
  return metrics;
}

class WindowProperties : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    SetWindowMetricsSource(NominalMetrics);
    AddDefinitions("test$PROPS", kPropertyWindows);
  }
  void TearDown() override {
    SetWindowMetricsSource(nullptr);
    WindowTest::TearDown();
  }

  void OpenShown(ProcedureWindow& window, const char* label) {
    window.Open("test$PROPS", label, {m_first, m_second});
    ASSERT_TRUE(window.IsOpen());
    ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  }

  static DWORD Style(HWND handle) { return static_cast<DWORD>(GetWindowLongA(handle, GWL_STYLE)); }

  char m_first[20] = {};
  char m_second[20] = {};
};

TEST_F(WindowProperties, PositionAndSizeAreInTheWindowsUnitAndMoveTheWindow) {
  ProcedureWindow window;
  OpenShown(window, "W");
  EXPECT_EQ(window.Property(kPropX), "10");
  EXPECT_EQ(window.Property(kPropY), "20");
  EXPECT_EQ(window.Property(kPropWidth), "100");
  EXPECT_EQ(window.Property(kPropHeight), "40");

  window.SetProperty(kPropX, 40);
  window.SetProperty(kPropY, 16);
  RECT outer{};
  GetWindowRect(window.Handle(), &outer);
  EXPECT_EQ(outer.left, 60);  // 40 * 12 / 8
  EXPECT_EQ(outer.top, 26);   // 16 * 13 / 8
  window.SetProperty(kPropWidth, 200);
  window.SetProperty(kPropHeight, "80  ");
  RECT client{};
  GetClientRect(window.Handle(), &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 130);
  GetWindowRect(window.Handle(), &outer);
  EXPECT_EQ(outer.left, 60) << "resizing keeps the position";
  EXPECT_EQ(window.Property(kPropWidth), "200");
  EXPECT_EQ(window.Property(kPropHeight), "80");
  window.SetProperty(kPropWidth, -5);
  GetClientRect(window.Handle(), &client);
  EXPECT_EQ(client.right, 0) << "a negative size is no size";
  window.Close();
}

TEST_F(WindowProperties, TheTitleIsClippedShownAndGivesOrTakesTheCaption) {
  ProcedureWindow window;
  OpenShown(window, "PLAIN");
  EXPECT_EQ(window.Property(kPropTitle), "");
  EXPECT_NE(Style(window.Handle()) & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_TRUE(Style(window.Handle()) & WS_BORDER);

  window.SetProperty(kPropTitle, "Results   ");
  char text[64] = {};
  GetWindowTextA(window.Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Results");
  EXPECT_EQ(window.Property(kPropTitle), "Results");
  EXPECT_EQ(Style(window.Handle()) & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));

  window.SetProperty(kPropTitle, "");
  EXPECT_NE(Style(window.Handle()) & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_TRUE(Style(window.Handle()) & WS_BORDER) << "the single border of the frame stays";
  window.Close();
}

TEST_F(WindowProperties, MinimisedAndMaximisedFollowTheWindowsState) {
  ProcedureWindow window;
  OpenShown(window, "W");
  EXPECT_EQ(window.Property(kPropIconized), "0");
  window.SetProperty(kPropIconized, 1);
  EXPECT_TRUE(IsIconic(window.Handle()));
  EXPECT_EQ(window.Property(kPropIconized), "1");
  window.SetProperty(kPropIconized, 0);
  EXPECT_FALSE(IsIconic(window.Handle()));
  EXPECT_TRUE(IsWindowVisible(window.Handle()));

  window.SetProperty(kPropMaximized, 1);
  EXPECT_TRUE(IsZoomed(window.Handle()));
  EXPECT_EQ(window.Property(kPropMaximized), "1");
  window.SetProperty(kPropMaximized, 0);
  EXPECT_FALSE(IsZoomed(window.Handle()));
  EXPECT_EQ(window.Property(kPropMaximized), "0");
  window.Close();
}

TEST_F(WindowProperties, AStateSetBeforeTheWindowIsShownIsTheStateItIsShownIn) {
  ProcedureWindow window;
  window.Open("test$PROPS", "W", {m_first, m_second});
  window.SetProperty(kPropMaximized, 1);
  EXPECT_FALSE(IsWindowVisible(window.Handle())) << "the first ACCEPT step shows the window";
  EXPECT_EQ(window.Property(kPropMaximized), "1");
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  EXPECT_TRUE(IsZoomed(window.Handle()));
  window.Close();
}

TEST_F(WindowProperties, HelpAndMessageDefaultsComeFromTheDefinitionAndCanBeReplaced) {
  ProcedureWindow window;
  OpenShown(window, "W");
  EXPECT_EQ(window.Property(kPropHelp), "HELPKEY");
  EXPECT_EQ(window.Property(kPropMessage), "Ready");
  window.SetProperty(kPropHelp, "OTHERKEY");
  window.SetProperty(kPropMessage, "Searching...");
  EXPECT_EQ(window.Property(kPropHelp), "OTHERKEY");
  EXPECT_EQ(window.Object().defaultMessage, "Searching...");
  window.SetProperty(kPropMessage, "");
  EXPECT_EQ(window.Object().defaultMessage, std::nullopt) << "an empty default is no default";
  window.Close();
}

TEST_F(WindowProperties, ThreadAndHandleAreReadOnlyAndUnknownNumbersAreEmptyAndIgnored) {
  ProcedureWindow window;
  OpenShown(window, "W");
  EXPECT_EQ(window.Property(kPropThread), "1");
  std::string handle = std::to_string(reinterpret_cast<std::uintptr_t>(window.Handle()));
  EXPECT_EQ(window.Property(kPropHandle), handle);
  window.SetProperty(kPropHandle, 5);
  window.SetProperty(kPropThread, 9);
  EXPECT_EQ(window.Property(kPropHandle), handle);
  EXPECT_EQ(window.Property(kPropThread), "1");

  values::StringStack& stack = values::CurrentStringStack();
  std::uint32_t depth = stack.Count();
  EXPECT_EQ(window.Property(0x7C00), "");
  window.SetProperty(0x7C00, "anything");
  EXPECT_EQ(stack.Count(), depth) << "every get pushes one value and every set pops one";
  window.Close();
}

TEST_F(WindowProperties, WindowZeroIsTheTargetWindow) {
  ProcedureWindow first;
  OpenShown(first, "W");
  ProcedureWindow second;
  OpenShown(second, "PLAIN");
  values::PushCString("Second");
  SetWindowProperty(nullptr, kPropTitle);
  EXPECT_EQ(second.Property(kPropTitle), "Second") << "the current window";
  SetTargetWindow(&first.Object());
  GetWindowProperty(nullptr, kPropTitle);
  values::StringView top = values::TopView();
  EXPECT_EQ(std::string(top.data, top.length), "Props");
  values::DropTop();
  SetTargetWindow(nullptr, 0);
  second.Close();
  first.Close();
}

TEST_F(WindowProperties, AcceptAllStartsAndStopsAPass) {
  ProcedureWindow window;
  OpenShown(window, "W");
  window.SetProperty(kPropAcceptAll, 1);
  EXPECT_EQ(window.Property(kPropAcceptAll), "1");
  EXPECT_EQ(NextEvent(window), Number(EVENT_Accepted));
  EXPECT_EQ(AcceptedField(), 1);
  EXPECT_EQ(NextEvent(window), Number(EVENT_Accepted));
  EXPECT_EQ(AcceptedField(), 2);
  EXPECT_EQ(NextEvent(window), Number(EVENT_Completed));
  EXPECT_EQ(window.Property(kPropAcceptAll), "0");

  window.SetProperty(kPropAcceptAll, 1);
  window.SetProperty(kPropAcceptAll, 0);
  window.Post(Number(EVENT_Notify));
  EXPECT_EQ(NextEvent(window), Number(EVENT_Notify)) << "a stopped pass validates nothing";
  window.Close();
}

int g_replacedCalls = 0;
WNDPROC g_previousProcedure = nullptr;
constexpr UINT kProbeMessage = WM_USER + 77;

LRESULT CALLBACK CountingProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbeMessage) {
    ++g_replacedCalls;
    return 42;
  }
  return CallWindowProcA(g_previousProcedure, handle, message, wParam, lParam);
}

TEST_F(WindowProperties, TheWindowProcedureCanBeReplacedAndChainedTo) {
  ProcedureWindow window;
  OpenShown(window, "W");
  std::string runtimeProcedure = std::to_string(reinterpret_cast<std::uintptr_t>(&RuntimeWindowProcedure));
  EXPECT_EQ(window.Property(kPropWindowProcedure), runtimeProcedure);
  EXPECT_EQ(window.Property(kPropWindowProcedure2), runtimeProcedure);

  g_replacedCalls = 0;
  g_previousProcedure = reinterpret_cast<WNDPROC>(std::stoull(window.Property(kPropWindowProcedure)));
  window.SetProperty(kPropWindowProcedure, std::to_string(reinterpret_cast<std::uintptr_t>(&CountingProcedure)));
  EXPECT_EQ(SendMessageA(window.Handle(), kProbeMessage, 0, 0), 42);
  EXPECT_EQ(g_replacedCalls, 1);
  window.SetProperty(kPropWindowProcedure2, 0);
  EXPECT_EQ(GetWindowLongPtrA(window.Handle(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&CountingProcedure))
      << "a procedure of 0 is refused";

  // The runtime's procedure still turns messages into events behind the new one.
  PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(NextEvent(window), Number(EVENT_CloseWindow));
  EXPECT_EQ(NextEvent(window), -1);
  window.Close();
}

using WindowPropertiesDeathTest = WindowProperties;

TEST_F(WindowPropertiesDeathTest, APropertyOfNoOpenWindowIsError536) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        GetWindowProperty(nullptr, kPropTitle);
      },
      ::testing::ExitedWithCode(2), "Window is not open");
  EXPECT_EXIT(
      {
        ProcedureWindow window;
        window.SetIdleTimer(Number(EVENT_Notify), 10);
      },
      ::testing::ExitedWithCode(2), "Window is not open");
}

}  // namespace
}  // namespace vel::windows::testing
