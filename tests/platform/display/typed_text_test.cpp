// Text typed on the desktop reaches the program in Windows-1252: characters the keys type come
// through their key events, others as characters, and those the code page lacks are refused
// with a beep.

#include "platform/display/sdl/typed_text.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/kernel/ansi_text.h"
#include "platform/user/beep.h"

namespace vel::platform {
namespace {

class CharacterRecorder final : public InputSink {
 public:
  void MouseMoved(POINT) override {}
  void MouseButton(int, bool, POINT) override {}
  void MouseWheel(int, POINT) override {}
  void MouseSidewaysWheel(int, POINT) override {}
  void Key(BYTE, bool, bool) override {}
  void Character(char character) override { characters += character; }
  void FilesDropped(POINT, const std::vector<std::string>&) override {}
  void ApplicationActivated(bool) override {}
  bool WriteScreenPicture(const std::string&) override { return false; }

  std::string characters;
};

TEST(TypedText, CharactersOfTheCodePageArriveAndOthersBeep) {
  CharacterRecorder recorder;
  const std::uint64_t beeps = BeepCount();
  // "a" and "?" come through their keys; é, € and ÿ are Windows-1252; ł, → and the emoji are not.
  DeliverTypedText(recorder, "a?\xC3\xA9\xE2\x82\xAC\xC5\x82\xE2\x86\x92\xC3\xBF\xF0\x9F\x98\x80");
  EXPECT_EQ(recorder.characters, "\xE9\x80\xFF");
  EXPECT_EQ(BeepCount(), beeps + 3);
  // A malformed sequence is refused too, and decoding goes on after it.
  DeliverTypedText(recorder, "\xC3(\xC3\xA8");
  EXPECT_EQ(recorder.characters, "\xE9\x80\xFF\xE8");
  EXPECT_EQ(BeepCount(), beeps + 4);
}

TEST(TypedText, TheConversionMarksWhatTheCodePageLacks) {
  std::vector<std::optional<char>> characters = Utf8ToAnsiCharacters("?\xC5\x82\xE2\x80\x9C");
  ASSERT_EQ(characters.size(), 3u);
  EXPECT_EQ(characters[0], '?');
  EXPECT_EQ(characters[1], std::nullopt);
  EXPECT_EQ(characters[2], '\x93');
  EXPECT_EQ(Utf8ToAnsi("?\xC5\x82\xE2\x80\x9C"), "??\x93");
}

}  // namespace
}  // namespace vel::platform
