// The kind registry: registration order, the refusal of long extensions, how names find their
// kind, creating from data, display modes and device scaling.

#include "runtime/images/image_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/images/image_drawing.h"
#include "runtime/images/image_name.h"
#include "runtime/images/standard_image_kinds.h"
#include "tests/platform/gdi/canvas.h"
#include "tests/runtime/images/image_test_support.h"

namespace vel::images::testing {
namespace {

using platform::testing::Canvas;

// A kind that records what it was asked to open.
class NamedImage final : public Image {
 public:
  NamedImage(std::string name, bool fromProgram, unsigned flags)
      : Image(".tst", flags), name(std::move(name)), fromProgram(fromProgram) {
    SetNaturalSize(SIZE{10, 20});
  }
  void Draw(HDC, int, int, int, int) override {}
  std::string name;
  bool fromProgram;
};

std::vector<std::string> g_asked;

std::unique_ptr<Image> OpenFirst(const ImageOwner&, std::string_view name, bool fromProgram, unsigned flags) {
  g_asked.push_back("first:" + std::string(name));
  if (name.find("none") != std::string_view::npos) return nullptr;
  return std::make_unique<NamedImage>(std::string(name), fromProgram, flags);
}

std::unique_ptr<Image> OpenSecond(const ImageOwner&, std::string_view name, bool fromProgram, unsigned flags) {
  g_asked.push_back("second:" + std::string(name));
  return std::make_unique<NamedImage>("second " + std::string(name), fromProgram, flags);
}

std::unique_ptr<Image> CreateNever(const ImageOwner&, const std::uint8_t*, std::size_t, unsigned) {
  g_asked.push_back("create never");
  return nullptr;
}

TEST(ImageNames, ExtensionsAreCutToFourCharactersFromTheLastDot) {
  EXPECT_EQ(ReadImageName("LOGO.JPEG").extension, ".JPE");
  EXPECT_EQ(ReadImageName("LOGO.JFIF").extension, ".JFI");
  EXPECT_EQ(ReadImageName("pics.v2/logo.bmp").extension, ".bmp");
  EXPECT_EQ(ReadImageName("PICS.ICO[2]").extension, ".ICO");
  EXPECT_EQ(ReadImageName("NOEXT").extension, "");
  ImageName program = ReadImageName("~GET.ICO");
  EXPECT_TRUE(program.fromProgram);
  EXPECT_EQ(program.name, "GET.ICO");
  EXPECT_EQ(ReadImageName("!icon:whatever.bmp").extension, ".ICO");
  EXPECT_EQ(ReadImageName(std::string("\xFF\x01\x02\x7F", 4)).extension, ".ICO");
  EXPECT_EQ(StripIconPrefix("!ICON:~GET.ICO"), "~GET.ICO");
}

TEST(ImageRegistry, KindsAreTriedInOrderAndFiveCharacterExtensionsAreRefused) {
  ImageKindRegistry registry;
  EXPECT_FALSE(registry.RegisterKind(".JPEG", OpenFirst, nullptr));
  EXPECT_EQ(registry.Size(), 0u);
  EXPECT_TRUE(registry.RegisterKind(".TST", OpenFirst, CreateNever));
  EXPECT_TRUE(registry.RegisterKind(".tst", OpenSecond, nullptr));
  g_asked.clear();
  auto image = registry.Open(ImageOwner{}, "a.tst", 0);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(static_cast<NamedImage&>(*image).name, "a.tst");
  EXPECT_EQ(g_asked, std::vector<std::string>{"first:a.tst"});

  g_asked.clear();
  image = registry.Open(ImageOwner{}, "~none.TsT", 0);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(static_cast<NamedImage&>(*image).name, "second none.TsT") << "the next kind of that extension";
  EXPECT_TRUE(static_cast<NamedImage&>(*image).fromProgram);
  EXPECT_EQ(registry.Open(ImageOwner{}, "a.tsx", 0), nullptr);
  EXPECT_EQ(registry.Open(ImageOwner{}, "", 0), nullptr);

  g_asked.clear();
  std::uint8_t bytes[4] = {1, 2, 3, 4};
  EXPECT_EQ(registry.CreateFromData(ImageOwner{}, bytes, sizeof bytes, 0), nullptr);
  EXPECT_EQ(g_asked, std::vector<std::string>{"create never"});
}

TEST(ImageRegistry, TheStandardKindsMatchNamesWithoutRegardToCase) {
  // ".JPEG" is cut to ".JPE", a JPEG extension; ".JFIF" to ".JFI", which is none.
  std::vector<std::uint8_t> jpeg = ReadBytes(PicturePath("baseline.jpg"));
  ASSERT_FALSE(jpeg.empty());
  std::string directory = ::testing::TempDir();
  for (const char* name : {"LOGO.JPEG", "LOGO.JFIF", "logo.jpg"}) {
    FILE* out = std::fopen((directory + name).c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(jpeg.data(), 1, jpeg.size(), out);
    std::fclose(out);
  }
  std::unique_ptr<Image> cut = OpenImage(ImageOwner{}, directory + "LOGO.JPEG");
  ASSERT_NE(cut, nullptr);
  EXPECT_STREQ(cut->KindTag(), ".jpg");
  EXPECT_EQ(OpenImage(ImageOwner{}, directory + "LOGO.JFIF"), nullptr);
  std::unique_ptr<Image> lower = OpenImage(ImageOwner{}, directory + "logo.jpg");
  ASSERT_NE(lower, nullptr);
  for (const char* name : {"LOGO.JPEG", "LOGO.JFIF", "logo.jpg"}) std::remove((directory + name).c_str());

  std::uint8_t noise[100] = {};
  EXPECT_EQ(CreateImageFromData(ImageOwner{}, noise, sizeof noise), nullptr);
  EXPECT_EQ(CreateImageFromData(ImageOwner{}, nullptr, 0), nullptr);
}

TEST(ImageRegistry, CallersThatKeepTheirBytesAreNotCopied) {
  std::vector<std::uint8_t> bytes = ReadBytes(PicturePath("bmp8.bmp"));
  std::unique_ptr<Image> copied = CreateImageFromData(ImageOwner{}, bytes.data(), bytes.size());
  ASSERT_NE(copied, nullptr);
  EXPECT_NE(copied->Storage().Data(), bytes.data());
  EXPECT_NE(copied->Storage().Handle(), nullptr) << "a global memory block";
  std::unique_ptr<Image> borrowed =
      CreateImageFromData(ImageOwner{}, bytes.data(), bytes.size(), image_flags::kKeepCallerBytes);
  ASSERT_NE(borrowed, nullptr);
  EXPECT_EQ(borrowed->Storage().Data(), bytes.data());
}

TEST(DisplayModes, EachPropertySetsItsModeAndClearsOnlyItsOwn) {
  NamedImage image("x", false, 0);
  EXPECT_EQ(image.Mode(), DisplayMode::Plain);
  image.SetTiledProperty(true);
  EXPECT_EQ(image.Mode(), DisplayMode::Tiled);
  EXPECT_TRUE(image.TiledProperty());
  EXPECT_FALSE(image.CentredProperty());
  image.SetCentredProperty(false);
  EXPECT_EQ(image.Mode(), DisplayMode::Tiled) << "not the second property's mode";
  image.SetCentredProperty(true);
  EXPECT_EQ(image.Mode(), DisplayMode::Centred);
  EXPECT_EQ(image.Flags() & image_flags::kDisplayModeMask, 1u);
  image.SetCentredProperty(false);
  EXPECT_EQ(image.Mode(), DisplayMode::Plain);
}

TEST(DisplayModes, DrawingInARectangleStretchesCentresOrTiles) {
  std::vector<std::uint8_t> bytes = BmpFile(2, 2, 24, BI_RGB, {}, {0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0});
  std::unique_ptr<Image> red = CreateImageFromData(ImageOwner{}, bytes.data(), bytes.size());
  ASSERT_NE(red, nullptr);
  RECT area{1, 1, 8, 8};
  Canvas plain(10, 10);
  DrawInRectangle(*red, plain.Dc(), area);
  EXPECT_EQ(plain.Count(platform::testing::kRed), 49);
  red->SetCentredProperty(true);
  Canvas centred(10, 10);
  DrawInRectangle(*red, centred.Dc(), area);
  EXPECT_EQ(centred.InkBounds().left, 3);
  EXPECT_EQ(centred.Count(platform::testing::kRed), 4);
  red->SetTiledProperty(true);
  Canvas tiled(10, 10);
  DrawInRectangle(*red, tiled.Dc(), area);
  EXPECT_EQ(tiled.Count(platform::testing::kRed), 49) << "tiles cover the rectangle and stop at its edge";
}

TEST(DeviceScaling, OwnersAtDeviceResolutionMeasureInDeviceUnits) {
  std::vector<std::uint8_t> bytes = ReadBytes(PicturePath("bmp24.bmp"));
  Canvas device(4, 4);
  ImageOwner report;
  report.device = device.Dc();
  report.deviceResolution = true;
  std::unique_ptr<Image> scaled = CreateImageFromData(report, bytes.data(), bytes.size());
  ASSERT_NE(scaled, nullptr);
  int ppi = GetDeviceCaps(device.Dc(), LOGPIXELSX);
  EXPECT_EQ(scaled->NaturalSize().cx, 37 * ppi / 75);
  EXPECT_EQ(scaled->NaturalSize().cy, 23 * GetDeviceCaps(device.Dc(), LOGPIXELSY) / 75);
  // A metafile measures itself on the device: one inch stays one inch.
  std::vector<std::uint8_t> wmf = ReadBytes(PicturePath("boxes.wmf"));
  std::unique_ptr<Image> inch = CreateImageFromData(report, wmf.data(), wmf.size());
  ASSERT_NE(inch, nullptr);
  EXPECT_EQ(inch->NaturalSize().cx, ppi);
}

}  // namespace
}  // namespace vel::images::testing
