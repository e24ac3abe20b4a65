#include <cstring>

#include "tests/platform/comdlg/dialog_test_support.h"
#include "tests/support/print_server.h"

// The print and print-setup dialogs and the default printer, against a private CUPS scheduler
// with two queues, and with none.

namespace vel::platform::comdlgtest {
namespace {

using testing::CompareWindowWithGolden;
using testing::ControlText;
using testing::DialogSteps;
using testing::NoPrintServer;
using testing::PrintServer;

std::string DeviceName(HGLOBAL names) {
  auto* block = static_cast<const char*>(GlobalLock(names));
  DEVNAMES header{};
  std::memcpy(&header, block, sizeof header);
  std::string device = block + header.wDeviceOffset;
  GlobalUnlock(names);
  return device;
}

DEVMODEA DeviceMode(HGLOBAL mode) {
  DEVMODEA read{};
  std::memcpy(&read, GlobalLock(mode), sizeof read);
  GlobalUnlock(mode);
  return read;
}

void Free(PRINTDLGA& request) {
  if (request.hDevMode != nullptr) GlobalFree(request.hDevMode);
  if (request.hDevNames != nullptr) GlobalFree(request.hDevNames);
  if (request.hDC != nullptr) DeleteDC(request.hDC);
  request.hDevMode = request.hDevNames = nullptr;
  request.hDC = nullptr;
}

PRINTDLGA Request(DWORD flags) {
  PRINTDLGA request{};
  request.lStructSize = sizeof request;
  request.Flags = flags;
  request.nFromPage = 0xFFFF;
  request.nToPage = 0xFFFF;
  request.nMinPage = 1;
  request.nMaxPage = 20;
  request.nCopies = 1;
  return request;
}

TEST(PrintDialogLayout, MatchesTheWin64Layout) {
  EXPECT_EQ(sizeof(PRINTDLGA), 120u);
  EXPECT_EQ(offsetof(PRINTDLGA, Flags), 40u);
  EXPECT_EQ(offsetof(PRINTDLGA, nCopies), 52u);
  EXPECT_EQ(offsetof(PRINTDLGA, hInstance), 56u);
  EXPECT_EQ(sizeof(OPENFILENAMEA), 152u);
  EXPECT_EQ(offsetof(OPENFILENAMEA, Flags), 96u);
  EXPECT_EQ(OPENFILENAME_SIZE_VERSION_400A, 136u);
  EXPECT_EQ(sizeof(DEVNAMES), 8u);
}

class NoPrinters : public CommonDialogTest {
 protected:
  NoPrintServer none;
};

TEST_F(NoPrinters, TheDefaultQueryAndTheDialogsSayThereAreNoDevices) {
  PRINTDLGA request = Request(PD_RETURNDEFAULT);
  EXPECT_FALSE(PrintDlgA(&request));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(PDERR_NODEVICES));
  AnswerBoxes(IDOK);
  PRINTDLGA setup = Request(PD_PRINTSETUP);
  EXPECT_FALSE(PrintDlgA(&setup));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(PDERR_NODEVICES));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("No printers"), std::string::npos);
}

class PrintDialog : public CommonDialogTest {
 protected:
  void SetUp() override {
    CommonDialogTest::SetUp();
    if (!server.Running()) GTEST_SKIP() << server.Problem();
    ASSERT_TRUE(server.AddQueue("Office_Laser", "office_laser.ppd"));
    ASSERT_TRUE(server.AddQueue("Draft"));
    ASSERT_TRUE(server.SetDefault("Office_Laser"));
  }
  void Key(BYTE key, unsigned modifiers = kNoModifier) { Display().PressKey(key, modifiers); }
  void Focus(HWND dialog, int id) {
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
  }
  PrintServer server;
};

TEST_F(PrintDialog, ReturnDefaultGivesTheDefaultPrintersBlocks) {
  PRINTDLGA request = Request(PD_RETURNDEFAULT | PD_RETURNIC);
  ASSERT_TRUE(PrintDlgA(&request));
  EXPECT_EQ(DeviceName(request.hDevNames), "Office_Laser");
  auto* names = static_cast<DEVNAMES*>(GlobalLock(request.hDevNames));
  EXPECT_EQ(names->wDefault, DN_DEFAULTPRN);
  EXPECT_STREQ(reinterpret_cast<char*>(names) + names->wDriverOffset, "winspool");
  GlobalUnlock(request.hDevNames);
  EXPECT_EQ(DeviceMode(request.hDevMode).dmPaperSize, DMPAPER_A4);
  EXPECT_NE(request.hDC, nullptr);
  // Blocks already given make the default query fail.
  EXPECT_FALSE(PrintDlgA(&request));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(PDERR_RETDEFFAILURE));
  Free(request);
}

TEST_F(PrintDialog, SetupChoosesAnotherPrinterPaperAndOrientation) {
  PRINTDLGA request = Request(PD_PRINTSETUP);
  DialogSteps steps({[&](HWND dialog) {
                       EXPECT_EQ(ControlText(dialog, cmb1), "Office_Laser");
                       Focus(dialog, cmb2);
                       Display().TypeText("L");
                     },
                     [&](HWND dialog) {
                       Focus(dialog, rad2);
                       Key(VK_SPACE);
                     },
                     [&](HWND) { Key(VK_RETURN); }});
  ASSERT_TRUE(PrintDlgA(&request));
  DEVMODEA mode = DeviceMode(request.hDevMode);
  EXPECT_EQ(mode.dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_NE(mode.dmPaperSize, DMPAPER_A4);
  EXPECT_EQ(DeviceName(request.hDevNames), "Office_Laser");

  // The next setup starts from what was chosen; picking the other printer with the keyboard.
  DialogSteps again({[&](HWND dialog) {
                       EXPECT_EQ(IsDlgButtonChecked(dialog, rad2), static_cast<UINT>(BST_CHECKED));
                       Focus(dialog, cmb1);
                       Key(VK_UP);
                     },
                     [&](HWND) { Key(VK_RETURN); }});
  ASSERT_TRUE(PrintDlgA(&request));
  EXPECT_EQ(DeviceName(request.hDevNames), "Draft");
  Free(request);
}

TEST_F(PrintDialog, PrintFormRangeCopiesCollateAndPrintToFile) {
  PRINTDLGA request = Request(PD_USEDEVMODECOPIES | PD_NOSELECTION);
  AnswerBoxes(IDOK);
  DialogSteps steps({[&](HWND dialog) {
                       EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, rad2)));
                       CheckRadioButton(dialog, rad1, rad3, rad3);
                       SetDlgItemTextA(dialog, edt1, "30");
                       SetDlgItemTextA(dialog, edt2, "40");
                       SetDlgItemTextA(dialog, edt3, "3");
                       Key(VK_RETURN);
                     },
                     [&](HWND dialog) {
                       // Out of range: told, and the dialog stays.
                       EXPECT_EQ(boxes.size(), 1u);
                       SetDlgItemTextA(dialog, edt1, "2");
                       SetDlgItemTextA(dialog, edt2, "5");
                       Focus(dialog, chx1);
                       Key(VK_SPACE);
                       Focus(dialog, chx2);
                       Key(VK_SPACE);
                     },
                     [&](HWND) { Key(VK_RETURN); }});
  ASSERT_TRUE(PrintDlgA(&request));
  EXPECT_TRUE(request.Flags & PD_PAGENUMS);
  EXPECT_TRUE(request.Flags & PD_PRINTTOFILE);
  EXPECT_EQ(request.nFromPage, 2);
  EXPECT_EQ(request.nToPage, 5);
  EXPECT_EQ(request.nCopies, 1);
  DEVMODEA mode = DeviceMode(request.hDevMode);
  EXPECT_EQ(mode.dmCopies, 3);
  EXPECT_EQ(mode.dmCollate, DMCOLLATE_TRUE);
  Free(request);
}

UINT_PTR CALLBACK CountingHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    reinterpret_cast<PRINTDLGA*>(lParam)->lCustData += 1;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  }
  return 0;
}

TEST_F(PrintDialog, TheHookSeesTheRequestAndCancelReturnsFalseWithoutAnError) {
  PRINTDLGA request = Request(PD_ENABLEPRINTHOOK);
  request.lpfnPrintHook = CountingHook;
  EXPECT_FALSE(PrintDlgA(&request));
  EXPECT_EQ(request.lCustData, 1);
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  PRINTDLGA noHook = Request(PD_ENABLEPRINTHOOK);
  EXPECT_FALSE(PrintDlgA(&noHook));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_NOHOOK));
  PRINTDLGA wrongSize = Request(0);
  wrongSize.lStructSize = 66;
  EXPECT_FALSE(PrintDlgA(&wrongSize));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
}

TEST_F(PrintDialog, WhenTheDialogEndsItsOwnerIsActiveAgain) {
  HWND owner = CreateWindowExA(0, "Static", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200, nullptr,
                               nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  ASSERT_EQ(GetActiveWindow(), owner);
  PRINTDLGA request = Request(PD_PRINTSETUP);
  request.hwndOwner = owner;
  HWND shown = nullptr;
  bool ownerEnabled = true;
  DialogSteps steps({[&](HWND dialog) {
    shown = GetActiveWindow() == dialog ? dialog : nullptr;
    ownerEnabled = IsWindowEnabled(owner) != FALSE;
    Key(VK_ESCAPE);
  }});
  EXPECT_FALSE(PrintDlgA(&request));
  EXPECT_NE(shown, nullptr) << "the dialog was the active window";
  EXPECT_FALSE(ownerEnabled) << "the owner is disabled while the dialog runs";
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
  DestroyWindow(owner);
}

class GoldenPrintDialogs : public PrintDialog {
 protected:
  std::string Snapshot(DWORD flags, const char* name) {
    PRINTDLGA request = Request(flags);
    std::string failure = "not shown";
    DialogSteps steps({[&](HWND dialog) {
      failure = CompareWindowWithGolden(dialog, name);
      Key(VK_ESCAPE);
    }});
    EXPECT_FALSE(PrintDlgA(&request));
    return failure;
  }
};

TEST_F(GoldenPrintDialogs, Print) { EXPECT_EQ(Snapshot(PD_NOSELECTION, "print_dialog"), ""); }
TEST_F(GoldenPrintDialogs, Setup) { EXPECT_EQ(Snapshot(PD_PRINTSETUP, "print_setup_dialog"), ""); }

}  // namespace
}  // namespace vel::platform::comdlgtest
