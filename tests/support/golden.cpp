#include "tests/support/golden.h"

#include <cstdlib>

#include "platform/gdi/png_codec.h"
#include "platform/user/window_dc.h"

namespace vel::platform::testing {
namespace {

std::string GoldenDirectory() {
  const char* data = std::getenv("VELMORA_TEST_DATA");
  return std::string(data != nullptr ? data : "tests/data") + "/golden/";
}

bool Rebaselining() {
  const char* rebaseline = std::getenv("VELMORA_REBASELINE");
  return rebaseline != nullptr && std::string(rebaseline) == "1";
}

}  // namespace

std::string CompareWithGolden(const Surface& actual, const std::string& name) {
  std::string goldenPath = GoldenDirectory() + name + ".png";
  if (Rebaselining()) return WritePngFile(actual, goldenPath) ? "" : "cannot write " + goldenPath;
  std::unique_ptr<Surface> expected = ReadPngFile(goldenPath);
  int differing = 0;
  Surface diff(actual.Width(), actual.Height());
  for (int y = 0; y < actual.Height(); ++y) {
    for (int x = 0; x < actual.Width(); ++x) {
      bool same = expected && x < expected->Width() && y < expected->Height() &&
                  (expected->Pixel(x, y) & 0xFFFFFF) == (actual.Pixel(x, y) & 0xFFFFFF);
      diff.SetPixel(x, y, same ? 0xFFFFFF : 0xFF0000);
      differing += same ? 0 : 1;
    }
  }
  bool sizeMatches = expected && expected->Width() == actual.Width() && expected->Height() == actual.Height();
  if (sizeMatches && differing == 0) return "";
  std::string base = "golden-failures/" + name;
  std::system("mkdir -p golden-failures");
  WritePngFile(actual, base + ".actual.png");
  WritePngFile(diff, base + ".diff.png");
  if (expected) WritePngFile(*expected, base + ".expected.png");
  std::string what = !expected     ? "no golden at " + goldenPath
                     : sizeMatches ? std::to_string(differing) + " pixels differ"
                                   : "size differs";
  return name + ": " + what + "; see " + base + ".actual.png and .diff.png (rebaseline with VELMORA_REBASELINE=1)";
}

std::unique_ptr<Surface> CaptureWindowPixels(HWND window) { return WindowPixels(window); }

std::string CompareWindowWithGolden(HWND window, const std::string& name) {
  std::unique_ptr<Surface> pixels = CaptureWindowPixels(window);
  if (!pixels) return name + ": the window has nothing to capture";
  return CompareWithGolden(*pixels, name);
}

}  // namespace vel::platform::testing
