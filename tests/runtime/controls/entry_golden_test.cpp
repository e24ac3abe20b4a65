// Golden images of entries in each state (normal, focused with a selection, read-only,
// disabled, password, every justification, the three-dimensional look) and of spin boxes,
// drawn on the headless display with the pinned font.

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/windows/event_codes.h"
#include "tests/runtime/controls/entry_test_support.h"
#include "tests/support/golden.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

class EntryGolden : public EntryTest {
 protected:
  void ExpectGolden(ProcedureWindow& window, const std::string& golden) {
    Settle(window);
    RedrawWindow(window.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(platform::testing::CompareWindowWithGolden(window.Object().client, golden), "");
  }
};

TEST_F(EntryGolden, EntriesInEachStateAndJustification) {
  char texts[8][12];
  double amount = 1234.5;
  for (auto& text : texts) std::memcpy(text, "Sample text ", 12);
  ProcedureWindow window;
  OpenAndShow(window, R"(window "W" at(0, 0, 250, 150) flags(pixel) font("Arial", 8, default, 400) colours(0xE0E0E0, default, default)
  entry use(FixedString, 12) at(10, 10, 110, 20) picture("s12")
  entry use(FixedString, 12) at(130, 10, 110, 20) picture("s12")
  entry use(FixedString, 12) at(10, 40, 110, 20) picture("s12") mode(readonly)
  entry use(FixedString, 12) at(130, 40, 110, 20) picture("s12") attributes(disabled)
  entry use(FixedString, 12) at(10, 70, 110, 20) picture("s12") attributes(centre)
  entry use(FixedString, 12) at(130, 70, 110, 20) picture("s12") attributes(right)
  entry use(FixedString, 12) at(10, 100, 110, 20) picture("s12") mode(password)
  entry use(Float64, 8) at(130, 100, 110, 20) picture("@N10.2") attributes(decimal) justify(10)
  entry use(FixedString, 12) at(10, 125, 110, 20) picture("s12") attributes(transparent)
end
)",
              {texts[0], texts[1], texts[2], texts[3], texts[4], texts[5], texts[6], &amount, texts[7]});
  Select(window, 2);
  SendMessageA(Control(window, 2)->Handle(), EM_SETSEL, 2, 8);
  ExpectGolden(window, "entry_states");
}

TEST_F(EntryGolden, EntriesWithTheThreeDimensionalLookAndSpinBoxes) {
  char text[12];
  std::memcpy(text, "Raised look ", 12);
  std::int32_t count = 42;
  ProcedureWindow window;
  OpenAndShow(window, R"(window "W" at(0, 0, 250, 40) flags(pixel) font("Arial", 8, default, 400) attributes(control-look)
  entry use(FixedString, 12) at(10, 10, 110, 20) picture("s12")
  spin use(Int32, 4) at(130, 10, 60, 20) low(1) high(99)
  spin use(Int32, 4) at(200, 10, 40, 20) low(1) high(99) attributes(disabled)
end
)",
              {text, &count, &count});
  ExpectGolden(window, "entry_look_and_spin");
}

}  // namespace
}  // namespace vel::controls::testing
