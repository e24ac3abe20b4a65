// The dispatcher and the common control handler: what reaches the class handler, the base
// procedure and the window; cursors; the runtime's private queries.

#include <gtest/gtest.h>

#include <vector>

#include "runtime/controls/busy_cursor.h"
#include "runtime/controls/control_class.h"
#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/control_factory.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/query_messages.h"
#include "tests/runtime/controls/control_test_support.h"

namespace vel::controls::testing {
namespace {

using namespace windows;  // message names

// What the probe's base class procedure received.
std::vector<UINT>& BaseMessages() {
  static std::vector<UINT> messages;
  return messages;
}

LRESULT CALLBACK RecordingBaseProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  BaseMessages().push_back(message);
  if (message == WM_USER + 1) return 77;
  return DefWindowProcA(window, message, wParam, lParam);
}

ControlClassDescriptor g_probeClass{"VelTestProbe", "TestProbeBase", 0};

// A control kind on a recording base class; it consumes WM_USER + 2 itself.
class ProbeControl : public WindowedControl {
 public:
  explicit ProbeControl(const Record& record) : WindowedControl(record) {}
  void Construct(const Record& record) override {
    CreateControlWindow(&record, g_probeClass, ControlWindowProcedure<g_probeClass>, 0, record.text,
                        WS_VISIBLE | WS_TABSTOP);
  }
  LRESULT HandleMessage(UINT message, WPARAM, LPARAM, bool& passOn) override {
    handled.push_back(message);
    if (message != WM_USER + 2) return 0;
    passOn = false;
    return 55;
  }
  std::vector<UINT> handled;
};

class ControlDispatch : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    WNDCLASSA base{};
    base.lpfnWndProc = RecordingBaseProcedure;
    base.lpszClassName = "TestProbeBase";
    RegisterClassA(&base);
    RegisterControlKind(kKindImage, CreateKind<ProbeControl>);
    BaseMessages().clear();
  }

  ProbeControl* OpenProbe(ProcedureWindow& window, const std::string& items = "") {
    Open(window,
         "window \"W\" at(0, 0, 200, 100) cursor(stock, 32515)\n  image \"probe\" at(10, 10, 40, 20) " +
             items + "\n  entry use(FixedString, 4) at(60, 10, 40, 10)\nend\n",
         {m_text});
    return dynamic_cast<ProbeControl*>(Control(window, 1));
  }

  char m_text[4] = {'a', 'b', 'c', 'd'};
};

TEST_F(ControlDispatch, PrivateMessagesNeverReachTheBaseProcedure) {
  ProcedureWindow window;
  ProbeControl* probe = OpenProbe(window);
  ASSERT_NE(probe, nullptr);
  HWND handle = probe->Handle();
  EXPECT_EQ(ClassOf(handle), "VelTestProbe");
  BaseMessages().clear();
  // Below 0x1400 the base class answers what neither handler consumed.
  EXPECT_EQ(SendMessageA(handle, WM_USER + 1, 0, 0), 77);
  // What the class consumes stays with it.
  EXPECT_EQ(SendMessageA(handle, WM_USER + 2, 0, 0), 55);
  // The runtime's range never reaches the base, whether anyone answers or not.
  for (UINT message : {0x1400u, 0x1401u, 0x2402u, 0x2500u, 0x7FFFu}) SendMessageA(handle, message, 0, 0);
  EXPECT_EQ(BaseMessages(), std::vector<UINT>{WM_USER + 1});
  EXPECT_EQ(probe->handled.back(), 0x7FFFu) << "the class handler sees every message";
}

TEST_F(ControlDispatch, EveryControlAnswersTheFrameworksQueries) {
  ProcedureWindow window;
  ProbeControl* probe = OpenProbe(window);
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  HWND handle = probe->Handle();
  EXPECT_EQ(SendMessageA(handle, QUERY_PFIELD, 0, 0),
            reinterpret_cast<LRESULT>(static_cast<ControlBase*>(probe)));
  EXPECT_EQ(SendMessageA(handle, kIsRuntimeControlMessage, 0, 0), 1);
  EXPECT_EQ(SendMessageA(handle, kCanTabMessage, 0, 0), 1);
  ShowWindow(handle, SW_HIDE);
  EXPECT_EQ(SendMessageA(handle, kCanTabMessage, 0, 0), 0) << "a hidden control takes no part in tabbing";
  ShowWindow(handle, SW_SHOW);
  probe->SetAttribute(kAttrTransparent, true);
  EXPECT_EQ(SendMessageA(handle, kCanTabMessage, 0, 0), 0) << "nor does a transparent one";
  // The window answers for its client window.
  EXPECT_EQ(SendMessageA(window.Object().client, QUERY_PSCREEN, 0, 0),
            reinterpret_cast<LRESULT>(&window.Object()));
}

TEST_F(ControlDispatch, CommandsAndColourRequestsGoOnToTheWindow) {
  ProcedureWindow window;
  ProbeControl* probe = OpenProbe(window, "colours(0x00FF00, default, default)");
  HWND handle = probe->Handle();
  // A window inside a control takes the control's colours: its colour request goes up to the
  // client window, which asks the control.
  HWND inner =
      CreateWindowExA(0, "Static", "x", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, handle, nullptr, nullptr, nullptr);
  HDC dc = GetDC(inner);
  LRESULT brush =
      SendMessageA(handle, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(inner));
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(BrushForColourValue(0x00FF00)));
  EXPECT_EQ(GetBkColor(dc) & 0xFFFFFF, 0x00FF00u);
  ReleaseDC(inner, dc);
  BaseMessages().clear();
  // A command a control receives (from a window inside it) is the window's to route; the base
  // class never sees it.
  SendMessageA(handle, WM_COMMAND, MAKEWPARAM(7, 0), 0);
  EXPECT_TRUE(BaseMessages().empty());
}

TEST_F(ControlDispatch, TheCursorIsTheBusyOneTheControlsOrTheFirstAncestorsThatSetsOne) {
  ProcedureWindow window;
  ProbeControl* probe = OpenProbe(window);
  HWND handle = probe->Handle();
  LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  // The probe names no cursor: the window's own (the definition's cross) shows.
  EXPECT_EQ(SendMessageA(handle, WM_SETCURSOR, reinterpret_cast<WPARAM>(handle), overClient), TRUE);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_CROSS));
  SetBusyCursor(LoadCursorA(nullptr, IDC_WAIT));
  SendMessageA(handle, WM_SETCURSOR, reinterpret_cast<WPARAM>(handle), overClient);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
  SetBusyCursor(nullptr);
  BaseMessages().clear();
  // Over the frame the base procedure decides.
  SendMessageA(handle, WM_SETCURSOR, reinterpret_cast<WPARAM>(handle), MAKELPARAM(HTBORDER, WM_MOUSEMOVE));
  EXPECT_EQ(BaseMessages(), std::vector<UINT>{WM_SETCURSOR});
}

TEST_F(ControlDispatch, AControlsOwnCursorShowsOverIt) {
  ProcedureWindow window;
  ProbeControl* probe = OpenProbe(window, "cursor(stock, 32649)");
  SendMessageA(probe->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(probe->Handle()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
}

TEST_F(ControlDispatch, AWindowOfTheClassWithoutItsObjectGoesStraightToTheBase) {
  ProcedureWindow window;
  OpenProbe(window);
  // A window made directly of the class has no object in its extra bytes.
  HWND stray = CreateWindowExA(0, "VelTestProbe", "", WS_CHILD, 0, 0, 5, 5, window.Object().client, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(stray, nullptr);
  BaseMessages().clear();
  EXPECT_EQ(SendMessageA(stray, WM_USER + 1, 0, 0), 77);
  SendMessageA(stray, 0x2402, 0, 0);
  EXPECT_EQ(BaseMessages(), std::vector<UINT>{WM_USER + 1});
  DestroyWindow(stray);
}

using ControlDispatchDeathTest = ControlDispatch;

TEST_F(ControlDispatchDeathTest, AMissingBaseClassIsError503) {
  static ControlClassDescriptor orphan{"VelTestOrphan", "NoSuchBaseClass", 0};
  EXPECT_EXIT(
      {
        RegisterControlClass(orphan, DefWindowProcA);
        std::exit(0);
      },
      ::testing::ExitedWithCode(2), "Internal error 03 : CTLMAIN");
}

}  // namespace
}  // namespace vel::controls::testing
