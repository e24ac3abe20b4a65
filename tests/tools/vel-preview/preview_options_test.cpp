// The command line of vel-preview and the event names it accepts.

#include "tools/vel-preview/lib/preview_options.h"

#include <gtest/gtest.h>

#include "runtime/windows/event_codes.h"
#include "tools/vel-preview/lib/preview_error.h"

namespace vel::tools {
namespace {

using namespace vel::windows;

std::string ErrorOf(const std::vector<std::string>& arguments) {
  try {
    ParsePreviewArguments(arguments);
  } catch (const PreviewError& error) {
    return error.what();
  }
  return "";
}

TEST(PreviewOptions, ReadsFileLabelAndRepeatedOptionsInAnyOrder) {
  PreviewOptions options =
      ParsePreviewArguments({"--refuse", "CloseWindow", "app/skarv_sf.wdc", "--set", "2=a=b",
                             "P22$JUMPWINDOW", "--refuse=event:iconize", "--set=11=50", "--layout"});
  EXPECT_EQ(options.file, "app/skarv_sf.wdc");
  EXPECT_EQ(options.label, "P22$JUMPWINDOW");
  EXPECT_EQ(options.refusedEvents, (std::set<std::int32_t>{EVENT_CloseWindow, EVENT_Iconize}));
  ASSERT_EQ(options.values.size(), 2u);
  EXPECT_EQ(options.values[0].field, 2);
  EXPECT_EQ(options.values[0].text, "a=b") << "only the first = separates the field";
  EXPECT_EQ(options.values[1].field, 11);
  EXPECT_EQ(options.values[1].text, "50");
  EXPECT_TRUE(options.layout);

  PreviewOptions plain = ParsePreviewArguments({"--", "--odd-name.wdc"});
  EXPECT_EQ(plain.file, "--odd-name.wdc");
  EXPECT_FALSE(plain.label);
  EXPECT_TRUE(ParsePreviewArguments({"--help"}).help);
  EXPECT_TRUE(ParsePreviewArguments({"--version"}).version) << "no file is needed";
}

TEST(PreviewOptions, RefusesWhatItCannotUseWithOneClearLine) {
  EXPECT_EQ(ErrorOf({}), "no file given (see vel-preview --help)");
  EXPECT_EQ(ErrorOf({"a", "b", "c"}), "too many arguments: c (see vel-preview --help)");
  EXPECT_EQ(ErrorOf({"--frobnicate", "a"}), "unknown option --frobnicate (see vel-preview --help)");
  EXPECT_EQ(ErrorOf({"a", "--refuse"}), "--refuse needs a value");
  EXPECT_EQ(ErrorOf({"a", "--refuse", "Nothing"}), "--refuse Nothing: no such event");
  EXPECT_EQ(ErrorOf({"a", "--set", "2"}), "--set 2: expected FIELD=VALUE");
  EXPECT_EQ(ErrorOf({"a", "--set", "x=1"}), "--set x=1: the field must be a number above 0");
  EXPECT_EQ(ErrorOf({"a", "--set", "0=1"}), "--set 0=1: the field must be a number above 0");
  EXPECT_EQ(ErrorOf({"a", "--set", "99999999999=1"}),
            "--set 99999999999=1: the field must be a number above 0");
}

TEST(PreviewOptions, EventsByTheirTableNamesOrNumbers) {
  EXPECT_EQ(EventCodeForName("EVENT:Accepted"), EVENT_Accepted);
  EXPECT_EQ(EventCodeForName("closewindow"), EVENT_CloseWindow);
  EXPECT_EQ(EventCodeForName("ColumnResize"), EVENT_ColumnResize) << "the last field event";
  EXPECT_EQ(EventCodeForName("BuildDone"), EVENT_BuildDone);
  EXPECT_EQ(EventCodeForName("0x201"), EVENT_CloseWindow);
  EXPECT_EQ(EventCodeForName("1"), EVENT_Accepted);
  EXPECT_EQ(EventCodeForName("0x300"), 0x1700) << "an event without a name, by number";
  EXPECT_FALSE(EventCodeForName("0"));
  EXPECT_FALSE(EventCodeForName("-1"));
  EXPECT_FALSE(EventCodeForName("70000"));
  EXPECT_FALSE(EventCodeForName("EVENT:"));
  EXPECT_FALSE(EventCodeForName("Accepted "));
}

}  // namespace
}  // namespace vel::tools
