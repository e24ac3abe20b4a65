#include <gtest/gtest.h>

#include "platform/gdi/window_framebuffers.h"

namespace vel::platform {
namespace {

HWND FakeWindow(int n) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1000 + n)); }

TEST(WindowFramebuffers, ResizingKeepsWhatFitsAndDroppingForgets) {
  HWND window = FakeWindow(1);
  auto first = TopLevelFramebuffer(window, 4, 3);
  EXPECT_EQ(TopLevelFramebuffer(window, 4, 3), first);
  first->SetPixel(1, 1, 0x123456);
  first->SetPixel(3, 2, 0x654321);
  auto wider = TopLevelFramebuffer(window, 6, 2);
  EXPECT_NE(wider, first);
  EXPECT_EQ(wider->Pixel(1, 1), 0x123456u);
  EXPECT_EQ(wider->Pixel(5, 1), 0u);
  EXPECT_EQ(FindTopLevelFramebuffer(window), wider);
  EXPECT_EQ(FindTopLevelFramebuffer(FakeWindow(2)), nullptr);
  DropTopLevelFramebuffer(window);
  EXPECT_EQ(FindTopLevelFramebuffer(window), nullptr);
  EXPECT_EQ(first->Pixel(3, 2), 0x654321u);  // Holders keep their surface.
}

TEST(WindowFramebuffers, CropClipsToTheSurface) {
  Surface surface(4, 4);
  surface.SetPixel(3, 3, 0xABCDEF);
  auto crop = CropSurface(surface, RECT{2, 2, 10, 10});
  EXPECT_EQ(crop->Width(), 2);
  EXPECT_EQ(crop->Height(), 2);
  EXPECT_EQ(crop->Pixel(1, 1), 0xABCDEFu);
  EXPECT_EQ(CropSurface(surface, RECT{5, 5, 9, 9})->Width(), 0);
}

}  // namespace
}  // namespace vel::platform
