#include <gtest/gtest.h>

#include "platform/user/message_box_script.h"

using vel::platform::ClearMessageBoxLog;
using vel::platform::MessageBoxLog;
using vel::platform::SetMessageBoxAnswerer;

TEST(MessageBox, RecordsWhatItShowsAndTakesTheScriptedAnswer) {
  ClearMessageBoxLog();
  SetMessageBoxAnswerer([](const vel::platform::MessageBoxRecord& box) {
    return (box.flags & MB_TYPEMASK) == MB_OKCANCEL ? IDCANCEL : IDOK;
  });
  EXPECT_EQ(MessageBoxA(nullptr, "text", "Caption", MB_OKCANCEL | MB_ICONSTOP), IDCANCEL);
  SetMessageBoxAnswerer(nullptr);
  EXPECT_EQ(MessageBoxA(nullptr, "second", nullptr, MB_YESNO), IDYES);

  auto log = MessageBoxLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].caption, "Caption");
  EXPECT_EQ(log[0].text, "text");
  EXPECT_EQ(log[0].flags, static_cast<UINT>(MB_OKCANCEL | MB_ICONSTOP));
  EXPECT_EQ(log[1].caption, "Error");
}
