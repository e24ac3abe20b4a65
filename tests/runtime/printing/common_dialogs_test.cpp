#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "runtime/printing/common_dialogs.h"
#include "runtime/windows/runtime_lock.h"
#include "tests/runtime/printing/printing_test_support.h"
#include "tests/support/dialog_steps.h"
#include "tests/support/print_server.h"

// The print-setup and print dialogs for the printer object, print to file, the file dialogs'
// options and the directory chooser, with the runtime lock given up while a dialog is open.

namespace vel::printing::testing {
namespace {

using platform::testing::ControlText;
using platform::testing::DialogSteps;
using platform::testing::ListRowPoint;
using platform::testing::NoPrintServer;
using platform::testing::PrintServer;

class Dialogs : public PrintingTest {
 protected:
  void SetUp() override {
    PrintingTest::SetUp();
    if (!server.Running()) GTEST_SKIP() << server.Problem();
    ASSERT_TRUE(server.AddQueue("Office_Laser", "office_laser.ppd"));
    ASSERT_TRUE(server.AddQueue("Draft"));
    ASSERT_TRUE(server.SetDefault("Office_Laser"));
  }
  PrintServer server;
};

TEST_F(Dialogs, PrintSetupChoiceBecomesThePrinterAndTheLockIsFreeMeanwhile) {
  bool lockedDuringDialog = true;
  DialogSteps steps({[&](HWND dialog) {
                       lockedDuringDialog = windows::CallingThreadOwnsRuntimeLock();
                       EXPECT_EQ(ControlText(dialog, cmb1), "Office_Laser");
                       Focus(dialog, cmb1);
                       Key(VK_UP);
                     },
                     [&](HWND) { Key(VK_RETURN); }});
  EXPECT_TRUE(RunPrintDialog(nullptr, true));
  EXPECT_FALSE(lockedDuringDialog);
  EXPECT_TRUE(windows::CallingThreadOwnsRuntimeLock());
  EXPECT_EQ(PrinterName(), "Draft");
  EXPECT_TRUE(Printer().dialog.Flags & PD_PRINTSETUP);
  EXPECT_EQ(Printer().dialog.nMaxPage, 0xFFFE);
}

TEST_F(Dialogs, PrintToFileAsksForTheFileAndIsSwitchedOffWhenThatIsCancelled) {
  std::string folder = ::testing::TempDir() + "velmora_print_to_file_" + std::to_string(getpid());
  std::filesystem::create_directories(folder);
  std::string title;
  DialogSteps cancelled({[&](HWND dialog) {
                           Focus(dialog, chx1);
                           Key(VK_SPACE);
                           Key(VK_RETURN);
                         },
                         [&](HWND dialog) {
                           char text[64] = {};
                           GetWindowTextA(dialog, text, sizeof text);
                           title = text;
                           Key(VK_ESCAPE);
                         }});
  EXPECT_TRUE(RunPrintDialog(nullptr, false));
  EXPECT_EQ(title, "Print To File...");
  EXPECT_FALSE(Printer().dialog.Flags & PD_PRINTTOFILE);
  EXPECT_EQ(Printer().outputFile, "");

  std::string target = folder + "/out.prn";
  // Print to file is off now, so the first step ticks it again.
  DialogSteps chosen({[&](HWND dialog) {
                        Focus(dialog, chx1);
                        Key(VK_SPACE);
                        Key(VK_RETURN);
                      },
                      [&](HWND dialog) {
                        SetDlgItemTextA(dialog, edt1, target.c_str());
                        Key(VK_RETURN);
                      }});
  EXPECT_TRUE(RunPrintDialog(nullptr, false));
  EXPECT_TRUE(Printer().dialog.Flags & PD_PRINTTOFILE);
  EXPECT_EQ(Printer().outputFile, target);
  std::filesystem::remove_all(folder);
}

TEST(FileDialogOptions, OptionBitsBecomeFlags) {
  EXPECT_EQ(FileDialogFlags(0, false), static_cast<DWORD>(0x4024 | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST));
  EXPECT_EQ(FileDialogFlags(kFileOverwritePrompt, true), static_cast<DWORD>(0x4024 | OFN_OVERWRITEPROMPT));
  // The overwrite question is the save dialog's only.
  EXPECT_EQ(FileDialogFlags(kFileOverwritePrompt, false) & OFN_OVERWRITEPROMPT, 0u);
  EXPECT_EQ(FileDialogFlags(kFileNoChangeDirectory | kFileMultipleSelection | kFileExplorer, true),
            static_cast<DWORD>(0x4024 | OFN_NOCHANGEDIR | OFN_ALLOWMULTISELECT | OFN_EXPLORER));
}

class DirectoryChooser : public PrintingTest {
 protected:
  NoPrintServer none;
};

TEST_F(DirectoryChooser, ReturnsTheFolderOpenedWithoutTheDummyName) {
  std::string folder = ::testing::TempDir() + "velmora_choose_" + std::to_string(getpid());
  std::filesystem::create_directories(folder + "/reports");
  std::ofstream(folder + "/file.txt") << "x";
  std::string directory = folder;
  bool fileControlsHidden = false;
  DialogSteps steps({[&](HWND dialog) {
                       char title[64] = {};
                       GetWindowTextA(dialog, title, sizeof title);
                       EXPECT_STREQ(title, "Choose Directory");
                       fileControlsHidden = !IsWindowVisible(GetDlgItem(dialog, edt1)) &&
                                            !IsWindowVisible(GetDlgItem(dialog, lst1));
                       EXPECT_EQ(ControlText(dialog, edt1), "XXYZZY.NIG");
                       Focus(dialog, lst2);
                       Key(VK_END);
                       Key(VK_RETURN);
                     },
                     [&](HWND dialog) {
                       EXPECT_EQ(ControlText(dialog, stc1), folder + "/reports");
                       Focus(dialog, IDOK);
                       Key(VK_RETURN);
                     }});
  ASSERT_TRUE(ChooseDirectory(nullptr, "", directory));
  EXPECT_TRUE(fileControlsHidden);
  EXPECT_EQ(directory, folder + "/reports");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vel::printing::testing
