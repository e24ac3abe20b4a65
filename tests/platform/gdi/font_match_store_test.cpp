#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/gdi/font_match_store.h"
#include "platform/gdi/font_resolver.h"
#include "platform/gdi/font_setup_fingerprint.h"
#include "tests/platform/gdi/private_cache_folder.h"

// Font matches kept between runs: the store's text, and the resolver using it in place of
// fontconfig only while nothing that decides the answer has changed.

namespace vel::platform {
namespace {

namespace fs = std::filesystem;

StoredFontMatch Match(std::string family, std::string path) {
  return StoredFontMatch{FontMatchKey{std::move(family), FF_SWISS, true, false}, std::move(path), true, false, "1.2:3:4"};
}

TEST(FontMatchStoreText, ReadsBackOnlyUnderTheSameFingerprint) {
  std::vector<StoredFontMatch> matches{Match("Liberation Sans", "/fonts/Sans Bold.ttf"),
                                       Match("Liberation Mono", "/fonts/Mono.ttf")};
  matches[1].key = FontMatchKey{"Liberation Mono", FF_MODERN, false, true};
  matches[1].fileIsItalic = true;
  std::string text = FormatFontMatches("setup one", matches);
  std::vector<StoredFontMatch> read = ParseFontMatches(text, "setup one");
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0].key, matches[0].key);
  EXPECT_EQ(read[0].path, "/fonts/Sans Bold.ttf");
  EXPECT_EQ(read[0].fileStamp, "1.2:3:4");
  EXPECT_TRUE(read[0].fileIsBold);
  EXPECT_EQ(read[1].key, matches[1].key);
  EXPECT_TRUE(read[1].fileIsItalic);
  EXPECT_TRUE(ParseFontMatches(text, "setup two").empty());
  EXPECT_TRUE(ParseFontMatches("", "").empty());
  EXPECT_TRUE(ParseFontMatches("another header\nsetup one\n", "setup one").empty());
}

TEST(FontMatchStoreText, LeavesOutWhatCannotBeReadBack) {
  // A face name is the program's text: a tab or line break in it cannot go on a line.
  std::vector<StoredFontMatch> matches{Match("Tab\tFace", "/fonts/a.ttf"), Match("Line\nFace", "/fonts/b.ttf"),
                                       Match("No File", ""), Match("Kept", "/fonts/c.ttf")};
  std::vector<StoredFontMatch> read = ParseFontMatches(FormatFontMatches("f", matches), "f");
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].key.family, "Kept");

  // Damaged lines are skipped, the good ones still read.
  std::string text = FormatFontMatches("f", {Match("Good", "/fonts/good.ttf")});
  text += "Short\t1\t0\n";
  text += "Bad flag\t2\t2\t0\t0\t0\t-\t/fonts/x.ttf\n";
  text += "Bad class\tx\t0\t0\t0\t0\t-\t/fonts/x.ttf\n";
  text += "Relative\t2\t0\t0\t0\t0\t-\tfonts/x.ttf\n";
  text += "Extra\t2\t0\t0\t0\t0\t-\t/fonts/x.ttf\textra\n";
  read = ParseFontMatches(text, "f");
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].key.family, "Good");
}

// Each test has a cache folder of its own, and the resolver forgets what earlier tests asked.
class FontMatchStoreFile : public ::testing::Test {
 protected:
  void SetUp() override {
    PinFontFile("");
    ForgetFontMatches();
  }
  void TearDown() override { ForgetFontMatches(); }

  static LOGFONTA Arial() {
    LOGFONTA font{};
    std::strcpy(font.lfFaceName, "Arial");
    return font;
  }

  // A store saying that Arial is `path`, written under the current setup.
  void StoreArialAs(const std::string& path) {
    WriteFontMatchStore(FontMatchStorePath(), FontSetupFingerprint(),
                        {StoredFontMatch{FontMatchKey{"Liberation Sans", FF_SWISS, false, false}, path, false, false,
                                         FileStamp(path)}});
  }

  testing::PrivateCacheFolder m_cache{"vel_font_matches"};
  const fs::path& m_folder = m_cache.Path();
};

TEST_F(FontMatchStoreFile, AMatchIsKeptForTheNextRun) {
  EXPECT_EQ(FontMatchStorePath(), (m_folder / "velmora/font-matches").string());
  ResolvedFont first = ResolveFontFile(Arial());
  ASSERT_NE(first.path.find("LiberationSans-Regular"), std::string::npos) << first.path;
  std::vector<StoredFontMatch> stored = ReadFontMatchStore(FontMatchStorePath(), FontSetupFingerprint());
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].path, first.path);
  EXPECT_EQ(stored[0].key.family, "Liberation Sans");

  // A store that is no store is replaced by the next match.
  std::ofstream(FontMatchStorePath()) << "\x01\x02 not a store\n";
  ForgetFontMatches();
  EXPECT_EQ(ResolveFontFile(Arial()).path, first.path);
  EXPECT_EQ(ReadFontMatchStore(FontMatchStorePath(), FontSetupFingerprint()).size(), 1u);
}

TEST_F(FontMatchStoreFile, TheStoreAnswersOnlyWhileTheSetupAndTheFileAreUnchanged) {
  ResolvedFont real = ResolveFontFile(Arial());
  ASSERT_FALSE(real.path.empty());
  // Another file in the store shows that the answer came from it and not from fontconfig.
  const std::string standIn = (m_folder / "stand-in.ttf").string();
  std::ofstream(standIn) << "font";
  StoreArialAs(standIn);
  ForgetFontMatches();
  EXPECT_EQ(ResolveFontFile(Arial()).path, standIn);

  // A new font folder of the user's changes the setup.
  const char* data = std::getenv("XDG_DATA_HOME");
  std::string oldData = data != nullptr ? data : "";
  setenv("XDG_DATA_HOME", m_folder.c_str(), 1);
  StoreArialAs(standIn);
  fs::create_directories(m_folder / "fonts");
  ForgetFontMatches();
  EXPECT_EQ(ResolveFontFile(Arial()).path, real.path);
  if (data != nullptr) {
    setenv("XDG_DATA_HOME", oldData.c_str(), 1);
  } else {
    unsetenv("XDG_DATA_HOME");
  }

  // So does another language.
  StoreArialAs(standIn);
  const char* language = std::getenv("FC_LANG");
  std::string oldLanguage = language != nullptr ? language : "";
  setenv("FC_LANG", "ja", 1);
  ForgetFontMatches();
  EXPECT_EQ(ResolveFontFile(Arial()).path, real.path);
  if (language != nullptr) {
    setenv("FC_LANG", oldLanguage.c_str(), 1);
  } else {
    unsetenv("FC_LANG");
  }

  // A stored file that has gone is matched again.
  StoreArialAs(standIn);
  fs::remove(standIn);
  ForgetFontMatches();
  EXPECT_EQ(ResolveFontFile(Arial()).path, real.path);
}

}  // namespace
}  // namespace vel::platform
