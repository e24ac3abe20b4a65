#pragma once
// The printing tests' fixture: the calling thread is a runtime thread holding the runtime lock,
// the error state starts clear, and the printer object is forgotten after each test.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/display/headless/headless_display.h"
#include "platform/gdi/font_resolver.h"
#include "platform/user/message_box_script.h"
#include "platform/user/window_tree.h"
#include "runtime/printing/printer_object.h"
#include "runtime/services/error_state.h"
#include "runtime/windows/thread_runtime.h"
#include "runtime/windows/thread_table.h"
#include "tests/support/golden.h"

namespace vel::printing::testing {

class PrintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A file dialog without OFN_NOCHANGEDIR moves the process into the folder it ended in,
    // which a test may delete; later tests find their files from the directory they began in.
    m_startDirectory = std::filesystem::current_path();
    platform::EnsureWindowManager();
    platform::CurrentHeadlessDisplay()->Clock().SetManual(true);
    platform::PinFontFile(platform::testing::PinnedFontPath());
    services::ClearError();
    ASSERT_GE(windows::EnterRuntimeThread(), 0);
  }
  void TearDown() override {
    platform::SetMessageBoxAnswerer(nullptr);
    ResetPrinter();
    windows::LeaveRuntimeThread();
    windows::ResetThreadTable();
    std::error_code ignored;
    std::filesystem::current_path(m_startDirectory, ignored);
  }
  platform::HeadlessDisplay& Display() { return *platform::CurrentHeadlessDisplay(); }
  void Key(BYTE key, unsigned modifiers = platform::kNoModifier) { Display().PressKey(key, modifiers); }
  /// Moves a dialog's focus to one of its controls, as the dialog manager does.
  void Focus(HWND dialog, int id) {
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
  }

 private:
  std::filesystem::path m_startDirectory;
};

}  // namespace vel::printing::testing
