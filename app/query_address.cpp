#include "app/query_address.h"

#include "runtime/values/string_stack.h"

namespace vel::app {
namespace {

void AppendLiteral(const char* text) {
  values::PushCString(text);
  values::ConcatAppend();
}

void AppendClipped(const char* variable, std::uint32_t size) {
  values::PushString(variable, size);
  values::ClipTop();
  values::ConcatAppend();
}

}  // namespace

void RebuildQueryAddress(const SearchFields& fields, std::string_view serviceAddress, char* queryAddress) {
  values::PushString(serviceAddress.data(), static_cast<std::uint32_t>(serviceAddress.size()));
  AppendLiteral("/skquery.xp?QRY=");
  AppendClipped(fields.searchText, sizeof fields.searchText);
  AppendLiteral("&DBS=1&ST=PS&defaultOp=");
  AppendClipped(fields.andOr, sizeof fields.andOr);
  AppendLiteral("&LNG=ALL&format=");
  AppendClipped(fields.viewFormat, sizeof fields.viewFormat);
  AppendLiteral("&showsort=score&maxhits=");
  values::PushLong(fields.maximumHits);
  values::ConcatAppend();
  AppendLiteral("&subjects=&groups=comp.lang.velmora&authors=");
  AppendClipped(fields.authorText, sizeof fields.authorText);
  AppendLiteral("&fromdate=&todate=");
  values::PopToFixed(queryAddress, kQueryAddressSize);
}

}  // namespace vel::app
