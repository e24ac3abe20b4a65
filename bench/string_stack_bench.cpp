// Composes the search tool's query address the way its generated procedure code does, through
// the string stack, and the same address with std::string appends as the baseline, then prints
// the time per address of each and their ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "bench/ratio_reporter.h"
#include "runtime/values/string_stack.h"

namespace {

using namespace vel::values;

constexpr std::uint32_t kFieldSize = 20;
constexpr std::uint32_t kAddressSize = 512;

// The procedure's variables as the window leaves them: blank-padded fixed strings and an Int16.
struct SearchVariables {
  char search[kFieldSize];
  char op[kFieldSize];
  char format[kFieldSize];
  char author[kFieldSize];
  short maxHits = 50;

  SearchVariables() {
    Set(search, "foo bar");
    Set(op, "AND");
    Set(format, "list");
    Set(author, "someone");
  }

  static void Set(char* field, const char* text) {
    std::memset(field, ' ', kFieldSize);
    std::memcpy(field, text, std::strlen(text));
  }
};

constexpr std::string_view kHead = "http://archive.invalid/skquery.xp?QRY=";
constexpr std::string_view kOperator = "&DBS=1&ST=PS&defaultOp=";
constexpr std::string_view kFormat = "&LNG=ALL&format=";
constexpr std::string_view kHits = "&showsort=score&maxhits=";
constexpr std::string_view kAuthor = "&subjects=&groups=comp.lang.velmora&authors=";
constexpr std::string_view kTail = "&fromdate=&todate=";

void PushLiteral(std::string_view literal) {
  PushString(literal.data(), static_cast<std::uint32_t>(literal.size()));
}

void AppendLiteral(std::string_view literal) {
  PushLiteral(literal);
  ConcatAppend();
}

void AppendVariable(const char* variable) {
  PushString(variable, kFieldSize);
  ClipTop();
  ConcatAppend();
}

void ComposeOnStringStack(const SearchVariables& v, char* address) {
  PushString(v.search, kFieldSize);
  ClipTop();
  PushLiteral(kHead);
  ConcatPrepend();
  AppendLiteral(kOperator);
  AppendVariable(v.op);
  AppendLiteral(kFormat);
  AppendVariable(v.format);
  AppendLiteral(kHits);
  PushLong(v.maxHits);
  ConcatAppend();
  AppendLiteral(kAuthor);
  AppendVariable(v.author);
  AppendLiteral(kTail);
  PopToFixed(address, kAddressSize);
}

std::string_view Clipped(const char* field) {
  std::string_view text(field, kFieldSize);
  std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

void ComposeWithStdString(const SearchVariables& v, char* address) {
  std::string text(kHead);
  text += Clipped(v.search);
  text += kOperator;
  text += Clipped(v.op);
  text += kFormat;
  text += Clipped(v.format);
  text += kHits;
  text += std::to_string(v.maxHits);
  text += kAuthor;
  text += Clipped(v.author);
  text += kTail;
  std::size_t copied = text.size() < kAddressSize ? text.size() : kAddressSize;
  std::memcpy(address, text.data(), copied);
  std::memset(address + copied, ' ', kAddressSize - copied);
}

using Composer = void (*)(const SearchVariables&, char*);

void ComposeRepeatedly(benchmark::State& state, Composer compose) {
  SearchVariables variables;
  char address[kAddressSize];
  for (auto _ : state) {
    compose(variables, address);
    benchmark::DoNotOptimize(address);
    benchmark::ClobberMemory();
  }
}

constexpr const char* kOnStringStack = "AddressOnStringStack";
constexpr const char* kWithStdString = "AddressWithStdString";

}  // namespace

int main(int argc, char** argv) {
  // Both ways must build the same address before their speeds mean anything.
  SearchVariables variables;
  char viaStack[kAddressSize];
  char viaString[kAddressSize];
  ComposeOnStringStack(variables, viaStack);
  ComposeWithStdString(variables, viaString);
  if (std::memcmp(viaStack, viaString, kAddressSize) != 0 || CurrentStringStack().Count() != 0) {
    std::fprintf(stderr, "the two compositions disagree\n");
    return 1;
  }

  benchmark::RegisterBenchmark(kOnStringStack, ComposeRepeatedly, ComposeOnStringStack);
  benchmark::RegisterBenchmark(kWithStdString, ComposeRepeatedly, ComposeWithStdString);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  vel::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  double stack = reporter.Nanoseconds(kOnStringStack);
  double baseline = reporter.Nanoseconds(kWithStdString);
  if (stack > 0 && baseline > 0) {
    std::printf("string stack: %.1f ns per address\n", stack);
    std::printf("std::string:  %.1f ns per address\n", baseline);
    std::printf("ratio string_stack/std::string = %.2f\n", stack / baseline);
  }
  return 0;
}
