#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "platform/gdi/font_resolver.h"
#include "platform/user/beep.h"
#include "platform/user/message_box_layout.h"
#include "platform/user/message_box_script.h"
#include "tests/platform/user/message_log.h"
#include "tests/support/golden.h"

namespace vel::platform::usertest {
namespace {

// What an answerer returns when the input it sent did not close the box.
constexpr int kStillUp = -1;

class MessageBox : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ClearMessageBoxLog();
  }
  void TearDown() override {
    SetMessageBoxAnswerer(nullptr);
    ClearMessageBoxLog();
    WindowTest::TearDown();
  }

  // Shows a box whose answerer runs `steps` in turn, one per quiet moment of the box: each
  // step may send input and returns an answer or 0 to let the box go on. When the steps are
  // used up while the box is still there, the box is answered with kStillUp.
  static int Show(UINT flags, std::vector<std::function<int(const MessageBoxRecord&)>> steps,
                  HWND owner = nullptr, const char* text = "Message text") {
    size_t next = 0;
    SetMessageBoxAnswerer([&](const MessageBoxRecord& box) {
      if (next >= steps.size()) return kStillUp;
      return steps[next++](box);
    });
    int answer = MessageBoxA(owner, text, "Caption", flags);
    SetMessageBoxAnswerer(nullptr);
    return answer;
  }

  // A step that presses a key (with modifiers) and lets the box handle it.
  static std::function<int(const MessageBoxRecord&)> Key(BYTE key, unsigned modifiers = kNoModifier) {
    return [key, modifiers](const MessageBoxRecord&) {
      Display().PressKey(key, modifiers);
      return 0;
    };
  }

  static POINT CentreOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }

  static std::string TextOf(HWND window) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
  }
};

TEST_F(MessageBox, RecordsWhatItShowsAndTakesTheScriptedAnswer) {
  SetMessageBoxAnswerer([](const MessageBoxRecord& box) {
    return (box.flags & MB_TYPEMASK) == MB_OKCANCEL ? IDCANCEL : IDOK;
  });
  EXPECT_EQ(MessageBoxA(nullptr, "text", "Caption", MB_OKCANCEL | MB_ICONSTOP), IDCANCEL);
  SetMessageBoxAnswerer(nullptr);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_YESNO), IDYES);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[Error] \n");

  auto log = MessageBoxLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].caption, "Caption");
  EXPECT_EQ(log[0].text, "text");
  EXPECT_EQ(log[0].flags, static_cast<UINT>(MB_OKCANCEL | MB_ICONSTOP));
  EXPECT_NE(log[0].box, nullptr);
  EXPECT_FALSE(IsWindow(log[0].box)) << "the box is gone once answered";
  EXPECT_EQ(log[1].caption, "Error");
  EXPECT_EQ(log[1].text, "");
}

TEST_F(MessageBox, EachTypeShowsItsButtonsWithTheDefaultOneFocused) {
  struct Case {
    UINT flags;
    std::vector<std::string> texts;
    int focused;
  };
  const Case cases[] = {
      {MB_OK, {"OK"}, IDOK},
      {MB_OKCANCEL | MB_DEFBUTTON2, {"OK", "Cancel"}, IDCANCEL},
      {MB_YESNO, {"&Yes", "&No"}, IDYES},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, {"&Yes", "&No", "Cancel"}, IDCANCEL},
      {MB_RETRYCANCEL, {"&Retry", "Cancel"}, IDRETRY},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, {"&Abort", "&Retry", "&Ignore"}, IDRETRY},
      // A default button beyond the row means the first.
      {MB_YESNO | MB_DEFBUTTON4, {"&Yes", "&No"}, IDYES},
  };
  for (const Case& check : cases) {
    Show(check.flags, {[&](const MessageBoxRecord& box) {
           std::vector<std::string> texts;
           LONG lastRight = -1;
           for (HWND child = GetWindow(box.box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
             char className[32] = {};
             GetClassNameA(child, className, sizeof className);
             EXPECT_STRCASEEQ(className, "Button");
             RECT rect{};
             GetWindowRect(child, &rect);
             EXPECT_GT(rect.left, lastRight) << "buttons run left to right without overlapping";
             lastRight = rect.right;
             texts.push_back(TextOf(child));
           }
           EXPECT_EQ(texts, check.texts) << check.flags;
           HWND focus = GetFocus();
           EXPECT_EQ(GetDlgCtrlID(focus), check.focused) << check.flags;
           EXPECT_EQ(GetWindowLongPtrA(focus, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
           EXPECT_EQ(GetActiveWindow(), box.box);
           return IDOK;
         }});
  }
}

TEST_F(MessageBox, EnterTakesTheDefaultButtonAndEscCancelsWhereItCan) {
  EXPECT_EQ(Show(MB_YESNOCANCEL | MB_DEFBUTTON2, {Key(VK_RETURN)}), IDNO);
  EXPECT_EQ(Show(MB_OK, {Key(VK_ESCAPE)}), IDOK);
  EXPECT_EQ(Show(MB_OKCANCEL, {Key(VK_ESCAPE)}), IDCANCEL);
  EXPECT_EQ(Show(MB_YESNOCANCEL, {Key(VK_ESCAPE)}), IDCANCEL);
  EXPECT_EQ(Show(MB_RETRYCANCEL, {Key(VK_ESCAPE)}), IDCANCEL);
  // Without Cancel (or a lone OK) Esc does nothing and the box waits for a real answer.
  EXPECT_EQ(Show(MB_YESNO, {Key(VK_ESCAPE)}), kStillUp);
  EXPECT_EQ(Show(MB_ABORTRETRYIGNORE, {Key(VK_ESCAPE), Key(VK_RETURN)}), IDABORT);
}

TEST_F(MessageBox, TabArrowsAndMnemonicsChooseButtons) {
  EXPECT_EQ(Show(MB_YESNOCANCEL, {Key(VK_TAB), Key(VK_RETURN)}), IDNO);
  EXPECT_EQ(Show(MB_YESNOCANCEL, {Key(VK_TAB, kShift), Key(VK_RETURN)}), IDCANCEL);
  EXPECT_EQ(Show(MB_ABORTRETRYIGNORE, {Key(VK_RIGHT), Key(VK_RIGHT), Key(VK_SPACE)}), IDIGNORE);
  EXPECT_EQ(Show(MB_YESNO, {Key('N')}), IDNO);
  EXPECT_EQ(Show(MB_ABORTRETRYIGNORE, {Key('I', kAlt)}), IDIGNORE);
  EXPECT_EQ(Show(MB_RETRYCANCEL | MB_DEFBUTTON2, {Key('R', kAlt)}), IDRETRY);
  // A letter that is no mnemonic presses nothing.
  EXPECT_EQ(Show(MB_YESNO, {Key('Q')}), kStillUp);
}

TEST_F(MessageBox, MouseClicksOnButtonsAndTheCloseButtonAnswer) {
  auto clickButton = [](int id) {
    return [id](const MessageBoxRecord& box) {
      Display().Click(CentreOf(GetDlgItem(box.box, id)));
      return 0;
    };
  };
  EXPECT_EQ(Show(MB_YESNOCANCEL, {clickButton(IDNO)}), IDNO);
  EXPECT_EQ(Show(MB_RETRYCANCEL, {clickButton(IDCANCEL)}), IDCANCEL);

  auto clickClose = [](const MessageBoxRecord& box) {
    RECT rect{};
    GetWindowRect(box.box, &rect);
    int frame = GetSystemMetrics(SM_CXDLGFRAME);
    Display().Click({rect.right - frame - 8, rect.top + frame + 8});
    return 0;
  };
  EXPECT_EQ(Show(MB_OK, {clickClose}), IDOK);
  EXPECT_EQ(Show(MB_OKCANCEL, {clickClose}), IDCANCEL);
  // Boxes that need an answer have no close button.
  EXPECT_EQ(Show(MB_YESNO, {clickClose}), kStillUp);
}

TEST_F(MessageBox, DisablesItsOwnerWhileUpAndCentresOnIt) {
  HWND owner = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 100, 80, 600, 400);
  HWND other = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 10, 10, 200, 100);
  HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, owner, 10, 10, 50, 20);
  Show(MB_OK, {[&](const MessageBoxRecord& box) {
                 EXPECT_FALSE(IsWindowEnabled(owner));
                 EXPECT_TRUE(IsWindowEnabled(other)) << "an owned box leaves other windows alone";
                 EXPECT_EQ(GetWindow(box.box, GW_OWNER), owner);
                 POINT boxCentre = CentreOf(box.box);
                 POINT ownerCentre = CentreOf(owner);
                 EXPECT_NEAR(boxCentre.x, ownerCentre.x, 1);
                 EXPECT_NEAR(boxCentre.y, ownerCentre.y, 1);
                 // A click on the disabled owner only beeps.
                 uint64_t beeps = BeepCount();
                 Display().Click({150, 300});
                 Pump();
                 EXPECT_EQ(BeepCount(), beeps + 1);
                 return IDOK;
               }},
       child);  // a child names its top-level window as the owner
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner) << "activation returns to the owner";
}

TEST_F(MessageBox, WithoutOwnerOrTaskModalItDisablesTheThreadsWindowsAndRestoresOnlyThose) {
  HWND first = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND second = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND alreadyDisabled = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_DISABLED);
  for (HWND owner : {HWND{nullptr}, first}) {
    UINT flags = owner != nullptr ? MB_TASKMODAL : MB_OK;
    Show(flags, {[&](const MessageBoxRecord&) {
                   EXPECT_FALSE(IsWindowEnabled(first));
                   EXPECT_FALSE(IsWindowEnabled(second));
                   return IDOK;
                 }},
         owner);
    EXPECT_TRUE(IsWindowEnabled(first));
    EXPECT_TRUE(IsWindowEnabled(second));
    EXPECT_FALSE(IsWindowEnabled(alreadyDisabled));
  }
}

TEST_F(MessageBox, TopmostAndSystemModalBoxesStayOnTop) {
  for (UINT flags : {UINT{MB_OK}, UINT{MB_TOPMOST}, UINT{MB_SYSTEMMODAL}}) {
    Show(flags, {[&](const MessageBoxRecord& box) {
           bool topmost = (GetWindowLongPtrA(box.box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
           EXPECT_EQ(topmost, flags != MB_OK) << flags;
           return IDOK;
         }});
  }
}

TEST_F(MessageBox, ABoxFromAnotherThreadRunsWhileTheFirstIsUp) {
  HWND outerBox = nullptr;
  int innerAnswer = 0;
  SetMessageBoxAnswerer([&](const MessageBoxRecord& box) {
    if (box.caption == "inner") {
      EXPECT_TRUE(IsWindow(outerBox)) << "the first box is still up";
      EXPECT_NE(box.box, outerBox);
      return IDNO;
    }
    outerBox = box.box;
    std::thread other([&] { innerAnswer = MessageBoxA(nullptr, "from a worker", "inner", MB_YESNO); });
    other.join();
    return IDRETRY;
  });
  EXPECT_EQ(MessageBoxA(nullptr, "outer", "outer", MB_RETRYCANCEL), IDRETRY);
  EXPECT_EQ(innerAnswer, IDNO);
  EXPECT_EQ(MessageBoxLog().size(), 2u);
}

TEST_F(MessageBox, QuitDuringTheBoxEndsItWithTheDefaultAndIsPostedAgainAfterwards) {
  int answer = Show(MB_OKCANCEL | MB_DEFBUTTON2, {[](const MessageBoxRecord&) {
                      PostQuitMessage(7);
                      return 0;
                    }});
  EXPECT_EQ(answer, IDCANCEL);
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(MessageBox, AQuitAlreadyWaitingDoesNotHideTheBox) {
  // As when a runtime error is reported while the program shuts down.
  PostQuitMessage(3);
  EXPECT_EQ(Show(MB_YESNO, {Key('N')}), IDNO);
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MessageBox, AnOwnerDestroyedUnderTheBoxOrBeforeItIsHarmless) {
  HWND owner = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  EXPECT_EQ(Show(MB_YESNOCANCEL, {[&](const MessageBoxRecord&) {
                   DestroyWindow(owner);
                   return 0;
                 }},
                 owner),
            IDYES)
      << "a box destroyed under it gives its default answer";
  EXPECT_FALSE(IsWindow(owner));
  // A box for a window that no longer exists (as during shutdown) still shows and answers.
  EXPECT_EQ(Show(MB_OK, {[](const MessageBoxRecord& box) {
                   EXPECT_EQ(GetWindow(box.box, GW_OWNER), nullptr);
                   return IDOK;
                 }},
                 owner),
            IDOK);
}

TEST_F(MessageBox, UnattendedBoxesTakeTheDefaultButtonOrTheQueuedScript) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(MessageBoxA(nullptr, "text", "Unattended", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  EXPECT_EQ(MessageBoxA(nullptr, "text", "Unattended", MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), IDRETRY);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[Unattended] text\n[Unattended] text\n");

  // Queued input reaches the box before the default rule applies.
  ASSERT_TRUE(Display().QueueScript("key TAB; key RETURN"));
  EXPECT_EQ(MessageBoxA(nullptr, "text", "Scripted", MB_YESNOCANCEL), IDNO);
  EXPECT_FALSE(Display().ScriptPending());
  // An answerer that sends nothing and answers nothing falls back to the default rule.
  SetMessageBoxAnswerer([](const MessageBoxRecord&) { return 0; });
  EXPECT_EQ(MessageBoxA(nullptr, "text", "Silent", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
}

TEST_F(MessageBox, LongTextWrapsAndGrowsTheBoxUpToACappedWidth) {
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  MessageBoxLayout shortText = LayOutMessageBox(dc, "Short.", true, 2, 640, 40, 700);
  std::string paragraph;
  for (int i = 0; i < 60; ++i) paragraph += "wrapping words ";
  MessageBoxLayout longText = LayOutMessageBox(dc, paragraph, true, 2, 640, 40, 700);
  MessageBoxLayout noIcon = LayOutMessageBox(dc, "Short.", false, 3, 640, 40, 700);
  MessageBoxLayout tooTall = LayOutMessageBox(dc, paragraph + paragraph + paragraph + paragraph, false, 1, 200, 0, 300);
  DeleteDC(dc);

  EXPECT_FALSE(IsRectEmpty(&shortText.icon));
  EXPECT_GT(shortText.text.left, shortText.icon.right);
  EXPECT_TRUE(IsRectEmpty(&noIcon.icon));
  EXPECT_LT(noIcon.text.left, shortText.text.left);
  // The long text fills lines of at most the limit and makes the box taller, not wider.
  EXPECT_LE(longText.text.right - longText.text.left, 640);
  EXPECT_GT(longText.text.right - longText.text.left, 500);
  EXPECT_GT(longText.client.cy, shortText.client.cy + 20);
  EXPECT_LT(longText.client.cx, 640 + 100);
  // Text taller than the limit is cut; the buttons stay inside the box.
  EXPECT_EQ(tooTall.client.cy, 300);
  EXPECT_LE(tooTall.buttons[0].bottom, 300);
  EXPECT_LE(tooTall.text.bottom, tooTall.buttons[0].top);
  // Buttons sit below the text, centred.
  EXPECT_GE(longText.buttons[0].top, longText.text.bottom);
  EXPECT_NEAR(noIcon.buttons.front().left, noIcon.client.cx - noIcon.buttons.back().right, 1);

  // The real box of a long text stays within the screen's width.
  Show(MB_OK | MB_ICONINFORMATION, {[](const MessageBoxRecord& box) {
         RECT rect{};
         GetWindowRect(box.box, &rect);
         EXPECT_LT(rect.right - rect.left, GetSystemMetrics(SM_CXSCREEN) * 3 / 4);
         EXPECT_GE(rect.left, 0);
         return IDOK;
       }},
       nullptr, paragraph.c_str());
}

TEST_F(MessageBox, BeepsAreCountedAndAlwaysSucceed) {
  uint64_t before = BeepCount();
  EXPECT_TRUE(MessageBeep(0xFFFFFFFF));
  EXPECT_TRUE(MessageBeep(MB_ICONHAND));
  EXPECT_EQ(BeepCount(), before + 2);
  EXPECT_EQ(LastBeepType(), static_cast<UINT>(MB_ICONHAND));
}

class GoldenMessageBox : public MessageBox {
 protected:
  void SetUp() override {
    MessageBox::SetUp();
    PinFontFile(testing::PinnedFontPath());
  }
  void TearDown() override {
    PinFontFile("");
    MessageBox::TearDown();
  }
};

TEST_F(GoldenMessageBox, StopIconWithTwoButtons) {
  Show(MB_OKCANCEL | MB_ICONHAND, {[](const MessageBoxRecord& box) {
         EXPECT_EQ(GetActiveWindow(), box.box);
         EXPECT_EQ(testing::CompareWindowWithGolden(box.box, "message_box_stop_ok_cancel"), "");
         return IDOK;
       }},
       nullptr, "The file could not be saved.\r\nTry another folder or a shorter name.");
}

}  // namespace
}  // namespace vel::platform::usertest
