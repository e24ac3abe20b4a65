#include "runtime/services/error_state.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>
#include <string>

#include "runtime/services/error_messages.h"
#include "runtime/values/string_stack.h"

namespace vel::services {
namespace {

class ErrorStateTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearError(); }
  void TearDown() override {
    SetMessageOverride({});
    while (SavedErrorStateDepth() > 0) RestoreErrorState();
    ClearError();
  }

  static std::string Padded(const std::string& text) { return text + std::string(kErrorTextSize - text.size(), ' '); }
};

TEST_F(ErrorStateTest, SetErrorFillsCodeAndPaddedText) {
  SetError(2);
  EXPECT_EQ(ERRORCODE(), 2);
  EXPECT_EQ(ErrorText(), Padded("File Not Found"));
  EXPECT_EQ(ClippedErrorText(), "File Not Found");

  // ERROR hands the whole padded text over on the string stack.
  PushErrorText();
  char popped[kErrorTextSize];
  values::PopToFixed(popped, sizeof popped);
  EXPECT_EQ(std::string(popped, sizeof popped), Padded("File Not Found"));

  SetError(537);
  EXPECT_EQ(ERRORCODE(), 537);
  EXPECT_EQ(ClippedErrorText(), "ACCEPT loop requires a window");

  ClearError();
  EXPECT_EQ(ERRORCODE(), 0);
  EXPECT_EQ(ErrorText(), std::string(kErrorTextSize, ' '));
}

TEST_F(ErrorStateTest, CodeZeroTakesThePlatformsLastError) {
  SetLastError(5);
  SetError(0);
  EXPECT_EQ(ERRORCODE(), 305);
  EXPECT_EQ(ClippedErrorText(), "Access Denied");
  EXPECT_EQ(ErrorPlatformCode(), 5u);
  // Looking up the text must neither change the captured value nor the caller's last error.
  EXPECT_EQ(GetLastError(), 5u);

  SetLastError(32);
  SetError(40);
  EXPECT_EQ(ERRORCODE(), 40);
  EXPECT_EQ(ErrorPlatformCode(), 32u);

  SetLastError(0xFFFFFFFFu);  // wraps instead of overflowing
  SetError(0);
  EXPECT_EQ(ERRORCODE(), 299);
  SetLastError(0);
}

TEST_F(ErrorStateTest, CodesWithoutTextReadAsUnknownErrorWithTheCode) {
  SetError(999);
  EXPECT_EQ(ClippedErrorText(), "Unknown Error Posted : 999");
  EXPECT_EQ(ErrorMessageText(-7), "Unknown Error Posted : -7");
  EXPECT_EQ(ErrorMessageText(70000), "Unknown Error Posted : 70000");
  EXPECT_EQ(ErrorMessageText(300), "Unknown Error Posted : 300");
  EXPECT_EQ(ErrorMessageText(0), "Unknown Error Posted : 0");
}

TEST_F(ErrorStateTest, EveryCodeOfTheTableHasItsOwnText) {
  // Spot checks of exact texts, including the two that end in a blank.
  const std::map<std::int32_t, std::string> expected{
      {78, "Invalid Number Of Parameters "},
      {81, "Unknown Error Posted"},
      {350, "Not Supported "},
      {357, "Adapter/Hardware Failure"},
      {403, "Termination caused by signal.  (User break or Floating point)"},
      {526, "Unable to open APPLICATION (APPLICATION already active)"},
      {544, "Too Many VBX Hooks"},
      {605, "DDE transaction timed out"},
      {802, "Mismatched PUSHSCOPE/POPSCOPE"},
  };
  for (const auto& [code, text] : expected) EXPECT_EQ(ErrorMessageText(code), text) << code;

  // The table lists 173 codes; none of them may fall back to the unknown-error text.
  int withText = 0;
  for (std::int32_t code = 1; code < 1000; ++code) {
    if (ErrorMessageText(code).find(" : ") == std::string::npos) ++withText;
  }
  EXPECT_EQ(withText, 173);
  EXPECT_NE(ErrorMessageText(314).find(" : 314"), std::string::npos);
}

TEST_F(ErrorStateTest, OverridesWinAndReachTheFallback) {
  SetMessageOverride([](std::int32_t code) -> std::optional<std::string> {
    if (code == 2) return "   Datei nicht gefunden";
    if (code == 81) return "Unbekannter Fehler";
    if (code == 90) return std::string(300, 'L');
    return std::nullopt;
  });
  SetError(2);
  EXPECT_EQ(ClippedErrorText(), "Datei nicht gefunden");  // leading blanks skipped
  EXPECT_EQ(ErrorMessageText(3), "Path Not Found");
  EXPECT_EQ(ErrorMessageText(999), "Unbekannter Fehler : 999");
  EXPECT_EQ(ErrorMessageText(90).size(), kMessageTextMaxLength);

  SetError(90);  // the error state keeps at most 79 characters
  EXPECT_EQ(ErrorText(), std::string(kErrorTextMaxLength, 'L') + " ");
}

TEST_F(ErrorStateTest, SaveAndRestoreFollowStackDiscipline) {
  SetError(2);
  SaveErrorState();
  SetError(3);
  SaveErrorState();
  ClearError();
  EXPECT_EQ(SavedErrorStateDepth(), 2u);
  RestoreErrorState();
  EXPECT_EQ(ERRORCODE(), 3);
  RestoreErrorState();
  EXPECT_EQ(ERRORCODE(), 2);
  EXPECT_EQ(ClippedErrorText(), "File Not Found");
  EXPECT_EQ(SavedErrorStateDepth(), 0u);

  // An unmatched restore leaves the state alone.
  RestoreErrorState();
  EXPECT_EQ(ERRORCODE(), 2);
}

TEST_F(ErrorStateTest, RedisplayBracketLeavesErrorcodeUnchanged) {
  SetLastError(5);
  SetError(0);
  {
    ErrorStateGuard redisplay;
    SetError(36);  // a field's redisplay runs into an error of its own
    ClearError();
    SetError(537);
  }
  EXPECT_EQ(ERRORCODE(), 305);
  EXPECT_EQ(ClippedErrorText(), "Access Denied");
  EXPECT_EQ(ErrorPlatformCode(), 5u);
  SetLastError(0);
}

}  // namespace
}  // namespace vel::services
