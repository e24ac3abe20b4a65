#include "tests/platform/comdlg/dialog_test_support.h"

#include <filesystem>
#include <fstream>

#include "platform/gdi/font_resolver.h"
#include "platform/user/window_tree.h"

namespace vel::platform::comdlgtest {

void CommonDialogTest::SetUp() {
  EnsureWindowManager();
  ASSERT_NE(CurrentHeadlessDisplay(), nullptr);
  Display().Clock().SetManual(true);
  PinFontFile(testing::PinnedFontPath());
}

void CommonDialogTest::TearDown() {
  SetMessageBoxAnswerer(nullptr);
  std::error_code ignored;
  for (const std::string& folder : folders) std::filesystem::remove_all(folder, ignored);
}

HeadlessDisplay& CommonDialogTest::Display() { return *CurrentHeadlessDisplay(); }

void CommonDialogTest::AnswerBoxes(int answer) {
  SetMessageBoxAnswerer([this, answer](const MessageBoxRecord& record) {
    boxes.push_back(record.text);
    return answer;
  });
}

std::string CommonDialogTest::MakeFolder(const std::string& path, const std::vector<std::string>& names) {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
  std::filesystem::create_directories(path);
  folders.push_back(path);
  for (const std::string& name : names) {
    if (!name.empty() && name.back() == '/') {
      std::filesystem::create_directories(path + "/" + name);
    } else {
      std::ofstream(path + "/" + name) << "x";
    }
  }
  return path;
}

}  // namespace vel::platform::comdlgtest
