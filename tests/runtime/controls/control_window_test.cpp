// Controls built from compiled definitions on the headless display: every kind the program
// provides, in one window, with its class, style, place, field and variable.

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/controls/control_factory.h"
#include "runtime/controls/option_control.h"
#include "runtime/controls/radio_control.h"
#include "runtime/windows/current_definition.h"
#include "runtime/windows/unit_conversion.h"
#include "runtime/windows/window_object_fields.h"
#include "runtime/windows/window_record_order.h"
#include "tests/runtime/controls/control_test_support.h"
#include "tools/vel-wdc/lib/declaration_text.h"
#include "tools/vel-wdc/lib/definition_writer.h"

namespace vel::controls::testing {
namespace {

const char kEveryKind[] = R"(
window "W" at(0, 0, 300, 120) font("Arial", 8, default, 400) attributes(control-look) message("window message")
  prompt "&Name:" at(2, 2, 30, 8)
  entry use(FixedString, 10) at(34, 2, 60, 10) picture("s10") message("own message")
  button "OK" at(100, 2, 40, 14) flags(default) cursor(stock, 32649)
  option use(FixedString, 5) at(2, 20, 80, 30) attributes(boxed) text("Pick") message("option message")
    radio "One" at(6, 30, 30, 10)
    radio "Two" at(40, 30, 30, 10) value("2")
  end
  group "Things" at(90, 20, 80, 40)
    prompt "Inner" at(94, 30, 30, 8)
  end
  list use(Int16, 2) at(180, 2, 50, 40) values(FixedString, 9, "25|50|100")
  list use(FixedString, 8) at(180, 50, 50, 10) rows(3) values(FixedString, 21, "threaded|list|tabular")
  spin use(Int32, 4) at(240, 2, 40, 10) low(1) high(10)
  box at(2, 60, 50, 30) attributes(round) colours(0xFF0000, 0x0000FF, default) extra(2)
end
)";

struct Expected {
  std::int32_t field;
  const char* className;
  windows::Rect at;
};

constexpr Expected kControls[] = {
    {1, "VelPrompt", {2, 2, 30, 8}},    {2, "VelEdit", {34, 2, 60, 10}},
    {3, "VelButton", {100, 2, 40, 14}}, {4, "VelOption", {2, 20, 80, 30}},
    {5, "VelRadio", {6, 30, 30, 10}},   {6, "VelRadio", {40, 30, 30, 10}},
    {7, "VelGroup", {90, 20, 80, 40}},  {8, "VelPrompt", {94, 30, 30, 8}},
    {9, "VelList", {180, 2, 50, 40}},   {10, "VelDrop", {180, 50, 50, 10}},
    {11, "VelEdit", {240, 2, 40, 10}},  {12, "VelGraphic", {2, 60, 50, 30}},
};

class ControlWindow : public ControlTest {
 protected:
  char m_entry[10];
  char m_option[5];
  std::int16_t m_hits = 50;
  char m_format[8];
  std::int32_t m_spin = 7;

  void OpenEveryKind(windows::ProcedureWindow& window) {
    std::memcpy(m_entry, "Hello     ", 10);
    std::memcpy(m_option, "2    ", 5);
    std::memcpy(m_format, "list    ", 8);
    Open(window, kEveryKind, {m_entry, m_option, &m_hits, m_format, &m_spin});
  }
};

TEST_F(ControlWindow, EveryProvidedKindTakesItsClassPlaceAndField) {
  windows::ProcedureWindow window;
  OpenEveryKind(window);
  ASSERT_TRUE(window.IsOpen());
  windows::UnitConverter units(window.Object().flags, window.Object().metrics);
  ASSERT_EQ(window.Object().controls.size(), std::size(kControls));
  for (const Expected& expected : kControls) {
    SCOPED_TRACE(expected.field);
    WindowedControl* control = Control(window, expected.field);
    ASSERT_NE(control, nullptr);
    HWND handle = control->Handle();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(ClassOf(handle), expected.className);
    EXPECT_EQ(GetParent(handle), window.Object().client);
    EXPECT_EQ(GetWindowLongPtrA(handle, GWLP_ID), expected.field + 0x4000);
    EXPECT_TRUE(StyleOf(handle) & WS_CHILD);
    RECT place = PlaceOf(handle);
    EXPECT_EQ(place.left, units.ToPixelsX(expected.at.x));
    EXPECT_EQ(place.top, units.ToPixelsY(expected.at.y));
    EXPECT_EQ(place.right, units.ToPixelsX(expected.at.x + expected.at.width));
    EXPECT_EQ(place.bottom, units.ToPixelsY(expected.at.y + expected.at.height));
    EXPECT_TRUE(control->IsField());
    // The window's three-dimensional look reaches every control.
    EXPECT_TRUE(control->HasAttribute(kAttrThreeDimensional));
  }
  // The radio buttons and the group's prompt belong to their boxes.
  EXPECT_EQ(Control(window, 5)->Container(), Control(window, 4));
  EXPECT_EQ(Control(window, 8)->Container(), Control(window, 7));
  EXPECT_EQ(Control(window, 2)->Container(), nullptr);
  auto* option = dynamic_cast<OptionControl*>(Control(window, 4));
  ASSERT_NE(option, nullptr);
  ASSERT_EQ(option->Children().size(), 2u);
  EXPECT_EQ(dynamic_cast<RadioControl*>(option->Children()[1])->Ordinal(), 2);
}

TEST_F(ControlWindow, StylesFollowTheKindAndTheGroupRule) {
  windows::ProcedureWindow window;
  OpenEveryKind(window);
  ASSERT_TRUE(window.IsOpen());
  auto style = [&](std::int32_t field) { return StyleOf(Control(window, field)->Handle()); };
  // Every control the window holds starts a group; inside a box only the first child does.
  for (std::int32_t field : {1, 2, 3, 4, 7, 9, 10, 11, 12}) EXPECT_TRUE(style(field) & WS_GROUP) << field;
  EXPECT_TRUE(style(5) & WS_GROUP);
  EXPECT_FALSE(style(6) & WS_GROUP);
  EXPECT_TRUE(style(8) & WS_GROUP);
  for (std::int32_t field : {2, 3, 5, 9, 10, 11}) EXPECT_TRUE(style(field) & WS_TABSTOP) << field;
  for (std::int32_t field : {1, 4, 7, 8, 12}) EXPECT_FALSE(style(field) & WS_TABSTOP) << field;
  EXPECT_EQ(style(3) & 0x0F, static_cast<DWORD>(BS_DEFPUSHBUTTON));
  EXPECT_EQ(style(5) & 0x0F, static_cast<DWORD>(BS_AUTORADIOBUTTON));
  EXPECT_EQ(style(4) & 0x0F, static_cast<DWORD>(BS_GROUPBOX));
  // A box is shown only when it draws its frame.
  EXPECT_TRUE(style(4) & WS_VISIBLE);
  EXPECT_FALSE(style(7) & WS_VISIBLE);
  EXPECT_TRUE(style(8) & WS_VISIBLE) << "an unframed group's controls still show";
}

TEST_F(ControlWindow, VariablesAreBoundInChainOrderAndShownAtOnce) {
  windows::ProcedureWindow window;
  OpenEveryKind(window);
  ASSERT_TRUE(window.IsOpen());
  EXPECT_EQ(window.Object().useCursor, 5u);
  for (std::int32_t field : {2, 4, 9, 10, 11}) EXPECT_TRUE(Control(window, field)->HasUseVariable()) << field;
  for (std::int32_t field : {1, 3, 5, 6, 7, 8, 12})
    EXPECT_FALSE(Control(window, field)->HasUseVariable()) << field;
  EXPECT_EQ(Control(window, 2)->Use()->Reference().Address(), m_entry);
  EXPECT_EQ(TextOf(Control(window, 2)->Handle()), "Hello");
  EXPECT_EQ(TextOf(Control(window, 9)->Handle()), "50");
  EXPECT_EQ(TextOf(Control(window, 10)->Handle()), "list");
  EXPECT_EQ(TextOf(Control(window, 11)->Handle()), "7");
  // The option box checks the radio button whose value its variable holds.
  EXPECT_EQ(SendMessageA(Control(window, 5)->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(Control(window, 6)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);

  // Redisplay shows the variables' present values.
  std::memcpy(m_entry, "Changed   ", 10);
  m_hits = 100;
  windows::RedisplayFields(window.Object(), 0, 0);
  EXPECT_EQ(TextOf(Control(window, 2)->Handle()), "Changed");
  EXPECT_EQ(TextOf(Control(window, 9)->Handle()), "100");
}

TEST_F(ControlWindow, AConstantBindingTakesNoAddressAndKeepsItsOwnCopy) {
  char variable[4] = {'v', 'a', 'r', ' '};
  windows::ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, 100, 40)
  entry use(FixedString, 4, "wxyz") at(2, 2, 40, 10)
  entry use(FixedString, 4) at(2, 20, 40, 10)
end
)",
       {variable});
  ASSERT_TRUE(window.IsOpen());
  EXPECT_EQ(window.Object().useCursor, 1u);
  EXPECT_EQ(TextOf(Control(window, 1)->Handle()), "wxyz");
  EXPECT_EQ(Control(window, 2)->Use()->Reference().Address(), variable);
  // Storing into the constant's copy changes nothing of the definition.
  Control(window, 1)->Use()->Assign("abcd");
  EXPECT_EQ(Control(window, 1)->Use()->DisplayText(), "abcd");
}

TEST_F(ControlWindow, TextsComeFromTheRecordOrTheChainsDefaults) {
  windows::ProcedureWindow window;
  OpenEveryKind(window);
  ASSERT_TRUE(window.IsOpen());
  EXPECT_EQ(TextOf(Control(window, 1)->Handle()), "&Name:");
  EXPECT_EQ(TextOf(Control(window, 3)->Handle()), "OK");
  EXPECT_EQ(TextOf(Control(window, 6)->Handle()), "Two");
  EXPECT_EQ(Control(window, 1)->Message(), "window message");
  EXPECT_EQ(Control(window, 2)->Message(), "own message");
  EXPECT_EQ(Control(window, 5)->Message(), "option message")
      << "a box's own texts are its children's defaults";
  EXPECT_EQ(Control(window, 8)->Message(), "window message");
  EXPECT_NE(Control(window, 3)->Cursor(), nullptr);
}

// A chain holding kinds this program does not provide builds every provided control around
// them, and the provided controls still take their variables in order.
TEST_F(ControlWindow, UnprovidedKindsCostOnlyTheirOwnRecord) {
  std::vector<std::uint8_t> resource =
      tools::WriteDefinitionResource(tools::ParseDeclarations(R"(definition "test$GAPS"
window "W" at(0, 0, 200, 60)
  box at(0, 0, 10, 10)
  entry use(FixedString, 4) at(20, 0, 40, 10)
  box at(0, 20, 10, 10)
  box at(0, 30, 10, 10)
  entry use(FixedString, 4) at(20, 20, 40, 10)
end
)"));
  // Turn three boxes into kinds without a creator: one with a factory slot, one without, and
  // a report record.
  std::vector<std::uint8_t> copy = windows::CopyDefinitionBody(resource, "test$GAPS");
  windows::DefinitionView body(copy);
  windows::Record record = *windows::ReadRecord(body, windows::FindWindowRecord(body, "W"));
  std::vector<windows::Record> chain = windows::ReadChain(body, record.firstChild);
  ASSERT_EQ(chain.size(), 5u);
  // Body offset k is resource byte k - 2 + the qualified name's length and zero.
  std::size_t nameLength = std::strlen("test$GAPS") + 1;
  resource[chain[0].offset - 2 + nameLength] = 7;
  resource[chain[2].offset - 2 + nameLength] = 200;
  resource[chain[3].offset - 2 + nameLength] = windows::kKindReport;
  m_source.Add(windows::testing::TestModule(), "GAPS_RSC", resource);

  char first[4] = {'a', 'b', 'c', 'd'};
  char second[4] = {'w', 'x', 'y', 'z'};
  windows::ProcedureWindow window;
  window.Open("test$GAPS", "W", {first, second});
  ASSERT_TRUE(window.IsOpen());
  ASSERT_EQ(window.Object().controls.size(), 2u);
  EXPECT_EQ(Control(window, 2)->Use()->Reference().Address(), first);
  EXPECT_EQ(Control(window, 5)->Use()->Reference().Address(), second);
  EXPECT_EQ(TextOf(Control(window, 5)->Handle()), "wxyz");
}

// Whoever hands a window its addresses in the order of its bindings (a preview tool, a test)
// sees each arrive at the control its binding names, through boxes and groups.
TEST_F(ControlWindow, AddressesArriveInTheOrderTheBindingsGive) {
  const std::string declarations = R"(definition "test$ORDER"
window "W" at(0, 0, 200, 100)
  prompt "P" at(0, 0, 20, 8)
  entry use(FixedString, 20) at(20, 0, 40, 8)
  group "G" at(0, 20, 100, 60)
    list use(FixedString, 20) at(4, 24, 40, 8) rows(3) values(FixedString, 5, "a|b|c")
    option use(FixedString, 8) at(4, 36, 60, 20)
      radio "A" at(4, 40, 20, 10)
    end
  end
  list use(Int16, 2) at(100, 0, 40, 8) rows(3) values(FixedString, 9, "25|50|100")
  entry use(FixedString, 20) at(140, 0, 40, 8)
end
)";
  AddDefinitions("test$ORDER", declarations);
  std::vector<std::uint8_t> body =
      windows::CopyDefinitionBody(windows::testing::CompileDefinitions(declarations), "test$ORDER");
  windows::DefinitionView view(body);
  windows::Record record = *windows::ReadRecord(view, windows::FindWindowRecord(view, "W"));
  std::vector<windows::UseBinding> bindings =
      windows::UseBindingsOf(windows::RecordsInOpeningOrder(view, record));
  ASSERT_EQ(bindings.size(), 5u);

  char storage[5][20] = {};
  std::vector<void*> addresses;
  for (auto& variable : storage) addresses.push_back(variable);
  windows::ProcedureWindow window;
  window.Open("test$ORDER", "W", addresses);
  ASSERT_TRUE(window.IsOpen());
  for (std::size_t i = 0; i < bindings.size(); ++i) {
    WindowedControl* control = Control(window, bindings[i].field);
    ASSERT_NE(control, nullptr) << bindings[i].field;
    ASSERT_NE(control->Use(), nullptr) << bindings[i].field;
    EXPECT_EQ(control->Use()->Reference().Address(), addresses[i]) << bindings[i].field;
  }
}

TEST_F(ControlWindow, OpenSizesBecomeDefaultSizesAndZeroStaysZero) {
  windows::ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, 200, 60) font("Arial", 8, default, 400)
  prompt "Name" at(2, 2, default, default)
  button "A longer caption" at(2, 20, default, 12)
  prompt "Zero" at(2, 40, 0, 8)
end
)");
  ASSERT_TRUE(window.IsOpen());
  WindowedControl* prompt = Control(window, 1);
  RECT place = PlaceOf(prompt->Handle());
  EXPECT_TRUE(prompt->HasState(kStateDefaultWidth | kStateDefaultHeight));
  EXPECT_EQ(place.right - place.left, prompt->Font()->TextWidth("Name"));
  EXPECT_EQ(place.bottom - place.top, prompt->Font()->CharHeight());
  WindowedControl* button = Control(window, 2);
  EXPECT_TRUE(button->HasState(kStateDefaultWidth));
  EXPECT_FALSE(button->HasState(kStateDefaultHeight));
  // The class measures its text with its own margins (the button tests check them).
  EXPECT_GT(PlaceOf(button->Handle()).right - PlaceOf(button->Handle()).left,
            button->Font()->TextWidth("A longer caption"));
  // A default-sized control follows its text.
  prompt->SetText("A much longer name");
  place = PlaceOf(prompt->Handle());
  EXPECT_EQ(place.right - place.left, prompt->Font()->TextWidth("A much longer name"));
  RECT zero = PlaceOf(Control(window, 3)->Handle());
  EXPECT_EQ(zero.right, zero.left);
}

TEST_F(ControlWindow, AWindowGrowsToHoldItsControls) {
  windows::ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, 100, 3) flags(pixel) attributes(no-border)
  box at(10, 0, 40, 20)
end
)");
  ASSERT_TRUE(window.IsOpen());
  RECT client{};
  GetClientRect(window.Handle(), &client);
  EXPECT_EQ(client.right, 100) << "a given size is kept where the controls fit";
  EXPECT_EQ(client.bottom, 20);
}

TEST_F(ControlWindow, AWindowWithoutASizeTakesTheExtentOfItsControls) {
  windows::ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, default, default) flags(pixel) attributes(no-border)
  box at(10, 10, 100, 20)
  group "G" at(0, 40, 20, 20)
    box at(5, 45, 150, 30)
  end
end
)");
  ASSERT_TRUE(window.IsOpen());
  RECT client{};
  GetClientRect(window.Handle(), &client);
  EXPECT_EQ(client.right, 155);
  EXPECT_EQ(client.bottom, 75);
}

}  // namespace
}  // namespace vel::controls::testing
