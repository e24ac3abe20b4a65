// Golden images of the search window's buttons as a user sees them: the flat icon button at
// rest, under the pointer, pressed, with the focus and disabled, side by side; and the AND/OR
// option box with each radio button chosen.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/display/headless/headless_display.h"
#include "runtime/controls/button_control.h"
#include "tests/runtime/controls/control_test_support.h"
#include "tests/support/golden.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

class ButtonGoldens : public ControlTest {
 protected:
  static platform::HeadlessDisplay& Display() { return *platform::CurrentHeadlessDisplay(); }

  /// What `window` shows now, after painting everything that waits.
  std::unique_ptr<platform::Surface> Shot(ProcedureWindow& owner, HWND window) {
    PendingEvents(owner);
    RedrawWindow(owner.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return platform::testing::CaptureWindowPixels(window);
  }

  /// Pictures of equal height laid side by side, a pixel of white between them.
  static std::unique_ptr<platform::Surface> SideBySide(const std::vector<std::unique_ptr<platform::Surface>>& shots) {
    int width = 0, height = 0;
    for (const auto& shot : shots) {
      if (!shot) return nullptr;
      width += shot->Width() + 1;
      height = std::max(height, shot->Height());
    }
    auto strip = std::make_unique<platform::Surface>(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) strip->SetPixel(x, y, 0xFFFFFFFF);
    int left = 0;
    for (const auto& shot : shots) {
      for (int y = 0; y < shot->Height(); ++y)
        for (int x = 0; x < shot->Width(); ++x) strip->SetPixel(left + x, y, shot->Pixel(x, y));
      left += shot->Width() + 1;
    }
    return strip;
  }
};

TEST_F(ButtonGoldens, TheFlatIconButtonAtRestHotPressedFocusedAndDisabled) {
  ProcedureWindow window;
  OpenSearchWindow(window);
  auto* undo = dynamic_cast<ButtonControl*>(Control(window, 4));
  ASSERT_NE(undo, nullptr);
  ASSERT_TRUE(undo->HasIcon());
  HWND button = undo->Handle();
  const POINT inside = MiddleOf(button);
  const POINT away = MiddleOf(Control(window, 2)->Handle());

  std::vector<std::unique_ptr<platform::Surface>> shots;
  Display().MoveMouse(away);
  shots.push_back(Shot(window, button));
  Display().MoveMouse(inside);
  shots.push_back(Shot(window, button));
  ASSERT_TRUE(undo->HasDrawState(kDrawHot));
  Display().MouseDown(inside);
  shots.push_back(Shot(window, button));
  ASSERT_TRUE(undo->HasDrawState(kDrawPressed));
  Display().MoveMouse(away);
  Display().MouseUp(away);
  // The hover timer (20 ms) notices that the pointer has gone.
  Display().AdvanceClock(20);
  PendingEvents(window);
  ASSERT_FALSE(undo->HasDrawState(kDrawHot));
  SetFocus(button);
  shots.push_back(Shot(window, button));
  SetFocus(Control(window, 2)->Handle());
  undo->EnableOrDisable(false);
  shots.push_back(Shot(window, button));
  ASSERT_TRUE(undo->HasDrawState(kDrawDisabled));

  auto strip = SideBySide(shots);
  ASSERT_NE(strip, nullptr) << "every state was drawn";
  EXPECT_EQ(platform::testing::CompareWithGolden(*strip, "button_flat_icon_states"), "");
}

TEST_F(ButtonGoldens, TheOptionBoxWithEachRadioButtonChosen) {
  ProcedureWindow window;
  OpenSearchWindow(window);
  HWND orButton = Control(window, 13)->Handle();
  HWND andButton = Control(window, 14)->Handle();
  RECT both{};
  RECT orPlace = PlaceOf(orButton), andPlace = PlaceOf(andButton);
  UnionRect(&both, &orPlace, &andPlace);

  std::vector<std::unique_ptr<platform::Surface>> shots;
  for (HWND radio : {andButton, orButton}) {
    Display().Click(MiddleOf(radio));
    auto client = Shot(window, window.Object().client);
    ASSERT_NE(client, nullptr);
    auto area = std::make_unique<platform::Surface>(both.right - both.left, both.bottom - both.top);
    for (int y = 0; y < area->Height(); ++y)
      for (int x = 0; x < area->Width(); ++x) area->SetPixel(x, y, client->Pixel(both.left + x, both.top + y));
    shots.push_back(std::move(area));
  }
  EXPECT_EQ(std::string(m_andOr, 3), "OR ");
  auto strip = SideBySide(shots);
  ASSERT_NE(strip, nullptr);
  EXPECT_EQ(platform::testing::CompareWithGolden(*strip, "option_box_and_then_or"), "");
}

}  // namespace
}  // namespace vel::controls::testing
