// Icons and cursors of windows: the names they are given by, the class icon and cursor taken
// from the definition at opening, replaced through the window properties, and released.

#include "runtime/windows/window_icons.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/windows/window_properties.h"
#include "tests/runtime/windows/window_test_support.h"

namespace vel::windows::testing {
namespace {

const char kIconWindows[] =
    "definition \"test$ICONS\"\n"
    "window \"NAMED\" title(\"Named\") at(0, 0, 100, 40) icon(\"Get.ico\") cursor(\"~Hand.cur\")\n"
    "end\n"
    "window \"STOCK\" title(\"Stock\") at(0, 0, 100, 40) icon(stock, 32516) cursor(stock, 32514)\n"
    "end\n"
    "window \"NONE\" title(\"None\") at(0, 0, 100, 40)\n"
    "end\n"
    "window \"MISSING\" title(\"Missing\") at(0, 0, 100, 40) icon(\"NOSUCH.ICO\") cursor(resource, 999)\n"
    "end\n";

std::string DataFile(const char* name) { return std::string(VEL_SOURCE_DIR) + "/tests/runtime/windows/data/" + name; }

LPCSTR Identifier(unsigned identifier) { return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(identifier)); }

// A handle still names a live icon when the platform can copy it.
bool IsLiveIcon(HICON icon) {
  HICON copy = CopyIcon(icon);
  if (copy == nullptr) return false;
  DestroyIcon(copy);
  return true;
}

TEST(RuntimeIconNames, BinaryNamesTextAndFileIndexes) {
  ResourceName stock = ParseRuntimeName(std::string("\xFF\x01\x03\x7F", 4)).value();
  EXPECT_EQ(stock, (ResourceName{ResourceName::Form::Stock, "", 32514}));
  ResourceName program = ParseRuntimeName(std::string("\xFF\x02\x03\x7F\0", 5)).value();
  EXPECT_EQ(program, (ResourceName{ResourceName::Form::ProgramId, "", 32514}));
  EXPECT_EQ(RuntimeNameOf(stock), std::string("\xFF\x01\x03\x7F", 4));
  EXPECT_EQ(ParseRuntimeName("Get.ico")->text, "Get.ico");
  EXPECT_FALSE(ParseRuntimeName(""));
  EXPECT_FALSE(ParseRuntimeName(std::string("\xFF\x03\x01\x00", 4))) << "no such binary form";
  EXPECT_FALSE(ParseRuntimeName(std::string("\xFF\x01\x00\x00", 4))) << "identifier n - 1 of n = 0";
  EXPECT_FALSE(ParseRuntimeName(std::string("\xFF\x01\x03", 3))) << "cut short";

  EXPECT_EQ(SplitIconFileName("PICS.ICO[2]").file, "PICS.ICO");
  EXPECT_EQ(SplitIconFileName("PICS.ICO[2]").index, 2u);
  EXPECT_EQ(SplitIconFileName("PICS.ICO").index, 0u);
  EXPECT_EQ(SplitIconFileName("PICS[x].ICO").file, "PICS[x].ICO");
  EXPECT_EQ(SplitIconFileName("PICS.ICO[]").file, "PICS.ICO[]");
  EXPECT_EQ(SplitIconFileName("A[99999999999]").file, "A[99999999999]") << "an index that cannot be one";
}

class WindowIcons : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    AddProgramDefinitions("test$ICONS", kIconWindows);
  }
  void TearDown() override {
    SetProgramDefaultIcon(nullptr);
    WindowTest::TearDown();
  }

  void OpenShown(ProcedureWindow& window, const char* label) {
    window.Open("test$ICONS", label);
    ASSERT_TRUE(window.IsOpen());
    ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  }

  static HICON ClassIcon(HWND window) { return reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON)); }
  static HCURSOR ClassCursor(HWND window) {
    return reinterpret_cast<HCURSOR>(GetClassLongPtrA(window, GCLP_HCURSOR));
  }
};

TEST_F(WindowIcons, TheClassTakesTheDefinitionsIconAndCursorFromTheDefinitionsModule) {
  ProcedureWindow named;
  OpenShown(named, "NAMED");
  HMODULE program = GetModuleHandleA(nullptr);
  ASSERT_NE(LoadIconA(program, "GET_ICO"), nullptr);
  EXPECT_EQ(ClassIcon(named.Handle()), LoadIconA(program, "GET_ICO"));
  EXPECT_EQ(ClassCursor(named.Handle()), LoadCursorA(program, "HAND_CUR"));
  EXPECT_EQ(named.Property(kPropIcon), "Get.ico");
  EXPECT_EQ(named.Property(kPropCursor), "~Hand.cur");
  named.Close();

  ProcedureWindow stock;
  OpenShown(stock, "STOCK");
  EXPECT_EQ(ClassIcon(stock.Handle()), LoadIconA(nullptr, Identifier(32516)));
  EXPECT_EQ(ClassCursor(stock.Handle()), LoadCursorA(nullptr, Identifier(32514)));
  EXPECT_EQ(stock.Property(kPropCursor), std::string("\xFF\x01\x03\x7F", 4));
  stock.Close();
}

TEST_F(WindowIcons, WithoutAnIconTheWindowTakesACopyOfTheProgramsDefaultAndReleasesItAtClose) {
  HICON programDefault = LoadIconA(nullptr, IDI_APPLICATION);
  SetProgramDefaultIcon(programDefault);
  ProcedureWindow window;
  OpenShown(window, "MISSING");
  HICON copy = ClassIcon(window.Handle());
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, programDefault);
  EXPECT_EQ(ClassCursor(window.Handle()), LoadCursorA(nullptr, IDC_ARROW)) << "a cursor that cannot be loaded";
  window.Close();
  EXPECT_FALSE(IsLiveIcon(copy));
  EXPECT_TRUE(IsLiveIcon(programDefault));

  SetProgramDefaultIcon(nullptr);
  ProcedureWindow plain;
  OpenShown(plain, "NONE");
  EXPECT_EQ(ClassIcon(plain.Handle()), LoadIconA(GetModuleHandleA(nullptr), Identifier(32523)))
      << "the program's icon resource 32523, which this program does not have";
  EXPECT_EQ(ClassCursor(plain.Handle()), LoadCursorA(nullptr, IDC_ARROW));
  plain.Close();
}

TEST_F(WindowIcons, AnIconSetAtRunTimeBecomesTheClassIconAndReplacesAndDestroysThePreviousOne) {
  ProcedureWindow window;
  OpenShown(window, "NONE");
  window.SetProperty(kPropIcon, DataFile("get.ico"));
  HICON first = ClassIcon(window.Handle());
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(IsLiveIcon(first));
  EXPECT_EQ(window.Property(kPropIcon), DataFile("get.ico"));

  window.SetProperty(kPropIcon, DataFile("cancel.ico") + "[0]   ");
  HICON second = ClassIcon(window.Handle());
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  EXPECT_FALSE(IsLiveIcon(first)) << "the icon it replaced is destroyed";
  EXPECT_EQ(window.Property(kPropIcon), DataFile("cancel.ico") + "[0]");

  // A resource icon is shared: replacing it later must leave it alive.
  window.SetProperty(kPropIcon, "~GET.ICO");
  HICON shared = LoadIconA(GetModuleHandleA(nullptr), "GET_ICO");
  EXPECT_EQ(ClassIcon(window.Handle()), shared);
  EXPECT_FALSE(IsLiveIcon(second));
  window.SetProperty(kPropIcon, DataFile("get.ico"));
  EXPECT_TRUE(IsLiveIcon(shared));

  // A file without icons, an index the file does not have, a missing file: the default icon.
  HICON last = ClassIcon(window.Handle());
  for (std::string name : {DataFile("own.rc"), DataFile("get.ico") + "[5]", DataFile("nosuch.ico")}) {
    window.SetProperty(kPropIcon, name);
    EXPECT_EQ(ClassIcon(window.Handle()), nullptr) << name;
  }
  EXPECT_FALSE(IsLiveIcon(last));

  window.SetProperty(kPropIcon, DataFile("get.ico"));
  HICON owned = ClassIcon(window.Handle());
  window.Close();
  EXPECT_FALSE(IsLiveIcon(owned)) << "closing releases the icon the window owned";
}

TEST_F(WindowIcons, ACursorSetAtRunTimeBecomesTheClassCursor) {
  ProcedureWindow window;
  OpenShown(window, "NAMED");
  window.SetProperty(kPropCursor, std::string("\xFF\x01\x03\x7F", 4));
  EXPECT_EQ(ClassCursor(window.Handle()), LoadCursorA(nullptr, Identifier(32514)));
  window.SetProperty(kPropCursor, "Hand.cur");
  EXPECT_EQ(ClassCursor(window.Handle()), LoadCursorA(GetModuleHandleA(nullptr), "HAND_CUR"));
  window.SetProperty(kPropCursor, "");
  EXPECT_EQ(ClassCursor(window.Handle()), LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(window.Property(kPropCursor), "");
  window.Close();
}

}  // namespace
}  // namespace vel::windows::testing
