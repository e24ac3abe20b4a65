// The variables vel-preview binds in place of a procedure's, and the lines its log is made of.

#include "tools/vel-preview/lib/preview_variables.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/values/locale_intl.h"
#include "runtime/values/locale_settings.h"
#include "runtime/windows/event_codes.h"
#include "tools/vel-preview/lib/event_log.h"
#include "tools/vel-preview/lib/preview_error.h"

namespace vel::tools {
namespace {

using windows::UseBinding;
using windows::UseDescriptor;

UseBinding Binding(std::int32_t field, std::uint8_t kind, std::int32_t size) {
  return UseBinding{field, windows::kKindEntry, UseDescriptor{kind, size, std::nullopt}};
}

TEST(PreviewVariables, StartClearedAndShowEachKindAsTheLogPrintsIt) {
  PreviewVariables variables(
      "f", {Binding(2, 18, 20), Binding(11, 2, 2), Binding(4, 4, 4), Binding(5, 5, 4), Binding(6, 9, 8),
            Binding(7, 19, 8), Binding(8, 20, 8), Binding(9, 24, 4)});
  EXPECT_EQ(variables.Describe(2), (std::vector<std::string>{"\"\""}));
  EXPECT_EQ(static_cast<const char*>(variables.Addresses()[0])[19], ' ') << "a fixed string clears to blanks";
  EXPECT_EQ(variables.Describe(11), (std::vector<std::string>{"0"}));
  EXPECT_EQ(variables.Describe(4), (std::vector<std::string>{"\"\""})) << "no date shows blank";
  EXPECT_EQ(variables.Describe(6), (std::vector<std::string>{"0"}));
  EXPECT_EQ(variables.Describe(7), (std::vector<std::string>{"\"\""}));
  EXPECT_EQ(variables.Describe(8), (std::vector<std::string>{"\"\""}));
  EXPECT_EQ(variables.Describe(9), (std::vector<std::string>{"(kind 24, 4 bytes)"}));
  EXPECT_EQ(variables.Describe(3), std::vector<std::string>{});
  EXPECT_EQ(variables.Fields(), (std::vector<std::int32_t>{2, 11, 4, 5, 6, 7, 8, 9}));
}

TEST(PreviewVariables, ValuesGoInAsAnAssignmentStoresThem) {
  PreviewVariables variables("f", {Binding(2, 18, 6), Binding(11, 2, 2), Binding(4, 4, 4), Binding(5, 5, 4),
                                   Binding(6, 10, 8), Binding(7, 20, 4), Binding(9, 24, 4)});
  EXPECT_TRUE(variables.Set(2, "list"));
  EXPECT_EQ(variables.Describe(2), (std::vector<std::string>{"\"list\""})) << "trailing blanks are clipped";
  EXPECT_TRUE(variables.Set(2, "much too long"));
  EXPECT_EQ(variables.Describe(2), (std::vector<std::string>{"\"much t\""}));
  EXPECT_TRUE(variables.Set(11, "50"));
  EXPECT_EQ(variables.Describe(11), (std::vector<std::string>{"50"}));
  EXPECT_TRUE(variables.Set(11, "70000"));
  EXPECT_EQ(variables.Describe(11), (std::vector<std::string>{"4464"}))
      << "a 16-bit variable keeps its low bits";
  EXPECT_TRUE(variables.Set(6, "-12"));
  EXPECT_EQ(variables.Describe(6), (std::vector<std::string>{"-12"}));
  EXPECT_TRUE(variables.Set(7, "abcdef"));
  EXPECT_EQ(variables.Describe(7), (std::vector<std::string>{"\"abc\""}))
      << "a length byte and three characters";

  // Dates and times go in and come out through the user's regional layouts.
  values::IntlSettings intl;
  intl.iTime = 1;
  intl.sShortDate = "dd.MM.yyyy";
  values::ApplyIntlSettings(intl, values::Locale());
  EXPECT_TRUE(variables.Set(4, "4.7.1999"));
  EXPECT_EQ(variables.Describe(4), (std::vector<std::string>{"\"04.07.1999\""}));
  EXPECT_TRUE(variables.Set(5, "14:05:09"));
  EXPECT_EQ(variables.Describe(5), (std::vector<std::string>{"\"14:05:09\""}));
  values::ResetLocaleSettings(values::Locale());

  EXPECT_FALSE(variables.CanStore(9)) << "a kind the value runtime does not know";
  EXPECT_FALSE(variables.Set(9, "1"));
  EXPECT_FALSE(variables.CanStore(3));
  EXPECT_TRUE(variables.CanStore(2));
}

TEST(PreviewVariables, StorageHoldsTheKindsWidthAndRefusesDamagedSizes) {
  // A descriptor that declares fewer bytes than its kind: controls write the whole kind, so the
  // storage has it (AddressSanitizer would see a write past a two-byte block).
  PreviewVariables narrow("f", {Binding(3, 6, 2), Binding(4, 9, 0)});
  EXPECT_TRUE(narrow.Set(3, "123456"));
  EXPECT_TRUE(narrow.Set(4, "2.5"));
  EXPECT_EQ(narrow.Describe(3), (std::vector<std::string>{"123456"}));
  EXPECT_EQ(narrow.Describe(4), (std::vector<std::string>{"2.5"}));
  std::int32_t stored = 0;
  std::memcpy(&stored, narrow.Addresses()[0], sizeof stored);
  EXPECT_EQ(stored, 123456);

  auto refusal = [](std::vector<UseBinding> bindings) -> std::string {
    try {
      PreviewVariables variables("f", bindings);
    } catch (const PreviewError& error) {
      return error.what();
    }
    return "";
  };
  EXPECT_EQ(refusal({Binding(5, 18, -1)}), "f: damaged: field 5 declares a variable of -1 bytes");
  EXPECT_EQ(refusal({Binding(5, 18, kLargestVariable + 1)}),
            "f: damaged: field 5 declares a variable of 1048577 bytes");
  std::vector<UseBinding> many(17, Binding(5, 18, kLargestVariable));
  EXPECT_EQ(refusal(many), "f: damaged: its variables take 17825792 bytes together");
  EXPECT_EQ(refusal({Binding(5, 18, kLargestVariable)}), "");
}

TEST(EventLogLines, NamesFieldsQuotesAndRectangles) {
  EXPECT_EQ(EventLine(windows::EVENT_Accepted, 3), "EVENT:Accepted field=3");
  EXPECT_EQ(EventLine(windows::EVENT_OpenWindow, 0), "EVENT:OpenWindow");
  EXPECT_EQ(EventLine(windows::kEventBase + 0x300, 4), "768 field=4")
      << "an event without a name shows its number";
  EXPECT_EQ(LayoutLine(9, "VelDrop", RECT{351, 4, 423, 17}), "layout field 9 VelDrop 351 4 72 13");
  EXPECT_EQ(QuoteForLog("say \"hi\" \\ \t\x7F"), "\"say \\\"hi\\\" \\\\ \\x09\\x7F\"");
  EXPECT_EQ(QuoteForLog("caf\xE9 \x80"), "\"caf\xC3\xA9 \xE2\x82\xAC\"") << "the terminal gets UTF-8";
}

}  // namespace
}  // namespace vel::tools
