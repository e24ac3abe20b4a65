#include "platform/gdi/glyph_store.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/gdi/font_resolver.h"
#include "platform/gdi/font_setup_fingerprint.h"
#include "tests/platform/gdi/canvas.h"
#include "tests/platform/gdi/private_cache_folder.h"

// Glyphs kept between runs: the store's text, and font instances taking their glyphs from it
// only while it was written for the same file, request and rasteriser, so that what they draw
// and measure is what rasterising would give.

namespace vel::platform {
namespace {

namespace fs = std::filesystem;

std::unique_ptr<Glyph> MakeGlyph(int left, int top, int width, int height, int advance, uint8_t first) {
  auto glyph = std::make_unique<Glyph>(Glyph{left, top, width, height, advance, {}});
  for (int i = 0; i < width * height; ++i) glyph->coverage.push_back(static_cast<uint8_t>(first + 37 * i));
  return glyph;
}

int Count(const GlyphTable& glyphs) {
  int count = 0;
  for (const auto& glyph : glyphs) count += glyph ? 1 : 0;
  return count;
}

FontMetrics SomeMetrics() {
  FontMetrics metrics;
  metrics.height = 13;
  metrics.ascent = 11;
  metrics.descent = 2;
  metrics.internalLeading = 2;
  metrics.externalLeading = 0;
  metrics.averageWidth = 5;
  metrics.maxWidth = 17;
  metrics.underlinePosition = 1;
  metrics.underlineThickness = 1;
  metrics.strikeoutPosition = 4;
  metrics.fixedPitch = true;
  return metrics;
}

void ExpectSameMetrics(const FontMetrics& kept, const FontMetrics& fresh) {
  EXPECT_EQ(kept.height, fresh.height);
  EXPECT_EQ(kept.ascent, fresh.ascent);
  EXPECT_EQ(kept.descent, fresh.descent);
  EXPECT_EQ(kept.internalLeading, fresh.internalLeading);
  EXPECT_EQ(kept.externalLeading, fresh.externalLeading);
  EXPECT_EQ(kept.averageWidth, fresh.averageWidth);
  EXPECT_EQ(kept.maxWidth, fresh.maxWidth);
  EXPECT_EQ(kept.underlinePosition, fresh.underlinePosition);
  EXPECT_EQ(kept.underlineThickness, fresh.underlineThickness);
  EXPECT_EQ(kept.strikeoutPosition, fresh.strikeoutPosition);
  EXPECT_EQ(kept.fixedPitch, fresh.fixedPitch);
}

void ExpectSameGlyph(const Glyph& kept, const Glyph& fresh, int code) {
  EXPECT_EQ(kept.left, fresh.left) << code;
  EXPECT_EQ(kept.top, fresh.top) << code;
  EXPECT_EQ(kept.width, fresh.width) << code;
  EXPECT_EQ(kept.height, fresh.height) << code;
  EXPECT_EQ(kept.advance, fresh.advance) << code;
  EXPECT_EQ(kept.coverage, fresh.coverage) << code;
}

TEST(GlyphStoreText, ReadsBackEveryFieldOnlyForTheSameFingerprintAndKey) {
  GlyphTable glyphs;
  glyphs['A'] = MakeGlyph(0, 8, 7, 8, 8, 0);
  glyphs[' '] = MakeGlyph(0, 0, 0, 0, 3, 0);  // nothing to draw, but an advance
  glyphs[0xE9] = MakeGlyph(-1, -2, 3, 2, 0, 250);
  const std::string text = FormatKeptGlyphs("rasteriser", "key", SomeMetrics(), glyphs);

  GlyphTable read;
  FontMetrics metrics;
  EXPECT_TRUE(ParseKeptGlyphs(text, "rasteriser", "key", metrics, read));
  ExpectSameMetrics(metrics, SomeMetrics());
  EXPECT_EQ(Count(read), 3);
  for (int code : {int{'A'}, int{' '}, 0xE9}) {
    ASSERT_TRUE(read[static_cast<size_t>(code)]) << code;
    ExpectSameGlyph(*read[static_cast<size_t>(code)], *glyphs[static_cast<size_t>(code)], code);
  }
  EXPECT_FALSE(read['B']);

  GlyphTable other;
  FontMetrics untouched;
  EXPECT_FALSE(ParseKeptGlyphs(text, "another rasteriser", "key", untouched, other));
  EXPECT_FALSE(ParseKeptGlyphs(text, "rasteriser", "another key", untouched, other));
  EXPECT_FALSE(ParseKeptGlyphs(text, "rasteriser", "", untouched, other));
  EXPECT_FALSE(ParseKeptGlyphs("", "", "", untouched, other));
  // Without whole metrics the glyphs are not believed either.
  std::string noMetrics = text;
  noMetrics.replace(noMetrics.find("metrics"), 7, "metrix");
  EXPECT_FALSE(ParseKeptGlyphs(noMetrics, "rasteriser", "key", untouched, other));
  std::string shortMetrics = text;
  shortMetrics.erase(shortMetrics.find("\t1\n"), 2);
  EXPECT_FALSE(ParseKeptGlyphs(shortMetrics, "rasteriser", "key", untouched, other));
  EXPECT_EQ(Count(other), 0);
  EXPECT_EQ(untouched.height, 0);

  // Glyphs already in the table stay as they are.
  GlyphTable partly;
  partly['A'] = MakeGlyph(1, 1, 1, 1, 1, 1);
  EXPECT_TRUE(ParseKeptGlyphs(text, "rasteriser", "key", metrics, partly));
  EXPECT_EQ(Count(partly), 3);
  EXPECT_EQ(partly['A']->advance, 1);
}

TEST(GlyphStoreText, SkipsDamagedLinesAndLeavesOutGlyphsTooLargeToKeep) {
  GlyphTable glyphs;
  glyphs['A'] = MakeGlyph(0, 2, 2, 1, 3, 16);
  glyphs['W'] = MakeGlyph(0, 80, 80, 80, 81, 0);
  std::string text = FormatKeptGlyphs("f", "k", SomeMetrics(), glyphs);
  EXPECT_EQ(text.find("\n87\t"), std::string::npos) << "the large W is not written";
  text += "66\t0\t1\t2\t1\t3\t0a0\n";      // coverage one digit short
  text += "67\t0\t1\t2\t1\t3\t0a0g\n";     // not a hex digit
  text += "68\t0\t1\t2\t1\t3\t0A0B\n";     // the writer's digits are lower case
  text += "256\t0\t1\t1\t1\t3\t00\n";      // no such character
  text += "69\t0\t1\t-1\t1\t3\t\n";        // negative width
  text += "70\t0\t1\t1\t1\t3\t00\textra\n";
  text += "71\t0\t1\t1\t1\t99999999\t00\n";  // an advance no glyph has
  text += "72\t0\t1\t5000\t5000\t3\t00\n";  // larger than anything kept
  text += "65\t0\t1\t1\t1\t9\t00\n";        // a second A: the first stands
  text += "73\t0\t1\t1\t1\t2\t7f";          // cut short before its line break, but whole
  GlyphTable read;
  FontMetrics metrics;
  EXPECT_TRUE(ParseKeptGlyphs(text, "f", "k", metrics, read));
  EXPECT_EQ(Count(read), 2);
  ASSERT_TRUE(read['A']);
  ExpectSameGlyph(*read['A'], *glyphs['A'], 'A');
  ASSERT_TRUE(read['I']);
  EXPECT_EQ(read['I']->coverage, std::vector<uint8_t>{0x7f});
  for (int code : {'B', 'C', 'D', 'E', 'F', 'G', 'H', 'W'}) EXPECT_FALSE(read[static_cast<size_t>(code)]) << code;
}

TEST(GlyphStoreText, KeysNameTheFileItsStampAndTheRequest) {
  FontRequest request;
  request.file.path = "/fonts/a.ttf";
  request.height = -11;
  const std::string key = GlyphStoreKey(request, "1.2:3:4");
  EXPECT_NE(key, GlyphStoreKey(request, "1.2:3:5"));
  EXPECT_EQ(GlyphStorePath(key), GlyphStorePath(GlyphStoreKey(request, "1.2:3:5")))
      << "a changed font file's store takes the old one's place";
  for (auto change : {+[](FontRequest& r) { r.height = -12; }, +[](FontRequest& r) { r.width = 5; },
                      +[](FontRequest& r) { r.bold = true; }, +[](FontRequest& r) { r.italic = true; },
                      +[](FontRequest& r) { r.antialiased = false; }, +[](FontRequest& r) { r.file.fileIsBold = true; },
                      +[](FontRequest& r) { r.file.fileIsItalic = true; },
                      +[](FontRequest& r) { r.file.path = "/fonts/b.ttf"; }}) {
    FontRequest changed = request;
    change(changed);
    EXPECT_NE(GlyphStoreKey(changed, "1.2:3:4"), key);
    EXPECT_NE(GlyphStorePath(GlyphStoreKey(changed, "1.2:3:4")), GlyphStorePath(key));
  }
  request.file.path = "/fonts/line\nbreak.ttf";
  EXPECT_EQ(GlyphStoreKey(request, "1.2:3:4"), "");
}

// Instances of a copy of the test font, whose glyphs are kept in a cache folder of the test's
// own; forgetting the instances stands for starting a new process.
class KeptGlyphs : public ::testing::Test {
 protected:
  void SetUp() override {
    PinFontFile("");
    FontInstance::ForgetInstances();
    fs::copy_file(testing::PinnedFontPath(), m_fontFile);
  }
  void TearDown() override { FontInstance::ForgetInstances(); }

  FontRequest Request(bool keep) const {
    FontRequest request;
    request.file = ResolvedFont{m_fontFile.string(), FF_SWISS, false, false, keep};
    request.height = -11;
    return request;
  }

  // The glyphs of the letters as a new process gets them, kept or rasterised, and the font's
  // metrics into `metrics` when given.
  GlyphTable Letters(const FontRequest& request, FontMetrics* metrics = nullptr) {
    FontInstance::ForgetInstances();
    std::shared_ptr<FontInstance> font = FontInstance::Get(request);
    EXPECT_TRUE(font);
    GlyphTable letters;
    if (!font) return letters;
    if (metrics != nullptr) *metrics = font->Metrics();
    for (unsigned char c : std::string_view(kLetters)) letters[c] = std::make_unique<Glyph>(font->GlyphFor(c));
    font->KeepNewGlyphs();
    return letters;
  }

  void ExpectSameLetters(const GlyphTable& kept, const GlyphTable& fresh) {
    for (unsigned char c : std::string_view(kLetters)) ExpectSameGlyph(*kept[c], *fresh[c], c);
  }

  static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz 0123456789:";
  testing::PrivateCacheFolder m_cache{"vel_kept_glyphs"};
  fs::path m_fontFile = m_cache.Path() / "font.ttf";
};

TEST_F(KeptGlyphs, KeptMetricsAndGlyphsAreWhatTheFontFileGives) {
  for (FontRequest request : {Request(true), [&] {
         FontRequest styled = Request(true);
         styled.bold = styled.italic = true;  // drawn by emboldening and shearing
         styled.antialiased = false;
         return styled;
       }()}) {
    FontRequest fresh = request;
    fresh.file.keepGlyphs = false;
    FontMetrics freshMetrics;
    const GlyphTable rasterised = Letters(fresh, &freshMetrics);
    EXPECT_FALSE(fs::exists(m_cache.Path() / "velmora")) << "nothing is kept for a request that keeps nothing";

    Letters(request);
    const uint64_t before = FontInstance::RasterisedCount();
    FontMetrics keptMetrics;
    const GlyphTable kept = Letters(request, &keptMetrics);
    EXPECT_EQ(FontInstance::RasterisedCount(), before) << "the second run rasterises nothing";
    ExpectSameLetters(kept, rasterised);
    ExpectSameMetrics(keptMetrics, freshMetrics);
    EXPECT_GT(keptMetrics.height, 0);

    // A glyph the store lacks opens the font file then, and is the same as ever.
    FontInstance::ForgetInstances();
    std::shared_ptr<FontInstance> font = FontInstance::Get(request);
    ASSERT_TRUE(font);
    const Glyph& late = font->GlyphFor(0xC9);
    EXPECT_EQ(FontInstance::RasterisedCount(), before + 1);
    FontInstance::ForgetInstances();
    std::shared_ptr<FontInstance> reference = FontInstance::Get(fresh);
    ASSERT_TRUE(reference);
    ExpectSameGlyph(late, reference->GlyphFor(0xC9), 0xC9);
    fs::remove_all(m_cache.Path() / "velmora");
  }
}

TEST_F(KeptGlyphs, AChangedFontFileOrADamagedStoreIsNotBelieved) {
  const GlyphTable first = Letters(Request(true));
  const std::string store = GlyphStorePath(GlyphStoreKey(Request(true), FileStamp(m_fontFile.string())));
  ASSERT_TRUE(fs::exists(store));

  // Another face copied over the file: its own glyphs are drawn, not those kept for the old one.
  fs::copy_file("/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf", m_fontFile,
                fs::copy_options::overwrite_existing);
  uint64_t before = FontInstance::RasterisedCount();
  const GlyphTable replaced = Letters(Request(true));
  EXPECT_GT(FontInstance::RasterisedCount(), before);
  FontRequest fresh = Request(false);
  FontMetrics replacedMetrics, freshMetrics;
  Letters(Request(true), &replacedMetrics);
  ExpectSameLetters(replaced, Letters(fresh, &freshMetrics));
  ExpectSameMetrics(replacedMetrics, freshMetrics);
  EXPECT_NE(replaced['A']->coverage, first['A']->coverage);

  // A store cut short, then one with a damaged line, then one that is no store: each glyph not
  // read whole is rasterised again, and the rest are still the right ones.
  const std::string current = GlyphStorePath(GlyphStoreKey(Request(true), FileStamp(m_fontFile.string())));
  EXPECT_EQ(current, store);
  EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(store).parent_path()), fs::directory_iterator{}), 1);
  std::ifstream in(current, std::ios::binary);
  const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(whole.size(), 200u);
  std::string damaged = whole;
  damaged[whole.size() / 2] = 'z';
  for (const std::string& text : {whole.substr(0, whole.size() / 2), damaged, std::string("\x01\x02 not a store\n")}) {
    std::ofstream(current, std::ios::binary | std::ios::trunc) << text;
    before = FontInstance::RasterisedCount();
    FontMetrics readMetrics;
    const GlyphTable read = Letters(Request(true), &readMetrics);
    EXPECT_GT(FontInstance::RasterisedCount(), before);
    ExpectSameLetters(read, Letters(fresh));
    ExpectSameMetrics(readMetrics, freshMetrics);
  }
}

TEST_F(KeptGlyphs, TheMeasureOfAWindowFontIsTheSameFromKeptGlyphs) {
  // The measure dialog units are taken from, through the calls a window makes, in one run that
  // rasterises and in the next that reads what the first kept.
  auto measure = [] {
    FontInstance::ForgetInstances();
    ForgetFontMatches();
    testing::Canvas canvas(10, 10);
    LOGFONTA logical{};
    logical.lfHeight = -11;
    std::strcpy(logical.lfFaceName, "Arial");
    HFONT font = CreateFontIndirectA(&logical);
    HGDIOBJ previous = SelectObject(canvas.Dc(), font);
    SIZE extent{};
    TEXTMETRICA metrics{};
    EXPECT_TRUE(GetTextExtentPoint32A(canvas.Dc(), kLetters, 52, &extent));
    EXPECT_TRUE(GetTextMetricsA(canvas.Dc(), &metrics));
    SelectObject(canvas.Dc(), previous);
    DeleteObject(font);
    return std::pair{extent.cx, metrics.tmHeight};
  };
  const auto rasterised = measure();
  const uint64_t before = FontInstance::RasterisedCount();
  EXPECT_EQ(measure(), rasterised);
  EXPECT_EQ(FontInstance::RasterisedCount(), before);
  EXPECT_GT(rasterised.first, 0);
  ForgetFontMatches();
}

}  // namespace
}  // namespace vel::platform
