#pragma once
// What the common dialog tests share: the headless display with a manual clock, the pinned font
// of the goldens, message boxes answered by the test, and a folder of files to browse.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/display/headless/headless_display.h"
#include "platform/user/message_box_script.h"
#include "tests/support/dialog_steps.h"
#include "tests/support/golden.h"
#include "win32.h"

namespace vel::platform::comdlgtest {

class CommonDialogTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  HeadlessDisplay& Display();
  /// Answers every message box with `answer`, recording its text.
  void AnswerBoxes(int answer);
  /// Makes a folder with these files (and folders, names ending in "/"); returns its path.
  std::string MakeFolder(const std::string& path, const std::vector<std::string>& names);

  std::vector<std::string> boxes;
  std::vector<std::string> folders;
};

}  // namespace vel::platform::comdlgtest
