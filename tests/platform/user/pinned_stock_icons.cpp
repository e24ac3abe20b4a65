// The stock icons are drawn once per process, with the fonts in force at that moment, and shared
// from then on. The goldens show them drawn with the pinned font, so every one of them is drawn
// that way before any test runs: which test happens to ask first no longer changes a golden.

#include <gtest/gtest.h>

#include "platform/gdi/font_resolver.h"
#include "tests/support/golden.h"
#include "win32.h"

namespace vel::platform::usertest {
namespace {

class StockIconsDrawnWithThePinnedFont : public ::testing::Environment {
 public:
  void SetUp() override {
    PinFontFile(testing::PinnedFontPath());
    for (WORD id = 32512; id <= 32517; ++id) LoadIconA(nullptr, MAKEINTRESOURCEA(id));
    PinFontFile("");
  }
};

[[maybe_unused]] ::testing::Environment* const kStockIcons =
    ::testing::AddGlobalTestEnvironment(new StockIconsDrawnWithThePinnedFont);

}  // namespace
}  // namespace vel::platform::usertest
