// The pictures buttons show and the sizes they take: icons of the program and icon files on
// disk in the image nearest the button's room, other pictures the image store opens, a name
// that opens nothing, and buttons whose definition leaves their width or height open.

#include <gtest/gtest.h>

#include <string>

#include "runtime/controls/button_control.h"
#include "runtime/controls/button_look.h"
#include "runtime/controls/control_flags.h"
#include "runtime/images/icon_image.h"
#include "tests/runtime/controls/control_test_support.h"
#include "tests/support/golden.h"

namespace vel::controls::testing {
namespace {

using windows::ProcedureWindow;

std::string PicturePath(const std::string& name) { return std::string(VEL_SOURCE_DIR) + "/tests/data/images/" + name; }

bool operator==(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

SIZE ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return SIZE{client.right, client.bottom};
}

class ButtonPictures : public ControlTest {
 protected:
  /// Opens window "W" of `declarations`, kept among the test program's resources as the
  /// program's own windows are, so that the program's icons are found by name.
  void OpenWithProgramIcons(ProcedureWindow& window, const std::string& declarations) {
    AddProgramDefinitions("test$BTN", "definition \"test$BTN\"\n" + declarations);
    window.Open("test$BTN", "W", {m_option});
  }
  char m_option[20];

  ButtonControl* Button(ProcedureWindow& window, std::int32_t field) {
    return dynamic_cast<ButtonControl*>(Control(window, field));
  }

  /// How many pixels of a button differ from its top-left corner (a flat button at rest shows
  /// only its background there).
  int InkOf(ProcedureWindow& window, HWND button) {
    PendingEvents(window);
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    auto pixels = platform::testing::CaptureWindowPixels(button);
    if (!pixels) return -1;
    int ink = 0;
    std::uint32_t background = pixels->Pixel(0, 0) & 0xFFFFFF;
    for (int y = 0; y < pixels->Height(); ++y)
      for (int x = 0; x < pixels->Width(); ++x) ink += (pixels->Pixel(x, y) & 0xFFFFFF) != background;
    return ink;
  }
};

TEST_F(ButtonPictures, IconFilesAndOtherPicturesShowAndAMissingOneLeavesTheButtonBlank) {
  ProcedureWindow window;
  OpenWithProgramIcons(window, R"(window "W" at(0, 0, 200, 40) font("Arial", 8, default, 400)
  button at(2, 2, 17, 8) icon(")" + PicturePath("masked8.ico") + R"(") flags(flat)
  button at(22, 2, 17, 8) icon("GET.ICO") flags(flat)
  button at(42, 2, 30, 20) icon(")" + PicturePath("bmp24.bmp") + R"(") flags(flat)
  button at(76, 2, 17, 8) icon(")" + PicturePath("missing.ico") + R"(") flags(flat)
  button at(96, 2, 30, 20) icon(")" + PicturePath("masked8.ico") + R"(") flags(flat)
end
)");
  ASSERT_TRUE(window.IsOpen());
  ButtonControl* file = Button(window, 1);
  ButtonControl* resource = Button(window, 2);
  ButtonControl* bitmap = Button(window, 3);
  ButtonControl* missing = Button(window, 4);
  ButtonControl* roomy = Button(window, 5);

  // A one-line button takes the 16-pixel image of an icon, from a file as from the program.
  for (ButtonControl* icon : {file, resource}) {
    ASSERT_TRUE(icon->HasIcon()) << icon->IconName();
    ASSERT_NE(dynamic_cast<images::IconImage*>(icon->Picture()), nullptr);
    EXPECT_TRUE(icon->PictureSize() == (SIZE{16, 16}));
    EXPECT_GT(InkOf(window, icon->Handle()), 20);
  }
  // A taller button keeps the 32-pixel image and shows it shrunk to its room, not the small one
  // grown.
  EXPECT_TRUE(roomy->PictureSize() == (SIZE{32, 32})) << roomy->PictureSize().cx << " in " << ClientSize(roomy->Handle()).cx << "x" << ClientSize(roomy->Handle()).cy;
  EXPECT_GT(InkOf(window, roomy->Handle()), InkOf(window, file->Handle()));

  ASSERT_TRUE(bitmap->HasIcon());
  EXPECT_STREQ(bitmap->Picture()->KindTag(), ".bmp");
  EXPECT_GT(InkOf(window, bitmap->Handle()), 100);

  // A name that opens nothing: no picture, still drawn by the runtime, and nothing on its face.
  EXPECT_FALSE(missing->HasIcon());
  EXPECT_NE(missing->ButtonFlags() & kButtonDrawnByRuntime, 0u);
  EXPECT_EQ(InkOf(window, missing->Handle()), 0);
  missing->EnableOrDisable(false);
  EXPECT_TRUE(missing->HasDrawState(kDrawDisabled));
  EXPECT_EQ(InkOf(window, missing->Handle()), 0);
}

TEST_F(ButtonPictures, OpenSidesFollowThePictureAndTheText) {
  ProcedureWindow window;
  OpenWithProgramIcons(window, R"(window "W" at(0, 0, 300, 60) font("Arial", 8, default, 400)
  button at(2, 2, default, default) icon("GET.ICO") flags(flat)
  button at(40, 2, default, 8) icon("UNDO.ICO") flags(flat)
  button "Undo" at(60, 2, default, 10) icon("UNDO.ICO") flags(flat)
  button "&Print" at(110, 2, default, default) flags(flat)
  button "Print" at(140, 2, default, default) flags(flat)
  button "Push me" at(170, 2, default, default)
  button "Go" at(210, 2, 25, default) icon("GET.ICO") flags(flat)
  button at(250, 2, default, default) icon("NOSUCH.ICO") flags(flat)
  option use(FixedString, 20) at(2, 30, 120, 20)
    radio "First" at(4, 32, default, default)
    radio "Second choice" at(40, 32, default, default)
  end
end
)");
  ASSERT_TRUE(window.IsOpen());
  // Both sides open: the icon's standard image whole inside the border line and a margin.
  HWND full = Control(window, 1)->Handle();
  EXPECT_TRUE(ClientSize(full) == (SIZE{32 + 4, 32 + 4}));
  EXPECT_TRUE(Button(window, 1)->PictureSize() == (SIZE{32, 32}));
  // A given height fits the picture, and the open width follows it: a square.
  SIZE low = ClientSize(Control(window, 2)->Handle());
  EXPECT_EQ(low.cx, low.cy);
  // Beside a text the picture keeps that square, and the text fits after it.
  ButtonControl* undo = Button(window, 3);
  SIZE withText = ClientSize(undo->Handle());
  RECT content = ButtonContentArea(RECT{0, 0, withText.cx, withText.cy}, undo->DrawState());
  SIZE text = ButtonTextSize(undo->Font()->Handle(), "Undo");
  EXPECT_GE(content.right - content.left, (content.bottom - content.top) + text.cx);
  // The "&" of a hot key takes no room.
  EXPECT_TRUE(ClientSize(Control(window, 4)->Handle()) == ClientSize(Control(window, 5)->Handle()));
  // The standard push button holds its text inside its edges.
  SIZE push = ClientSize(Control(window, 6)->Handle());
  EXPECT_GT(push.cx, Control(window, 6)->Font()->TextWidth("Push me") + 4);
  EXPECT_GT(push.cy, Control(window, 6)->Font()->CharHeight() + 4);
  // A given width that is too narrow for the standard image shrinks it, and the open height
  // follows what is shown.
  ButtonControl* narrow = Button(window, 7);
  EXPECT_LT(ClientSize(narrow->Handle()).cy, 32 + 4);
  // A picture that cannot be opened keeps its room: the window looks the same without it.
  EXPECT_FALSE(Button(window, 8)->HasIcon());
  EXPECT_TRUE(ClientSize(Control(window, 8)->Handle()) == ClientSize(full));
  // Radio buttons hold their mark and text.
  for (std::int32_t field : {10, 11}) {
    WindowedControl* radio = Control(window, field);
    EXPECT_GT(ClientSize(radio->Handle()).cx, 13 + radio->Font()->TextWidth(TextOf(radio->Handle())));
  }

  // A new text resizes a button whose width is open.
  SIZE before = ClientSize(Control(window, 5)->Handle());
  Control(window, 5)->SetText("Print everything");
  EXPECT_GT(ClientSize(Control(window, 5)->Handle()).cx, before.cx);
  Control(window, 5)->SetText("Print");
  EXPECT_TRUE(ClientSize(Control(window, 5)->Handle()) == before);

  PendingEvents(window);
  RedrawWindow(window.Object().client, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(platform::testing::CompareWindowWithGolden(window.Object().client, "button_own_sizes"), "");
}

}  // namespace
}  // namespace vel::controls::testing
