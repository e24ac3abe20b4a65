// The query address: composed exactly as the archive's search service expects it.

#include "app/query_address.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/service_address.h"
#include "runtime/services/query_launcher.h"
#include "runtime/values/string_stack.h"

namespace vel::app {
namespace {

void SetFixed(char* variable, std::size_t size, const std::string& text) {
  std::memset(variable, ' ', size);
  std::memcpy(variable, text.data(), std::min(size, text.size()));
}

SearchFields Fields(const std::string& search, const std::string& format, std::int16_t hits, const std::string& andOr,
                    const std::string& author) {
  SearchFields fields;
  ClearSearchFields(fields);
  SetFixed(fields.searchText, sizeof fields.searchText, search);
  SetFixed(fields.viewFormat, sizeof fields.viewFormat, format);
  fields.maximumHits = hits;
  SetFixed(fields.andOr, sizeof fields.andOr, andOr);
  SetFixed(fields.authorText, sizeof fields.authorText, author);
  return fields;
}

/// The composed address with the variable's padding clipped off.
std::string Compose(const SearchFields& fields, const std::string& service = "http://archive.invalid") {
  char address[kQueryAddressSize];
  RebuildQueryAddress(fields, service, address);
  std::string text(address, sizeof address);
  text.erase(text.find_last_not_of(' ') + 1);
  EXPECT_EQ(values::CurrentStringStack().Count(), 0u) << "the stack is left as it was found";
  return text;
}

TEST(QueryAddress, TheServiceAddressThenEveryChoiceInTheServicesOrder) {
  EXPECT_EQ(Compose(Fields("foo bar", "list", 50, "AND", "")),
            "http://archive.invalid/skquery.xp?QRY=foo bar&DBS=1&ST=PS&defaultOp=AND&LNG=ALL&format=list"
            "&showsort=score&maxhits=50&subjects=&groups=comp.lang.velmora&authors=&fromdate=&todate=");
  EXPECT_EQ(Compose(Fields("x", "tabular", 100, "OR", "someone"), "https://news.example.org"),
            "https://news.example.org/skquery.xp?QRY=x&DBS=1&ST=PS&defaultOp=OR&LNG=ALL&format=tabular"
            "&showsort=score&maxhits=100&subjects=&groups=comp.lang.velmora&authors=someone&fromdate=&todate=");
}

TEST(QueryAddress, NothingChosenGivesEmptyValuesAndHitsZero) {
  SearchFields fields;
  ClearSearchFields(fields);
  EXPECT_EQ(Compose(fields),
            "http://archive.invalid/skquery.xp?QRY=&DBS=1&ST=PS&defaultOp=&LNG=ALL&format="
            "&showsort=score&maxhits=0&subjects=&groups=comp.lang.velmora&authors=&fromdate=&todate=");
  EXPECT_NE(Compose(Fields("", "", -5, "", "")).find("&maxhits=-5&"), std::string::npos) << "signed decimal text";
}

TEST(QueryAddress, TheUsersTextGoesInAsTypedWithLeadingSpacesAndNothingEscaped) {
  const std::string address = Compose(Fields("  a&b=c %20?#", "list", 25, "AND", " x&authors=y"));
  EXPECT_NE(address.find("QRY=  a&b=c %20?#&DBS=1"), std::string::npos) << address;
  EXPECT_NE(address.find("&authors= x&authors=y&fromdate="), std::string::npos) << address;
}

TEST(QueryAddress, TheLongestAddressFitsTheLaunchLimitWithTheDefaultService) {
  const std::string full(20, 'w');
  const std::string address = Compose(Fields(full, full, -32768, full, full), kDefaultServiceAddress);
  EXPECT_EQ(address.size(), std::string(kDefaultServiceAddress).size() + 227);
  EXPECT_LE(address.size(), services::kLaunchAddressLimit);
  // A long service address the user set still composes in full; the launcher cuts it later.
  const std::string longService = "https://" + std::string(200, 's');
  EXPECT_EQ(Compose(Fields(full, full, -32768, full, full), longService).size(), longService.size() + 227);
  // Longer still, the address variable keeps its first 512 characters.
  EXPECT_EQ(Compose(Fields(full, full, -32768, full, full), longService + longService).size(), kQueryAddressSize);
}

}  // namespace
}  // namespace vel::app
