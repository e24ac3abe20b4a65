// The program's icons and cursor are among its resources, at 16 and 32 pixels, and open
// through the image system by the names its window declarations use; so is every other
// resource its script includes.

#include <gtest/gtest.h>

#include "runtime/images/standard_image_kinds.h"
#include "tests/platform/gdi/canvas.h"

namespace vel::app {
namespace {

using platform::testing::Canvas;

constexpr COLORREF kBackground = RGB(255, 0, 255);

// The image of `size` pixels of an icon resource, as the platform picks it from the group.
HICON IconOfSize(const char* resource, int size) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC group = FindResourceA(module, resource, RT_GROUP_ICON);
  if (group == nullptr) return nullptr;
  auto* directory = static_cast<PBYTE>(LockResource(LoadResource(module, group)));
  int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
  HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(id), RT_ICON);
  if (image == nullptr) return nullptr;
  auto* bits = static_cast<PBYTE>(LockResource(LoadResource(module, image)));
  return CreateIconFromResourceEx(bits, SizeofResource(module, image), TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
}

int Width(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap{};
  GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

TEST(ProgramIcons, EveryIconTheWindowsNameIsAResourceAtBothSizes) {
  const char* icons[][2] = {{"GET.ICO", "GET_ICO"},         {"UNDO.ICO", "UNDO_ICO"},
                            {"Cancel.ico", "CANCEL_ICO"},   {"PRINT.ICO", "PRINT_ICO"},
                            {"PREVPAGE.ICO", "PREVPAGE_ICO"}, {"NEXTPAGE.ICO", "NEXTPAGE_ICO"}};
  for (const auto& [name, resource] : icons) {
    SCOPED_TRACE(name);
    EXPECT_NE(images::OpenImage(images::ImageOwner{}, std::string("~") + name), nullptr);
    for (int size : {16, 32}) {
      HICON icon = IconOfSize(resource, size);
      ASSERT_NE(icon, nullptr);
      EXPECT_EQ(Width(icon), size);
      Canvas canvas(size, size, kBackground);
      DrawIconEx(canvas.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
      // A picture that fills much of the square, on a transparent ground.
      EXPECT_GT(size * size - canvas.Count(kBackground), size * size / 3);
      EXPECT_EQ(canvas.At(0, size - 1) == kBackground || canvas.At(size - 1, 0) == kBackground, true);
      DestroyIcon(icon);
    }
  }
}

TEST(ProgramIcons, TheHandCursorPointsWithItsFingerTip) {
  HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), "HAND_CUR");
  ASSERT_NE(hand, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(hand, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 12u);
  EXPECT_LE(info.yHotspot, 2u);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
}

TEST(ProgramResources, TheDirectoryChoosersTemplateComesWithTheIncludedScript) {
  // The program's script includes the chooser's script; its dialog must be the program's own,
  // or choosing a directory would find no template.
  HRSRC chooser = FindResourceA(GetModuleHandleA(nullptr), "CHOOSEDIR", RT_DIALOG);
  ASSERT_NE(chooser, nullptr);
  EXPECT_GT(SizeofResource(GetModuleHandleA(nullptr), chooser), 100u);
}

}  // namespace
}  // namespace vel::app
