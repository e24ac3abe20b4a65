// DIALOG statements compiled by the resource compiler and read back by the platform's template
// reader, as a dialog box is made from them.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "platform/user/dialog_template.h"
#include "tools/vel-rc/resource_builder.h"
#include "tools/vel-rc/script_parser.h"

namespace {

using namespace vel::tools;

std::optional<vel::platform::DialogTemplate> Compile(const std::string& script) {
  FileReader none = [](const std::string&) -> std::optional<std::string> { return std::nullopt; };
  std::vector<BuiltResource> built = BuildResources(ParseResourceScript(script, "t.rc", none), "t.rc", none);
  EXPECT_EQ(built.size(), 1u);
  if (built.empty()) return std::nullopt;
  EXPECT_EQ(built[0].type, ResourceId::Number(5));
  return vel::platform::ParseDialogTemplate(built[0].data.data(), built[0].data.size());
}

std::string ErrorOf(const std::string& script) {
  FileReader none = [](const std::string&) -> std::optional<std::string> { return std::nullopt; };
  try {
    BuildResources(ParseResourceScript(script, "t.rc", none), "t.rc", none);
  } catch (const ScriptError& error) {
    return error.what();
  }
  return "";
}

TEST(DialogScript, HeaderStatementsAndControlsWithTheirImpliedStyles) {
  auto dialog = Compile(
      "#define IDC_NAME 1152\n"
      "PICK DIALOG 10, 20, 180, 90\n"
      "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION\n"
      "CAPTION \"Pick one\"\n"
      "FONT 8, \"MS Sans Serif\"\n"
      "BEGIN\n"
      "  LTEXT \"&Name:\", -1, 6, 6, 40, 9\n"
      "  EDITTEXT IDC_NAME, 50, 5, 80, 12, ES_AUTOHSCROLL | NOT WS_BORDER\n"
      "  LISTBOX 1121, 6, 20, 80, 60, LBS_SORT | WS_VSCROLL\n"
      "  COMBOBOX 1137, 90, 20, 80, 60, CBS_DROPDOWNLIST\n"
      "  DEFPUSHBUTTON \"OK\", IDOK, 124, 70, 50, 14\n"
      "  CONTROL \"Later\", 7, \"Button\", BS_AUTOCHECKBOX | WS_TABSTOP, 6, 80, 60, 10, WS_EX_STATICEDGE\n"
      "  CONTROL \"\", 8, \"MyClass\", 0, 1, 2, 3, 4\n"
      "END\n");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->title, "Pick one");
  EXPECT_EQ(dialog->x, 10);
  EXPECT_EQ(dialog->cy, 90);
  EXPECT_TRUE(dialog->style & DS_SETFONT);
  EXPECT_EQ(dialog->pointSize, 8);
  EXPECT_EQ(dialog->faceName, "MS Sans Serif");
  ASSERT_EQ(dialog->items.size(), 7u);
  EXPECT_EQ(dialog->items[0].windowClass.number, 0x82);
  EXPECT_EQ(dialog->items[0].title.name, "&Name:");
  EXPECT_EQ(dialog->items[0].id, 0xFFFFu);
  EXPECT_EQ(dialog->items[1].id, 1152u);
  EXPECT_EQ(dialog->items[1].windowClass.number, 0x81);
  EXPECT_TRUE(dialog->items[1].style & ES_AUTOHSCROLL);
  EXPECT_FALSE(dialog->items[1].style & WS_BORDER) << "NOT removes an implied style";
  EXPECT_TRUE(dialog->items[1].style & (WS_CHILD | WS_VISIBLE | WS_TABSTOP));
  EXPECT_TRUE(dialog->items[2].style & (LBS_SORT | LBS_NOTIFY));
  EXPECT_EQ(dialog->items[3].style & 3u, static_cast<DWORD>(CBS_DROPDOWNLIST));
  EXPECT_EQ(dialog->items[4].style & 0xFu, static_cast<DWORD>(BS_DEFPUSHBUTTON));
  EXPECT_EQ(dialog->items[5].exStyle, static_cast<DWORD>(WS_EX_STATICEDGE));
  EXPECT_EQ(dialog->items[6].windowClass.name, "MyClass");
}

TEST(DialogScript, MistakesNameTheLine) {
  EXPECT_NE(ErrorOf("D DIALOG 1, 2, 3\nBEGIN\nEND\n").find("t.rc:2: expected ','"), std::string::npos);
  EXPECT_NE(ErrorOf("D DIALOG 1, 2, 3, 4\nBEGIN\n  WIDGET 1, 2, 3, 4, 5\nEND\n").find("unknown control WIDGET"),
            std::string::npos);
  EXPECT_NE(ErrorOf("D DIALOG 1, 2, 3, 4\nBEGIN\n  LTEXT \"x\", 1, 2, 3, 4, 5\n").find("not closed"), std::string::npos);
}

TEST(DialogScript, TheDirectoryChoosersTemplateCompiles) {
  std::ifstream file(std::string(VEL_SOURCE_DIR) + "/app/choose_directory.rc");
  std::stringstream text;
  text << file.rdbuf();
  auto dialog = Compile(text.str());
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->title, "Choose Directory");
  bool hasFolders = false;
  for (const auto& item : dialog->items) hasFolders = hasFolders || item.id == 0x461;
  EXPECT_TRUE(hasFolders);
}

}  // namespace
