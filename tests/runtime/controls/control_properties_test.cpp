// The property table of controls, read and set through the string stack as procedures do.

#include "runtime/controls/control_properties.h"

#include <gtest/gtest.h>

#include "runtime/controls/control_factory.h"
#include "runtime/values/string_stack.h"
#include "runtime/windows/property_values.h"
#include "runtime/windows/unit_conversion.h"
#include "tests/runtime/controls/control_test_support.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

class ControlProperties : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    Open(m_window, R"(window "W" at(0, 0, 200, 100) font("Arial", 8, default, 400)
  prompt "Name" at(2, 2, 30, 8)
  entry use(FixedString, 4) at(40, 2, 40, 10)
  image "" at(2, 20, 100, 60)
  button "Go" at(120, 2, 30, 12)
end
)",
         {m_text});
    ASSERT_TRUE(m_window.IsOpen());
  }

  void Set(std::int32_t field, std::int32_t property, const std::string& value) {
    PushPropertyText(value);
    SetFieldProperty(&m_window.Object(), field, property);
  }
  std::string Get(std::int32_t field, std::int32_t property) {
    GetFieldProperty(&m_window.Object(), field, property);
    return PopPropertyText();
  }

  ProcedureWindow m_window;
  char m_text[4] = {'a', 'b', 'c', 'd'};
};

TEST_F(ControlProperties, JustificationSetsOneKindAtATimeAndKeepsItsOffsetInDialogUnits) {
  WindowedControl* entry = Control(m_window, 2);
  Set(2, kPropRight, "1");
  EXPECT_EQ(entry->Attributes() & kAttrJustifyMask, kAttrJustifyRight);
  EXPECT_EQ(Get(2, kPropRight), "1");
  EXPECT_EQ(Get(2, kPropCentre), "0");
  Set(2, kPropCentreOffset, "6");
  EXPECT_EQ(entry->Attributes() & kAttrJustifyMask, kAttrJustifyCentre);
  UnitConverter dialogUnits(0, m_window.Object().metrics);
  EXPECT_EQ(entry->JustifyOffset(), dialogUnits.ToPixelsX(6));
  EXPECT_EQ(Get(2, kPropCentreOffset), "6");
  // Clearing another kind leaves this one; clearing this one leaves none.
  Set(2, kPropLeft, "0");
  EXPECT_EQ(entry->Attributes() & kAttrJustifyMask, kAttrJustifyCentre);
  Set(2, kPropCentre, "0");
  EXPECT_EQ(entry->Attributes() & kAttrJustifyMask, 0u);
}

TEST_F(ControlProperties, SkipTakesTheTabStopAlongWhereTheKindAsksAndFlagsSetTheirBits) {
  Set(2, kPropSkip, "1");
  EXPECT_TRUE(Control(m_window, 2)->HasAttribute(kAttrSkip));
  EXPECT_FALSE(StyleOf(Control(m_window, 2)->Handle()) & WS_TABSTOP);
  Set(2, kPropSkip, "0");
  EXPECT_TRUE(StyleOf(Control(m_window, 2)->Handle()) & WS_TABSTOP);
  Set(1, kPropTransparent, "1");
  EXPECT_EQ(Get(1, kPropTransparent), "1");
  Set(1, kPropThreeDimensional, "1");
  EXPECT_TRUE(Control(m_window, 1)->HasAttribute(kAttrThreeDimensional));
  Set(2, kPropReportChanges, "1");
  EXPECT_EQ(Get(2, kPropReportChanges), "1");
}

TEST_F(ControlProperties, SizesAreInTheWindowsUnitAndTheDefaultMakesTheControlSizeItself) {
  UnitConverter units(m_window.Object().flags, m_window.Object().metrics);
  WindowedControl* prompt = Control(m_window, 1);
  EXPECT_EQ(Get(1, kPropWidth), std::to_string(units.FromPixelsX(PlaceOf(prompt->Handle()).right -
                                                                 PlaceOf(prompt->Handle()).left)));
  Set(1, kPropWidth, "50");
  RECT place = PlaceOf(prompt->Handle());
  EXPECT_EQ(place.right - place.left, units.ToPixelsX(50));
  Set(1, kPropWidth, "-2147483648");
  EXPECT_TRUE(prompt->HasState(kStateDefaultWidth));
  EXPECT_EQ(Get(1, kPropDefaultWidth), "1");
  place = PlaceOf(prompt->Handle());
  EXPECT_EQ(place.right - place.left, prompt->Font()->TextWidth("Name"));
  Set(1, kPropDefaultHeight, "1");
  place = PlaceOf(prompt->Handle());
  EXPECT_EQ(place.bottom - place.top, prompt->Font()->CharHeight());
  Set(1, kPropDefaultWidth, "0");
  EXPECT_FALSE(prompt->HasState(kStateDefaultWidth));
}

TEST_F(ControlProperties, FontPropertiesMakeANewFont) {
  WindowedControl* prompt = Control(m_window, 1);
  int before = prompt->Font()->CharHeight();
  Set(1, kPropFontSize, "16");
  EXPECT_EQ(Get(1, kPropFontSize), "16");
  EXPECT_GT(prompt->Font()->CharHeight(), before);
  EXPECT_EQ(SendMessageA(prompt->Handle(), WM_GETFONT, 0, 0),
            reinterpret_cast<LRESULT>(prompt->Font()->Handle()));
  Set(1, kPropFontFace, "Courier New");
  EXPECT_EQ(Get(1, kPropFontFace), "Courier New");
  Set(1, kPropFontStyle, "700");
  EXPECT_EQ(Get(1, kPropFontStyle), "700");
}

TEST_F(ControlProperties, ParentAndZOrderMoveTheWindowAmongItsSiblings) {
  HWND prompt = Control(m_window, 1)->Handle();
  HWND image = Control(m_window, 3)->Handle();
  RECT before{};
  GetWindowRect(prompt, &before);
  Set(1, kPropParent, "3");
  EXPECT_EQ(GetParent(prompt), image);
  EXPECT_EQ(Get(1, kPropParent), "3");
  RECT after{};
  GetWindowRect(prompt, &after);
  EXPECT_EQ(after.left, before.left) << "the control stays where it was on the screen";
  Set(1, kPropParent, "2");  // not an image: nothing happens
  EXPECT_EQ(GetParent(prompt), image);
  Set(1, kPropParent, "0");
  EXPECT_EQ(GetParent(prompt), m_window.Object().client);

  Set(4, kPropZOrder, "1");
  EXPECT_EQ(GetWindow(Control(m_window, 4)->Handle(), GW_HWNDPREV), prompt);
  EXPECT_EQ(Get(4, kPropZOrder), "1");
  Set(4, kPropZOrder, "0");
  EXPECT_EQ(GetWindow(Control(m_window, 4)->Handle(), GW_HWNDNEXT), nullptr) << "0 is the bottom";
}

TEST_F(ControlProperties, TheWindowCanBeReplacedByAnotherExistingWindow) {
  WindowedControl* entry = Control(m_window, 2);
  HWND old = entry->Handle();
  RECT place = PlaceOf(old);
  HWND replacement =
      CreateWindowExA(0, "Static", "new", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(replacement, nullptr);
  EXPECT_EQ(Get(2, kPropHandle), std::to_string(reinterpret_cast<std::intptr_t>(old)));
  Set(2, kPropHandle, std::to_string(reinterpret_cast<std::intptr_t>(replacement)));
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(entry->Handle(), replacement);
  EXPECT_EQ(GetParent(replacement), m_window.Object().client);
  EXPECT_EQ(GetWindowLongPtrA(replacement, GWLP_ID), 2 + 0x4000);
  RECT now = PlaceOf(replacement);
  EXPECT_EQ(now.left, place.left);
  EXPECT_EQ(now.right, place.right);
  EXPECT_EQ(now.bottom, place.bottom);
  EXPECT_TRUE(StyleOf(replacement) & WS_VISIBLE);
  EXPECT_EQ(m_window.Object().ControlOfHandle(replacement), entry);
}

TEST_F(ControlProperties, UnknownPropertiesAndFieldsKeepTheStackBalanced) {
  std::uint32_t depth = values::CurrentStringStack().Count();
  Set(2, 0x7FFF, "1");
  Set(99, kPropSkip, "1");
  EXPECT_EQ(Get(2, 0x7FFF), "");
  EXPECT_EQ(Get(99, kPropSkip), "");
  EXPECT_EQ(values::CurrentStringStack().Count(), depth);
}

TEST_F(ControlProperties, TheWindowProcedureCanBeReadAndReplaced) {
  HWND button = Control(m_window, 4)->Handle();
  std::string procedure = Get(4, kPropWindowProcedure);
  EXPECT_EQ(procedure, std::to_string(GetWindowLongPtrA(button, GWLP_WNDPROC)));
  Set(4, kPropWindowProcedure, "0");
  EXPECT_EQ(Get(4, kPropWindowProcedure), procedure) << "0 would leave the window without a procedure";
}

using ControlPropertiesDeathTest = ControlProperties;

TEST_F(ControlPropertiesDeathTest, AReplacementThatIsNoWindowIsError506) {
  EXPECT_EXIT(
      {
        Set(2, kPropHandle, "12345");
        std::exit(0);
      },
      ::testing::ExitedWithCode(2), "Internal error 06 : CTLMAIN - invalid handle");
}

}  // namespace
}  // namespace vel::controls::testing
