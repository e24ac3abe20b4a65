// Menu bars built from window definitions: the preview window's menus, merging, separators,
// shortcuts, variables shown as check marks, and choices becoming EVENT:Accepted.

#include "runtime/windows/window_menu_bar.h"

#include <gtest/gtest.h>

#include "platform/display/headless/headless_display.h"
#include "platform/user/menu_bar.h"
#include "platform/user/menu_popup.h"
#include "platform/user/menu_store.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/key_codes.h"
#include "tests/runtime/windows/window_test_support.h"

namespace vel::windows::testing {
namespace {

using platform::kAlt;
using platform::kControl;

// Each entry of a menu as its text, "-" for a separator and "text>" for a popup.
std::vector<std::string> Entries(HMENU menu) {
  std::vector<std::string> entries;
  for (int position = 0; position < GetMenuItemCount(menu); ++position) {
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    bool popup = GetSubMenu(menu, position) != nullptr;
    bool separator =
        !popup && (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_SEPARATOR);
    entries.push_back(separator ? "-" : std::string(text) + (popup ? ">" : ""));
  }
  return entries;
}

const char kMenuWindows[] =
    "definition \"test$MENUS\"\n"
    "window \"W\" title(\"Menus\") flags(pixel) at(10, 10, 300, 120)\n"
    "  menubar\n"
    "    menu \"&File\"\n"
    "      item flags(separator)\n"
    "      item \"&Open\" key(0x24F)\n"
    "      item flags(separator)\n"
    "      item flags(separator)\n"
    "      item\n"
    "      item \"&Close\" number(0x0F)\n"
    "      item flags(separator)\n"
    "    end\n"
    "    menu \"&Edit\"\n"
    "      item \"&Wrap\" flags(use) use(Int32, 4)\n"
    "      item \"&Grey\" flags(greyed)\n"
    "    end\n"
    "    menu \"&File\"\n"
    "      item \"E&xit\"\n"
    "    end\n"
    "  end\n"
    "  entry use(FixedString, 10) at(10, 10, 80, 20)\n"
    "end\n"
    "window \"PLAIN\" title(\"Plain\") flags(pixel) at(10, 10, 300, 120)\n"
    "end\n";

class WindowMenus : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    AddDefinitions("test$MENUS", kMenuWindows);
    m_display = platform::CurrentHeadlessDisplay();
    ASSERT_NE(m_display, nullptr);
  }

  void OpenMenus() {
    m_window.Open("test$MENUS", "W", {&m_wrap, m_entry});
    ASSERT_TRUE(m_window.IsOpen());
    ASSERT_EQ(NextEvent(m_window), Number(EVENT_OpenWindow));
    m_bar = m_window.Object().menuBar.get();
    ASSERT_NE(m_bar, nullptr);
  }

  MenuItem& Item(std::int32_t field) { return *m_bar->ItemOfField(field); }
  // The field number of the item with `text`, or 0.
  std::int32_t FieldOf(const std::string& text) const {
    for (const auto& item : m_bar->items) {
      if (item->Text() == text) return item->FieldNumber();
    }
    return 0;
  }

  platform::HeadlessDisplay* m_display = nullptr;
  ProcedureWindow m_window;
  WindowMenuBar* m_bar = nullptr;
  std::int32_t m_wrap = 0;
  char m_entry[10] = {};
};

TEST_F(WindowMenus, ThePreviewWindowShowsFileViewAndZoomAndItsItemsTakeTheFirstUseAddresses) {
  AddDefinitions("skarvine$SKARV_SF", ReadSourceFile("app/skarv_sf.wdc"));
  std::int32_t zoom[7] = {0, 0, 1, 0, 0, 0, 0};
  std::int32_t pages[3] = {};
  ProcedureWindow preview;
  preview.Open("skarvine$SKARV_SF", "P9$PREVIEW:WINDOW",
               {&zoom[0], &zoom[1], &zoom[2], &zoom[3], &zoom[4], &zoom[5], &zoom[6], &pages[0], &pages[1],
                &pages[2]});
  ASSERT_TRUE(preview.IsOpen());
  HMENU bar = GetMenu(preview.Handle());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(Entries(bar), (std::vector<std::string>{"&File>", "&View>", "&Zoom>"}));
  EXPECT_EQ(Entries(GetSubMenu(bar, 0)), (std::vector<std::string>{"&Print", "-", "E&xit"}));
  EXPECT_EQ(Entries(GetSubMenu(bar, 1)),
            (std::vector<std::string>{"&Next Page(s)", "&Previous Page(s)", "-", "&Jump to a page", "-",
                                      "&Change Display"}));
  EXPECT_EQ(Entries(GetSubMenu(bar, 2)).size(), 9u);
  // The third zoom item ("&50 Percent") was given the third address, which holds 1.
  HMENU zoomMenu = GetSubMenu(bar, 2);
  EXPECT_TRUE(GetMenuState(zoomMenu, 4, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_FALSE(GetMenuState(zoomMenu, 0, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_EQ(preview.Object().useCursor, 7u) << "no toolbar kind is installed, so the spin boxes took none";
  preview.Close();
}

TEST_F(WindowMenus, SeparatorsNeverStandFirstLastOrTwiceAndMenusOfEqualTextAreMerged) {
  OpenMenus();
  HMENU bar = GetMenu(m_window.Handle());
  EXPECT_EQ(Entries(bar), (std::vector<std::string>{"&File>", "&Edit>"}));
  // The empty item became a separator next to another one, and of the three in a row one is
  // left; the second "&File" added "E&xit" after the first one's last separator, which no
  // longer stands last.
  EXPECT_EQ(Entries(GetSubMenu(bar, 0)),
            (std::vector<std::string>{"&Open\tCtrl+O", "-", "&Close", "-", "E&xit"}));
  m_window.Close();
}

TEST_F(WindowMenus, TheFrameMakesRoomForTheMenuBarAndTheClientAreaKeepsItsSize) {
  OpenMenus();
  RECT client{};
  GetClientRect(m_window.Handle(), &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 120);
  ProcedureWindow plain;
  plain.Open("test$MENUS", "PLAIN");
  RECT withMenu{};
  RECT without{};
  GetWindowRect(m_window.Handle(), &withMenu);
  GetWindowRect(plain.Handle(), &without);
  EXPECT_EQ((withMenu.bottom - withMenu.top) - (without.bottom - without.top), GetSystemMetrics(SM_CYMENU));
  plain.Close();
  m_window.Close();
}

TEST_F(WindowMenus, ChoosingAnItemByKeyboardOrShortcutRaisesAcceptedForItsField) {
  OpenMenus();
  std::int32_t open = FieldOf("&Open");
  ASSERT_NE(open, 0);
  // Alt+F opens File, O chooses Open.
  m_display->PressKey('F', kAlt);
  m_display->PressKey('O');
  std::vector<std::int32_t> fields;
  std::vector<std::int32_t> events = EventsWhileInputIsTaken(m_window, nullptr, &fields);
  EXPECT_EQ(events, (std::vector<std::int32_t>{Number(EVENT_Accepted)}));
  EXPECT_EQ(fields, (std::vector<std::int32_t>{open}));
  // Its shortcut, Ctrl+O, does the same.
  m_display->PressKey('O', kControl);
  fields.clear();
  events = EventsWhileInputIsTaken(m_window, nullptr, &fields);
  EXPECT_EQ(events, (std::vector<std::int32_t>{Number(EVENT_Accepted)}));
  EXPECT_EQ(fields, (std::vector<std::int32_t>{open}));
  m_window.Close();
}

TEST_F(WindowMenus, ChoosingAnItemWithTheMouseCarriesItOut) {
  OpenMenus();
  HMENU bar = GetMenu(m_window.Handle());
  RECT strip = platform::MenuBarStrip(m_window.Handle());
  std::vector<RECT> boxes = platform::LayoutMenuBar(platform::CopyMenuItems(bar), strip);
  ASSERT_FALSE(boxes.empty());
  POINT file{(boxes[0].left + boxes[0].right) / 2, (boxes[0].top + boxes[0].bottom) / 2};
  platform::PopupView popup;
  popup.menu = GetSubMenu(bar, 0);
  platform::LoadPopupView(popup);
  // "&Close", the third entry of File, chosen from the popup that opens under the bar item.
  RECT close = popup.boxes.at(2);
  POINT item{boxes[0].left + (close.left + close.right) / 2, strip.bottom + (close.top + close.bottom) / 2};
  std::string error;
  ASSERT_TRUE(
      m_display->QueueScript("click " + std::to_string(item.x) + " " + std::to_string(item.y), &error))
      << error;
  m_display->Click(file);
  // "&Close" closes the window through its standard action.
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_CloseWindow));
  m_window.Close();
}

TEST_F(WindowMenus, AnItemWithAVariableTogglesItAndAGreyedItemDoesNothing) {
  OpenMenus();
  std::int32_t wrapField = FieldOf("&Wrap");
  std::int32_t greyField = FieldOf("&Grey");
  ASSERT_NE(wrapField, 0);
  ASSERT_NE(greyField, 0);
  EXPECT_FALSE(Item(wrapField).IsChecked());
  SendMessageA(m_window.Handle(), WM_COMMAND, static_cast<WPARAM>(wrapField + 0x4000), 0);
  SendMessageA(m_window.Handle(), WM_COMMAND, static_cast<WPARAM>(greyField + 0x4000), 0);
  std::vector<std::int32_t> fields;
  std::vector<std::int32_t> events = EventsWhileInputIsTaken(m_window, nullptr, &fields);
  EXPECT_EQ(events, (std::vector<std::int32_t>{Number(EVENT_Accepted)}));
  EXPECT_EQ(fields, (std::vector<std::int32_t>{wrapField}));
  EXPECT_EQ(m_wrap, 1);
  EXPECT_TRUE(Item(wrapField).IsChecked());
  // The procedure changes the variable; the check mark follows at the next ACCEPT.
  m_wrap = 0;
  m_window.Post(Number(EVENT_Notify));
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_Notify));
  EXPECT_FALSE(Item(wrapField).IsChecked());
  m_window.Close();
}

TEST_F(WindowMenus, ItemOperationsEnableCheckRetitleInsertAndDelete) {
  OpenMenus();
  std::int32_t openField = FieldOf("&Open");
  MenuItem& open = Item(openField);
  open.SetEnabled(false);
  EXPECT_FALSE(open.IsEnabled());
  open.SetEnabled(true);
  open.SetChecked(true);
  EXPECT_TRUE(open.IsChecked());
  open.SetText("&Load");
  HMENU file = GetSubMenu(GetMenu(m_window.Handle()), 0);
  EXPECT_EQ(Entries(file)[0], "&Load\tCtrl+O") << "the shortcut stays beside the new text";
  EXPECT_TRUE(open.IsChecked());
  ASSERT_NE(m_bar->InsertItem(openField, 40, "&New"), nullptr);
  EXPECT_EQ(Entries(file)[0], "&New");
  EXPECT_EQ(m_window.Object().ControlOfField(40), m_bar->ItemOfField(40));
  EXPECT_EQ(m_bar->InsertItem(openField, 40, "Again"), nullptr) << "a field number is used once";
  EXPECT_TRUE(m_bar->DeleteItem(openField));
  EXPECT_EQ(m_window.Object().ControlOfField(openField), nullptr);
  EXPECT_EQ(Entries(file)[1], "-");
  // Its shortcut no longer commands anything.
  m_display->PressKey('O', kControl);
  EXPECT_TRUE(EventsWhileInputIsTaken(m_window).empty());
  // A deleted popup takes its items with it.
  std::int32_t wrapField = FieldOf("&Wrap");
  ASSERT_NE(wrapField, 0);
  EXPECT_TRUE(m_bar->DeleteItem(FieldOf("&Edit")));
  EXPECT_EQ(m_bar->ItemOfField(wrapField), nullptr);
  EXPECT_EQ(Entries(GetMenu(m_window.Handle())), (std::vector<std::string>{"&File>"}));
  m_window.Close();
}

TEST_F(WindowMenus, AStandardActionReplacesTheItemsOwnEvent) {
  OpenMenus();
  // "&Close" carries standard action 0x0F: the window is asked to close.
  std::int32_t closeField = FieldOf("&Close");
  ASSERT_NE(closeField, 0);
  SendMessageA(m_window.Handle(), WM_COMMAND, static_cast<WPARAM>(closeField + 0x4000), 0);
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_CloseWindow));
  EXPECT_EQ(NextEvent(m_window), -1);
  m_window.Close();
}

}  // namespace
}  // namespace vel::windows::testing
