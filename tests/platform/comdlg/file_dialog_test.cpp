#include <unistd.h>

#include <climits>
#include <cstring>

#include "tests/platform/comdlg/dialog_test_support.h"

// The open and save dialogs browsing real folders, driven by keys and clicks.

namespace vel::platform::comdlgtest {
namespace {

using testing::CompareWindowWithGolden;
using testing::ControlCentre;
using testing::ControlText;
using testing::DialogSteps;
using testing::ListRowPoint;
using testing::ListRows;

constexpr char kFilter[] = "Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0";

class FileDialog : public CommonDialogTest {
 protected:
  void SetUp() override {
    CommonDialogTest::SetUp();
    folder = MakeFolder(::testing::TempDir() + "velmora_file_dialog_" + std::to_string(getpid()),
                        {"alpha.txt", "Beta.TXT", "gamma.doc", "inner/", "inner/deep.txt",
                         "\xD0\xB6\xD1\x83\xD0\xBA.txt"});
    std::memset(file, 0, sizeof file);
    request.lStructSize = sizeof request;
    request.lpstrFilter = kFilter;
    request.nFilterIndex = 1;
    request.lpstrFile = file;
    request.nMaxFile = sizeof file;
    request.lpstrInitialDir = folder.c_str();
    request.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  }
  void Type(const std::string& text) { Display().TypeText(text); }
  void Key(BYTE key, unsigned modifiers = kNoModifier) { Display().PressKey(key, modifiers); }

  std::string folder;
  char file[512];
  OPENFILENAMEA request{};
};

TEST_F(FileDialog, ListsTheFolderByTypeAndOpensATypedName) {
  std::vector<std::string> files;
  std::vector<std::string> folderRows;
  std::string shownFolder;
  DialogSteps steps({[&](HWND dialog) {
                       files = ListRows(dialog, lst1);
                       folderRows = ListRows(dialog, lst2);
                       shownFolder = ControlText(dialog, stc1);
                       EXPECT_EQ(ControlText(dialog, edt1), "*.txt");
                       EXPECT_EQ(GetFocus(), GetDlgItem(dialog, edt1));
                       Type("Beta.TXT");
                       Key(VK_RETURN);
                     }});
  ASSERT_TRUE(GetOpenFileNameA(&request));
  // Names the code page cannot show are listed, with "?" for what it lacks.
  EXPECT_EQ(files, (std::vector<std::string>{"alpha.txt", "Beta.TXT", "???.txt"}));
  EXPECT_EQ(folderRows.back(), "inner");
  EXPECT_EQ(shownFolder, folder);
  EXPECT_EQ(std::string(file), folder + "/Beta.TXT");
  EXPECT_EQ(request.nFileOffset, folder.size() + 1);
  EXPECT_EQ(std::string(file + request.nFileExtension), "TXT");
  EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(FileDialog, ChangingTheTypeAndFolderAndPickingFromTheList) {
  DialogSteps steps({[&](HWND dialog) {
                       // Tab to the file type list, then pick "All files" with the arrow key.
                       SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, cmb1)), TRUE);
                       Key(VK_DOWN);
                     },
                     [&](HWND dialog) {
                       EXPECT_EQ(ListRows(dialog, lst1).size(), 4u);
                       EXPECT_EQ(ControlText(dialog, edt1), "*.*");
                       // Into the inner folder by typing its name.
                       SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, edt1)), TRUE);
                       Type("inner");
                       Key(VK_RETURN);
                     },
                     [&](HWND dialog) {
                       EXPECT_EQ(ControlText(dialog, stc1), folder + "/inner");
                       EXPECT_EQ(ListRows(dialog, lst1), (std::vector<std::string>{"deep.txt"}));
                       Display().Click(ListRowPoint(dialog, lst1, 0));
                     },
                     [&](HWND dialog) {
                       EXPECT_EQ(ControlText(dialog, edt1), "deep.txt");
                       Display().Click(ControlCentre(dialog, IDOK));
                     }});
  ASSERT_TRUE(GetOpenFileNameA(&request));
  EXPECT_EQ(std::string(file), folder + "/inner/deep.txt");
  EXPECT_EQ(request.nFilterIndex, 2u);
}

TEST_F(FileDialog, AMissingFileIsRefusedAndEscapeCancels) {
  AnswerBoxes(IDOK);
  DialogSteps steps({[&](HWND) {
                       Type("missing.txt");
                       Key(VK_RETURN);
                     },
                     [&](HWND) { Key(VK_ESCAPE); }});
  EXPECT_FALSE(GetOpenFileNameA(&request));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("File not found."), std::string::npos);
}

TEST_F(FileDialog, SaveAsksBeforeReplacingAndAddsTheDefaultExtension) {
  request.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  request.lpstrDefExt = "txt";
  AnswerBoxes(IDNO);
  DialogSteps steps({[&](HWND dialog) {
                       EXPECT_EQ(ControlText(dialog, stc2), "Save file as &type:");
                       Type("alpha");
                       Key(VK_RETURN);
                     },
                     [&](HWND) {
                       AnswerBoxes(IDYES);
                       Key(VK_RETURN);
                     }});
  ASSERT_TRUE(GetSaveFileNameA(&request));
  EXPECT_EQ(std::string(file), folder + "/alpha.txt");
  // Asked twice: refused, then replaced.
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[0].find("alpha.txt already exists"), std::string::npos);
}

TEST_F(FileDialog, ANameTheCodePageCannotHoldIsNotChosen) {
  DialogSteps steps({[&](HWND dialog) {
                       SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, lst1)), TRUE);
                       Key(VK_END);
                     },
                     [&](HWND dialog) {
                       EXPECT_EQ(ControlText(dialog, edt1), "*.txt");
                       Key(VK_ESCAPE);
                     }});
  EXPECT_FALSE(GetOpenFileNameA(&request));
}

TEST_F(FileDialog, RequestsItCannotServeFailWithTheirReason) {
  OPENFILENAMEA wrong = request;
  wrong.lStructSize = 40;
  EXPECT_FALSE(GetOpenFileNameA(&wrong));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));

  OPENFILENAMEA noTemplate = request;
  noTemplate.Flags |= OFN_ENABLETEMPLATE;
  noTemplate.hInstance = GetModuleHandleA(nullptr);
  noTemplate.lpTemplateName = "NOSUCHDIALOG";
  EXPECT_FALSE(GetOpenFileNameA(&noTemplate));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_FINDRESFAILURE));

  char small[8] = {};
  request.lpstrFile = small;
  request.nMaxFile = sizeof small;
  DialogSteps steps({[&](HWND) {
    Type("alpha.txt");
    Key(VK_RETURN);
  }});
  EXPECT_FALSE(GetOpenFileNameA(&request));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
  WORD needed = 0;
  std::memcpy(&needed, small, sizeof needed);
  EXPECT_EQ(needed, folder.size() + 11);
}

UINT_PTR CALLBACK RefusingHook(HWND, UINT message, WPARAM, LPARAM lParam) {
  static UINT fileOk = RegisterWindowMessageA(FILEOKSTRINGA);
  if (message == WM_INITDIALOG) reinterpret_cast<OPENFILENAMEA*>(lParam)->lCustData = 7;
  // Refuses the first name offered, takes the second.
  if (message == fileOk) return reinterpret_cast<OPENFILENAMEA*>(lParam)->lCustData-- == 7 ? 1 : 0;
  return 0;
}

TEST_F(FileDialog, TheHookSeesTheRequestAndMayRefuseAName) {
  request.Flags |= OFN_ENABLEHOOK;
  request.lpfnHook = RefusingHook;
  DialogSteps steps({[&](HWND) {
                       Type("alpha.txt");
                       Key(VK_RETURN);
                     },
                     [&](HWND) { Key(VK_RETURN); }});
  ASSERT_TRUE(GetOpenFileNameA(&request));
  EXPECT_EQ(request.lCustData, 5);
}

class GoldenFileDialog : public FileDialog {};

TEST_F(GoldenFileDialog, Open) {
  std::string fixed = MakeFolder("/tmp/velmora_golden_dialog", {"letter.txt", "notes.txt", "report.doc", "archive/"});
  request.lpstrInitialDir = fixed.c_str();
  std::string failure = "not shown";
  DialogSteps steps({[&](HWND dialog) {
    failure = CompareWindowWithGolden(dialog, "file_open_dialog");
    Key(VK_ESCAPE);
  }});
  EXPECT_FALSE(GetOpenFileNameA(&request));
  EXPECT_EQ(failure, "");
}

}  // namespace
}  // namespace vel::platform::comdlgtest
