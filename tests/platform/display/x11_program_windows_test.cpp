// The text by which runtime programs mark their desktop windows for each other. Any program on
// the desktop can write the property, so only exactly the expected form is read.

#include <gtest/gtest.h>

#include "platform/display/sdl/x11_program_windows.h"

namespace vel::platform {
namespace {

TEST(ProgramWindowText, ReadsBackWhatItWritesAndNothingElse) {
  const ProgramWindow window{":1.42", 4242, 0x10002};
  const std::string text = ProgramWindowText(window);
  EXPECT_EQ(text, ":1.42 4242 65538");
  std::optional<ProgramWindow> read = ParseProgramWindowText(text);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->program, ":1.42");
  EXPECT_EQ(read->processId, 4242u);
  EXPECT_EQ(read->window, 0x10002u);

  for (const char* bad : {"", ":1.42", ":1.42 4242", " 4242 65538", ":1.42 4242 0", ":1.42 x 65538",
                          ":1.42 4242 65538 9", ":1.42 4242 -1", ":1.42 4242 99999999999999999999999",
                          ":1.42  4242 65538"}) {
    EXPECT_FALSE(ParseProgramWindowText(bad)) << '"' << bad << '"';
  }
}

}  // namespace
}  // namespace vel::platform
