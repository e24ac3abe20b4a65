// The GIF image: frames decoded into the canvas one at a time, advancing with wrap and loop
// counts, the animation timer on the headless clock and the repaint requests it sends viewers,
// and drawing with and without transparency.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/display/headless/headless_display.h"
#include "runtime/images/gif_image.h"
#include "runtime/images/gif_timer_window.h"
#include "runtime/images/image_drawing.h"
#include "runtime/images/shared_palette.h"
#include "runtime/images/standard_image_kinds.h"
#include "tests/platform/gdi/canvas.h"
#include "tests/runtime/images/gif_builder.h"
#include "tests/runtime/images/image_test_support.h"

namespace vel::images::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using platform::testing::Canvas;

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// A GIF image made through the registry, which gives it its own copy of the bytes.
std::unique_ptr<GifImage> Make(const Bytes& bytes, unsigned flags = 0, bool forReports = false) {
  ImageOwner owner;
  owner.deviceResolution = forReports;
  std::unique_ptr<Image> image = CreateImageFromData(owner, bytes.data(), bytes.size(), flags);
  if (dynamic_cast<GifImage*>(image.get()) == nullptr) return nullptr;
  return std::unique_ptr<GifImage>(static_cast<GifImage*>(image.release()));
}

// The canvas index at (x, y), counted from the top.
int IndexAt(const GifImage& image, int x, int y) {
  const GifCanvas* canvas = image.Canvas();
  const std::uint8_t* row =
      canvas->Bits() + static_cast<std::size_t>(canvas->Height() - 1 - y) * canvas->Stride();
  return row[x];
}

// Three solid frames, red, green and blue in a table of four, behind an optional looping block.
Bytes ThreeFrames(int loopCount, unsigned delay = 10) {
  GifBuilder builder(2, 2, {kRed, kGreen, kBlue, kWhite});
  if (loopCount >= 0) builder.Looping(static_cast<unsigned>(loopCount));
  for (std::uint8_t index = 0; index < 3; ++index) builder.GraphicControl(delay).Image(SolidFrame(0, 0, 2, 2, index));
  return builder.Finish();
}

class HeadlessClock : public ::testing::Test {
 protected:
  void SetUp() override {
    m_display = platform::CurrentHeadlessDisplay();
    ASSERT_NE(m_display, nullptr);
    m_display->Clock().SetManual(true);
  }
  void TearDown() override {
    if (m_display != nullptr) m_display->Clock().SetManual(false);
  }

  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  void Wait(std::uint64_t milliseconds) {
    m_display->AdvanceClock(milliseconds);
    Pump();
  }

  // A top-level window standing for a control that shows the image; it keeps the area of the
  // last repaint it was asked for.
  static LRESULT CALLBACK ViewerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    Repainted()[window] = paint.rcPaint;
    EndPaint(window, &paint);
    return 0;
  }
  static std::map<HWND, RECT>& Repainted() {
    static std::map<HWND, RECT> areas;
    return areas;
  }
  static HWND MakeViewer() {
    static const bool registered = [] {
      WNDCLASSA windowClass{};
      windowClass.lpfnWndProc = ViewerProcedure;
      windowClass.hInstance = GetModuleHandleA(nullptr);
      windowClass.lpszClassName = "GifTestViewer";
      return RegisterClassA(&windowClass) != 0;
    }();
    EXPECT_TRUE(registered);
    return CreateWindowExA(0, "GifTestViewer", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }
  // The area a viewer last repainted since the last look (empty when none).
  static RECT TakeRepaint(HWND viewer) {
    Pump();
    RECT area{};
    auto found = Repainted().find(viewer);
    if (found != Repainted().end()) {
      area = found->second;
      Repainted().erase(found);
    }
    return area;
  }

  platform::HeadlessDisplay* m_display = nullptr;
};

using GifAnimation = HeadlessClock;

TEST(GifFrames, TheFirstFrameIsShownWhenFirstDrawnAndEachAdvanceShowsTheNext) {
  std::unique_ptr<GifImage> image = Make(ThreeFrames(-1));
  ASSERT_NE(image, nullptr);
  EXPECT_STREQ(image->KindTag(), ".gif");
  EXPECT_EQ(image->FrameCount(), 3u);
  EXPECT_EQ(image->CurrentBlock(), -1);
  auto drawn = DrawnPixels(*image);
  EXPECT_EQ(Rgb(*drawn, 1, 1), kRed);
  EXPECT_EQ(image->CurrentBlock(), 1);
  EXPECT_TRUE(image->Advance());
  EXPECT_EQ(Rgb(*DrawnPixels(*image), 0, 0), kGreen);
  EXPECT_TRUE(image->Advance());
  EXPECT_EQ(Rgb(*DrawnPixels(*image), 0, 0), kBlue);
  // No looping block: the last frame stays.
  EXPECT_FALSE(image->Advance());
  EXPECT_EQ(image->CurrentBlock(), 5);
  EXPECT_EQ(Rgb(*DrawnPixels(*image), 0, 0), kBlue);
  // No viewers: frames with delays start no timer.
  EXPECT_FALSE(image->Animating());
  EXPECT_EQ(image->TimerWindow(), nullptr);
}

TEST(GifFrames, LoopCountsPlayTheFramesOneTimeMoreThanTheyCountOrForever) {
  // Loop count 2: three plays in all, then the last frame stays.
  std::unique_ptr<GifImage> twice = Make(ThreeFrames(2));
  ASSERT_NE(twice, nullptr);
  int shown = 0;
  while (twice->Advance() && shown < 100) ++shown;
  EXPECT_EQ(shown, 9);
  EXPECT_EQ(IndexAt(*twice, 0, 0), 2);
  // Loop count 0: forever.
  std::unique_ptr<GifImage> forever = Make(ThreeFrames(0));
  for (int i = 0; i < 300; ++i) {
    ASSERT_TRUE(forever->Advance()) << i;
    EXPECT_EQ(IndexAt(*forever, 1, 1), i % 3);
  }
  // A single frame behind a looping block shows itself again and again.
  std::unique_ptr<GifImage> single =
      Make(GifBuilder(1, 1, {kRed, kGreen}).Looping(0).Image(SolidFrame(0, 0, 1, 1, 1)).Finish());
  EXPECT_TRUE(single->Advance());
  EXPECT_TRUE(single->Advance());
  EXPECT_EQ(single->CurrentBlock(), 1);
}

TEST(GifFrames, AGifKeptAsAnImageResourceOpensAndPlaysFromTheResource) {
  std::unique_ptr<Image> opened = OpenImage(ImageOwner{}, "~spin.gif");
  ASSERT_NE(opened, nullptr);
  EXPECT_TRUE(opened->ResourceBacked());
  auto& image = static_cast<GifImage&>(*opened);
  EXPECT_EQ(image.FrameCount(), 3u);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(image.Advance()) << i;
  EXPECT_EQ(image.CurrentBlock(), 2) << "round again to the first frame";
}

TEST(GifFrames, FramesAreDrawnOverWhatTheFramesBeforeThemLeftWithTheirOwnTables) {
  GifBuilder builder(1, 1, {kRed, kGreen});
  builder.Image(SolidFrame(0, 0, 4, 3, 0));
  GifBuilder::Frame inner = SolidFrame(1, 1, 2, 1, 1);
  inner.localTable = {kBlue, kWhite};
  builder.Image(inner);
  std::unique_ptr<GifImage> image = Make(builder.Finish());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->NaturalSize().cx, 4);
  EXPECT_EQ(image->NaturalSize().cy, 3);
  image->Advance();
  image->Advance();
  auto drawn = DrawnPixels(*image);
  // Index 0 left by the first frame now shows the second frame's colour 0.
  EXPECT_EQ(Rgb(*drawn, 0, 0), kBlue);
  EXPECT_EQ(Rgb(*drawn, 1, 1), kWhite);
  EXPECT_EQ(Rgb(*drawn, 3, 2), kBlue);
  // Entries beyond a frame's table are black; colours used is the table's size.
  EXPECT_EQ(image->Canvas()->Info()->bmiHeader.biClrUsed, 2u);
  EXPECT_EQ(image->Canvas()->Table()[2].rgbRed, 0);
}

TEST(GifFrames, AnInterlacedFrameDecodesLikeTheSameFrameStoredInOrder) {
  GifBuilder::Frame frame = SolidFrame(0, 0, 5, 19, 0);
  for (std::size_t i = 0; i < frame.indexes.size(); ++i) frame.indexes[i] = static_cast<std::uint8_t>(i % 7);
  frame.minimumCodeSize = 3;
  std::vector<std::uint32_t> table{kRed, kGreen, kBlue, kWhite, 0x123456, 0x654321, 0x808080};
  std::unique_ptr<GifImage> plain = Make(GifBuilder(5, 19, table).Image(frame).Finish());
  frame.interlaced = true;
  std::unique_ptr<GifImage> interlaced = Make(GifBuilder(5, 19, table).Image(frame).Finish());
  plain->Advance();
  interlaced->Advance();
  for (int y = 0; y < 19; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(IndexAt(*interlaced, x, y), IndexAt(*plain, x, y)) << x << "," << y;
      EXPECT_EQ(IndexAt(*plain, x, y), (y * 5 + x) % 7);
    }
  }
}

TEST(GifFrames, AFrameWhoseCodesEndEarlyFillsItsRemainingPixelsWithIndexZero) {
  GifBuilder::Frame frame = SolidFrame(0, 0, 4, 4, 3);
  CodePacker packer;
  packer.Put(4, 3);
  for (int i = 0; i < 5; ++i) packer.Put(3, 3);
  std::unique_ptr<GifImage> image =
      Make(GifBuilder(4, 4, {kRed, kGreen, kBlue, kWhite}).ImageWithData(frame, packer.Finish()).Finish());
  ASSERT_NE(image, nullptr);
  image->Advance();
  int white = 0;
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) white += IndexAt(*image, x, y) == 3 ? 1 : 0;
  }
  // "3", "3" (entry 6 = "3 3"), then three codes 3 adding entries: five pixels, then zeros.
  EXPECT_EQ(white, 5);
  EXPECT_EQ(IndexAt(*image, 3, 3), 0);
}

TEST(GifDrawing, TheTransparentIndexShowsTheBackgroundOnScreenButNotInReports) {
  GifBuilder builder(3, 1, {kRed, kGreen, kBlue});
  GifBuilder::Frame frame = SolidFrame(0, 0, 3, 1, 0);
  frame.indexes = {0, 1, 2};
  Bytes bytes = builder.GraphicControl(0, 1).Image(frame).Finish();
  std::unique_ptr<GifImage> image = Make(bytes);
  ASSERT_NE(image, nullptr);
  auto onScreen = DrawnPixels(*image, RGB(10, 20, 30));
  EXPECT_EQ(Rgb(*onScreen, 0, 0), kRed);
  EXPECT_EQ(Rgb(*onScreen, 1, 0), 0x0A141Eu);
  EXPECT_EQ(Rgb(*onScreen, 2, 0), kBlue);
  EXPECT_EQ(image->TransparentIndex(), 1);
  // The table is as it was after the masks were drawn.
  EXPECT_EQ(image->Canvas()->Table()[1].rgbGreen, 255);
  // Stretched to twice the size, the masks stretch with the picture.
  Canvas canvas(6, 2, RGB(10, 20, 30));
  image->Draw(canvas.Dc(), 0, 0, 6, 2);
  EXPECT_EQ(canvas.At(0, 1), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(3, 1), RGB(10, 20, 30));
  EXPECT_EQ(canvas.At(5, 0), RGB(0, 0, 255));
  // Made for report output, the image is static and draws the transparent colour as it is.
  std::unique_ptr<Image> report = CreateImageFromData(ImageOwner{nullptr, nullptr, true, nullptr}, bytes.data(), bytes.size());
  ASSERT_NE(report, nullptr);
  EXPECT_TRUE(static_cast<GifImage&>(*report).IsStatic());
  Canvas printed(3, 1, RGB(10, 20, 30));
  report->Draw(printed.Dc(), 0, 0, 3, 1);
  EXPECT_EQ(printed.At(1, 0), RGB(0, 255, 0));
}

TEST(GifDrawing, ATransparentIndexBeyondTheFramesTableStillShowsTheBackground) {
  GifBuilder::Frame frame = SolidFrame(0, 0, 2, 1, 0);
  frame.indexes = {0, 3};
  std::unique_ptr<GifImage> image = Make(GifBuilder(2, 1, {kRed, kGreen}).GraphicControl(0, 3).Image(frame).Finish());
  ASSERT_NE(image, nullptr);
  auto drawn = DrawnPixels(*image, RGB(1, 2, 3));
  EXPECT_EQ(Rgb(*drawn, 0, 0), kRed);
  EXPECT_EQ(Rgb(*drawn, 1, 0), 0x010203u);
}

TEST(GifDrawing, AGreyedTableStaysGreyAcrossFramesAndComesBackWhenRestored) {
  std::unique_ptr<GifImage> image = Make(ThreeFrames(0));
  // Greying before the first frame greys the first frame's own table.
  image->MakeGreyedColorTable();
  EXPECT_EQ(Rgb(*DrawnPixels(*image), 0, 0), 0x404040u);  // red averages 85
  image->Advance();
  EXPECT_EQ(Rgb(*DrawnPixels(*image), 0, 0), 0x404040u);
  image->RestoreColorTable();
  EXPECT_EQ(Rgb(*DrawnPixels(*image), 0, 0), kGreen);
  image->RestoreColorTable();
  EXPECT_EQ(Rgb(*DrawnPixels(*image), 0, 0), kGreen);
}

TEST(GifDrawing, ASizeOnlyImageKnowsItsSizeAndDrawsNothing) {
  Bytes bytes = GifBuilder(1, 1, {kRed}).Image(SolidFrame(3, 4, 5, 6, 0)).Finish();
  std::unique_ptr<GifImage> image = Make(bytes, image_flags::kSizeOnly);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->NaturalSize().cx, 8);
  EXPECT_EQ(image->NaturalSize().cy, 10);
  EXPECT_EQ(image->Canvas(), nullptr);
  EXPECT_FALSE(image->NeedsStorage());
  Canvas canvas(8, 10, RGB(1, 2, 3));
  image->Draw(canvas.Dc(), 0, 0, 8, 10);
  EXPECT_EQ(canvas.Count(RGB(1, 2, 3), RECT{0, 0, 8, 10}), 80);
  EXPECT_FALSE(image->Advance());
}

TEST(GifDrawing, TheCanvasGoesToTheClipboardAndItsColoursToASharedPalette) {
  std::unique_ptr<GifImage> image = Make(ThreeFrames(-1));
  SharedPalette palette;
  image->SetPalette(palette);
  ASSERT_EQ(palette.Entries().size(), 4u);
  EXPECT_EQ(palette.Entries()[2].peBlue, 255);
  image->MakeGreyedColorTable();
  image->CopyToClipboard(nullptr);
  image->RestoreColorTable();
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_DIB);
  ASSERT_NE(data, nullptr);
  const auto* dib = static_cast<const BITMAPINFO*>(GlobalLock(data));
  EXPECT_EQ(dib->bmiHeader.biWidth, 2);
  EXPECT_EQ(dib->bmiHeader.biBitCount, 8);
  EXPECT_EQ(dib->bmiHeader.biXPelsPerMeter, 3000);
  EXPECT_EQ(dib->bmiColors[0].rgbRed, 255) << "the clipboard gets the real colours, not the greyed ones";
  GlobalUnlock(data);
  CloseClipboard();
}

TEST_F(GifAnimation, ASingleFrameWithoutAGraphicControlBlockShowsAndStartsNoTimer) {
  std::unique_ptr<GifImage> image = Make(GifBuilder(2, 2, {kRed}).Image(SolidFrame(0, 0, 2, 2, 0)).Finish());
  HWND viewer = MakeViewer();
  image->AddViewer(viewer);
  EXPECT_EQ(image->CurrentBlock(), 0);
  EXPECT_FALSE(image->Animating());
  EXPECT_EQ(image->TimerWindow(), nullptr);
  DestroyWindow(viewer);
}

TEST_F(GifAnimation, TwoFramesWithDelays10And20SwitchAfter100And200Milliseconds) {
  GifBuilder builder(2, 2, {kRed, kGreen});
  builder.Looping(0).GraphicControl(10).Image(SolidFrame(0, 0, 2, 2, 0)).GraphicControl(20).Image(SolidFrame(0, 0, 2, 2, 1));
  std::unique_ptr<GifImage> image = Make(builder.Finish());
  HWND viewer = MakeViewer();
  RECT area{5, 6, 15, 16};
  image->AddViewer(viewer, &area);
  ASSERT_TRUE(image->Animating());
  HWND timer = image->TimerWindow();
  ASSERT_NE(timer, nullptr);
  char className[64] = {};
  GetClassNameA(timer, className, sizeof className);
  EXPECT_STREQ(className, kGifTimerWindowClass);
  EXPECT_FALSE(IsWindowVisible(timer));
  TakeRepaint(viewer);
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    EXPECT_EQ(IndexAt(*image, 0, 0), 0);
    Wait(99);
    EXPECT_EQ(IndexAt(*image, 0, 0), 0);
    EXPECT_EQ(TakeRepaint(viewer).right, 0);
    Wait(1);
    EXPECT_EQ(IndexAt(*image, 0, 0), 1);
    RECT repaint = TakeRepaint(viewer);
    EXPECT_EQ(repaint.left, 5);
    EXPECT_EQ(repaint.bottom, 16);
    Wait(199);
    EXPECT_EQ(IndexAt(*image, 0, 0), 1);
    Wait(1);
    EXPECT_EQ(TakeRepaint(viewer).top, 6) << "back to the first frame";
  }
  DestroyWindow(viewer);
}

TEST_F(GifAnimation, EveryViewerIsAskedToRepaintAndTheAnimationStopsAtTheLastFrame) {
  std::unique_ptr<GifImage> image = Make(ThreeFrames(-1, 5));
  HWND first = MakeViewer();
  HWND second = MakeViewer();
  image->AddViewer(first);
  image->AddViewer(second);
  TakeRepaint(first);
  TakeRepaint(second);
  Wait(50);
  EXPECT_EQ(IndexAt(*image, 0, 0), 1);
  EXPECT_EQ(TakeRepaint(first).right, 40) << "without a rectangle, the whole control";
  EXPECT_EQ(TakeRepaint(second).bottom, 30);
  image->RemoveViewer(second);
  EXPECT_EQ(image->ViewerCount(), 1u);
  Wait(50);
  EXPECT_EQ(IndexAt(*image, 0, 0), 2);
  EXPECT_NE(TakeRepaint(first).right, 0);
  EXPECT_EQ(TakeRepaint(second).right, 0);
  // No more frames: nothing changes and nobody is asked to repaint.
  Wait(50);
  Wait(500);
  EXPECT_EQ(IndexAt(*image, 0, 0), 2);
  EXPECT_EQ(TakeRepaint(first).right, 0);
  DestroyWindow(first);
  DestroyWindow(second);
}

TEST_F(GifAnimation, ANewViewerRestartsARunningAnimationFromTheFirstFrame) {
  std::unique_ptr<GifImage> image = Make(ThreeFrames(0));
  HWND first = MakeViewer();
  image->AddViewer(first);
  Wait(100);
  EXPECT_EQ(IndexAt(*image, 0, 0), 1);
  HWND second = MakeViewer();
  image->AddViewer(second);
  EXPECT_EQ(IndexAt(*image, 0, 0), 0);
  Wait(100);
  EXPECT_EQ(IndexAt(*image, 0, 0), 1);
  DestroyWindow(first);
  DestroyWindow(second);
}

TEST_F(GifAnimation, StaticAndViewerlessImagesNeverAnimateAndDestroyingTheImageEndsItsTimer) {
  Bytes bytes = ThreeFrames(0);
  HWND viewer = MakeViewer();
  std::unique_ptr<GifImage> report = Make(bytes, 0, true);
  report->AddViewer(viewer);
  EXPECT_FALSE(report->Animating());
  std::unique_ptr<GifImage> image = Make(bytes);
  image->AddViewer(viewer);
  HWND timer = image->TimerWindow();
  ASSERT_TRUE(IsWindow(timer));
  image.reset();
  EXPECT_FALSE(IsWindow(timer));
  Wait(1000);
  DestroyWindow(viewer);
}

TEST_F(GifAnimation, AnImageOpenedByNameAnimatesFromItsOwnCopyOfTheFile) {
  std::unique_ptr<Image> opened = OpenImage(ImageOwner{}, PicturePath("gif/loop_forever.gif"));
  ASSERT_NE(opened, nullptr);
  auto& image = static_cast<GifImage&>(*opened);
  EXPECT_FALSE(image.NeedsStorage());
  HWND viewer = MakeViewer();
  image.AddViewer(viewer);
  Wait(100);
  Wait(200);
  Wait(50);
  // After the third frame's 50 milliseconds the file wraps round: its blocks are the looping
  // block, then a graphic control block before each frame.
  EXPECT_EQ(image.CurrentBlock(), 2);
  DestroyWindow(viewer);
}

}  // namespace
}  // namespace vel::images::testing
