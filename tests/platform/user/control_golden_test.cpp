#include <gtest/gtest.h>

#include "tests/platform/user/control_test_support.h"

// Golden images of the standard controls in every state they can show, and of top-level
// frames. Each image is one host window holding a row of controls, one per state.

namespace vel::platform::usertest {
namespace {

using testing::CompareWindowWithGolden;

constexpr int kWidth = 78;
constexpr int kHeight = 25;
constexpr int kGap = 4;

class GoldenControls : public ControlTest {
 protected:
  // A row of controls of one style, each put in the state its label names.
  HWND StateRow(const char* className, DWORD style, const std::vector<const char*>& states) {
    int count = static_cast<int>(states.size());
    HWND host = MakeHost(WS_POPUP | WS_VISIBLE, 20, 20, kGap + count * (kWidth + kGap), kHeight + 2 * kGap);
    HWND hot = nullptr;
    for (int i = 0; i < count; ++i) {
      std::string state = states[static_cast<size_t>(i)];
      HWND control = MakeControl(className, "&Find", style | WS_TABSTOP, host, kGap + i * (kWidth + kGap),
                                 kGap, kWidth, kHeight, 100 + i);
      if (state == "pressed") SendMessageA(control, BM_SETSTATE, TRUE, 0);
      if (state == "focused") SetFocus(control);
      if (state == "disabled" || state == "checked-disabled") EnableWindow(control, FALSE);
      if (state == "checked" || state == "checked-disabled")
        SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
      if (state == "indeterminate") SendMessageA(control, BM_SETCHECK, BST_INDETERMINATE, 0);
      if (state == "hot") hot = control;
    }
    Pump();
    if (hot != nullptr) {
      Display().MoveMouse(ScreenPoint(hot, 30, 12));
      Pump();
    }
    return host;
  }
};

const std::vector<const char*> kPushStates = {"normal", "hot", "pressed", "focused", "disabled"};
const std::vector<const char*> kCheckStates = {"normal",   "hot",     "pressed",          "focused",
                                               "disabled", "checked", "checked-disabled", "indeterminate"};

TEST_F(GoldenControls, PushButtons) {
  EXPECT_EQ(CompareWindowWithGolden(StateRow("Button", BS_PUSHBUTTON, kPushStates), "button_push"), "");
}

TEST_F(GoldenControls, DefaultPushButtons) {
  EXPECT_EQ(CompareWindowWithGolden(StateRow("Button", BS_DEFPUSHBUTTON, kPushStates), "button_default_push"),
            "");
}

TEST_F(GoldenControls, FlatPushButtons) {
  EXPECT_EQ(
      CompareWindowWithGolden(StateRow("Button", BS_PUSHBUTTON | BS_FLAT, kPushStates), "button_flat_push"),
      "");
}

TEST_F(GoldenControls, CheckBoxes) {
  EXPECT_EQ(CompareWindowWithGolden(StateRow("Button", BS_AUTO3STATE, kCheckStates), "button_check_box"), "");
}

TEST_F(GoldenControls, FlatCheckBoxes) {
  EXPECT_EQ(CompareWindowWithGolden(StateRow("Button", BS_AUTOCHECKBOX | BS_FLAT, kCheckStates),
                                    "button_flat_check_box"),
            "");
}

TEST_F(GoldenControls, RadioButtons) {
  EXPECT_EQ(CompareWindowWithGolden(StateRow("Button", BS_RADIOBUTTON, kCheckStates), "button_radio"), "");
}

TEST_F(GoldenControls, RadioButtonsWithTextOnTheLeft) {
  const std::vector<const char*> states = {"normal", "focused", "checked", "checked-disabled"};
  EXPECT_EQ(CompareWindowWithGolden(StateRow("Button", BS_AUTORADIOBUTTON | BS_LEFTTEXT, states),
                                    "button_radio_left_text"),
            "");
}

TEST_F(GoldenControls, IconAndBitmapButtons) {
  HWND host = MakeHost(WS_POPUP | WS_VISIBLE, 20, 20, 260, 50);
  HICON icon = LoadIconA(nullptr, IDI_INFORMATION);
  HBITMAP bitmap = LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_COMBO));
  HWND normal = MakeControl("Button", "unused", BS_PUSHBUTTON | BS_ICON, host, 4, 4, 50, 42);
  HWND pressed = MakeControl("Button", "unused", BS_PUSHBUTTON | BS_ICON, host, 58, 4, 50, 42);
  HWND withBitmap = MakeControl("Button", "", BS_PUSHBUTTON | BS_BITMAP, host, 112, 4, 50, 42);
  HWND check = MakeControl("Button", "", BS_AUTOCHECKBOX | BS_ICON, host, 166, 4, 90, 42);
  for (HWND button : {normal, pressed, check}) {
    EXPECT_EQ(SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)), 0);
  }
  SendMessageA(withBitmap, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  EXPECT_EQ(SendMessageA(normal, BM_GETIMAGE, IMAGE_ICON, 0), reinterpret_cast<LRESULT>(icon));
  SendMessageA(pressed, BM_SETSTATE, TRUE, 0);
  SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
  Pump();
  EXPECT_EQ(CompareWindowWithGolden(host, "button_images"), "");
  DeleteObject(bitmap);
}

TEST_F(GoldenControls, GroupBoxesAroundControls) {
  HWND host = MakeHost(WS_POPUP | WS_VISIBLE, 20, 20, 260, 90);
  MakeControl("Button", "&Options", BS_GROUPBOX, host, 6, 4, 120, 80, 1);
  MakeControl("Button", "&AND", BS_AUTORADIOBUTTON | WS_GROUP, host, 16, 24, 90, 20, 2);
  MakeControl("Button", "&OR", BS_AUTORADIOBUTTON, host, 16, 50, 90, 20, 3);
  HWND disabled = MakeControl("Button", "Disabled", BS_GROUPBOX, host, 134, 4, 120, 80, 4);
  EnableWindow(disabled, FALSE);
  MakeControl("Button", "", BS_GROUPBOX, host, 144, 30, 100, 44, 5);
  Pump();
  EXPECT_EQ(CompareWindowWithGolden(host, "button_group_box"), "");
}

TEST_F(GoldenControls, StaticTextAlignmentsPrefixesAndWrapping) {
  HWND host = MakeHost(WS_POPUP | WS_VISIBLE, 20, 20, 330, 100);
  MakeControl("Static", "&Search String:", SS_LEFT, host, 4, 4, 100, 16);
  MakeControl("Static", "&Author:", SS_CENTER, host, 112, 4, 100, 16);
  MakeControl("Static", "&Hits:", SS_RIGHT, host, 220, 4, 100, 16);
  MakeControl("Static", "Long text that wraps at a word", SS_LEFT, host, 4, 26, 100, 34);
  MakeControl("Static", "Long text that wraps at a word", SS_CENTER, host, 112, 26, 100, 34);
  MakeControl("Static", "Long text that wraps at a word", SS_RIGHT, host, 220, 26, 100, 34);
  MakeControl("Static", "No wrap, && no clip text", SS_LEFTNOWORDWRAP, host, 4, 66, 100, 16);
  MakeControl("Static", "&Literal & sign", SS_SIMPLE | SS_NOPREFIX, host, 112, 66, 100, 16);
  HWND disabled = MakeControl("Static", "&Disabled", SS_LEFT, host, 220, 66, 100, 16);
  EnableWindow(disabled, FALSE);
  Pump();
  EXPECT_EQ(CompareWindowWithGolden(host, "static_text"), "");
}

TEST_F(GoldenControls, StaticRectanglesFramesAndIcons) {
  HWND host = MakeHost(WS_POPUP | WS_VISIBLE, 20, 20, 300, 60);
  const DWORD kinds[] = {SS_BLACKRECT,  SS_GRAYRECT,    SS_WHITERECT,  SS_BLACKFRAME, SS_GRAYFRAME,
                         SS_WHITEFRAME, SS_ETCHEDFRAME, SS_ETCHEDHORZ, SS_ETCHEDVERT};
  int x = 4;
  for (DWORD kind : kinds) {
    MakeControl("Static", "", kind, host, x, 4, 24, 16);
    x += 28;
  }
  HWND icon = MakeControl("Static", "", SS_ICON, host, 4, 24, 10, 10);
  SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_INFORMATION)), 0);
  HWND centred = MakeControl("Static", "", SS_ICON | SS_CENTERIMAGE | SS_SUNKEN, host, 60, 22, 60, 36);
  SendMessageA(centred, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_EXCLAMATION)), 0);
  Pump();
  EXPECT_EQ(CompareWindowWithGolden(host, "static_kinds"), "");
}

class GoldenFrames : public ControlTest {};

TEST_F(GoldenFrames, OverlappedWindowActiveAndInactive) {
  HWND inactive = MakeHost(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 220, 90, "Inactive window");
  HWND active = MakeHost(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 250, 10, 220, 90, "Search the archive");
  Pump();
  ASSERT_EQ(GetActiveWindow(), active);
  EXPECT_EQ(CompareWindowWithGolden(active, "frame_overlapped_active"), "");
  EXPECT_EQ(CompareWindowWithGolden(inactive, "frame_overlapped_inactive"), "");
}

TEST_F(GoldenFrames, MaximisedWindowShowsTheRestoreButton) {
  HWND window = MakeHost(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 220, 90, "Maximised");
  // The style alone decides which glyph the button shows.
  SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) | WS_MAXIMIZE);
  RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  Pump();
  EXPECT_EQ(CompareWindowWithGolden(window, "frame_maximised_caption"), "");
}

TEST_F(GoldenFrames, DialogBorderAndEdgeFrames) {
  HWND dialog = MakeHost(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 10, 10, 200, 80, "Dialog frame",
                         WS_EX_DLGMODALFRAME);
  HWND tool = MakeHost(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, 220, 10, 200, 80,
                       "Only minimise");
  HWND bordered = MakeHost(WS_POPUP | WS_BORDER | WS_VISIBLE, 10, 100, 60, 40);
  HWND clientEdge = MakeHost(WS_POPUP | WS_VISIBLE, 80, 100, 60, 40, "", WS_EX_CLIENTEDGE);
  HWND staticEdge = MakeHost(WS_POPUP | WS_VISIBLE, 150, 100, 60, 40, "", WS_EX_STATICEDGE);
  HWND both = MakeHost(WS_POPUP | WS_DLGFRAME | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 220, 100, 80, 60, "",
                       WS_EX_CLIENTEDGE);
  Pump();
  ASSERT_EQ(GetActiveWindow(), both);
  EXPECT_EQ(CompareWindowWithGolden(dialog, "frame_dialog"), "");
  EXPECT_EQ(CompareWindowWithGolden(tool, "frame_minimise_only"), "");
  EXPECT_EQ(CompareWindowWithGolden(bordered, "frame_border"), "");
  EXPECT_EQ(CompareWindowWithGolden(clientEdge, "frame_client_edge"), "");
  EXPECT_EQ(CompareWindowWithGolden(staticEdge, "frame_static_edge"), "");
  EXPECT_EQ(CompareWindowWithGolden(both, "frame_dialog_client_edge_scroll"), "");
}

}  // namespace
}  // namespace vel::platform::usertest
