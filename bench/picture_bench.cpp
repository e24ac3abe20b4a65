// Pictures against the usual C and C++ formatters: 1234.5 through "@N10.2" against {fmt} and
// snprintf("%10.2f"), 4 July 1999 through "@D2" against strftime, the way back through
// DEFORMAT against strtod and strptime, and the serial-day split against std::chrono's civil
// conversion. Prints ns per call and the ratios the goals are stated in.

#include <benchmark/benchmark.h>
#include <fmt/compile.h>
#include <fmt/format.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "bench/ratio_reporter.h"
#include "runtime/values/date_calendar.h"
#include "runtime/values/decimal_text.h"
#include "runtime/values/picture_compile.h"
#include "runtime/values/picture_deformat.h"
#include "runtime/values/picture_format.h"

namespace {

using namespace vel::values;

constexpr double kAmount = 1234.5;
constexpr int32_t kJuly4th1999 = 72506;

CompiledPicture CompiledOnce(const char* text) {
  CompiledPicture picture;
  CompilePicture(text, picture);
  return picture;
}

const CompiledPicture g_numeric = CompiledOnce("@N10.2");
const CompiledPicture g_date = CompiledOnce("@D2");

std::tm July4th1999() {
  std::tm time{};
  time.tm_year = 99;
  time.tm_mon = 6;
  time.tm_mday = 4;
  return time;
}

// Numbers reach a picture from the decimal stack, already in decimal digits.
void PictureNumeric(benchmark::State& state) {
  const DecimalEntry value = DecimalFromText("1234.5", 6);
  char out[16];
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(FormatDecimal(g_numeric, value, out, sizeof out));
    benchmark::ClobberMemory();
  }
}

// The same picture fed a double, which adds the binary-to-decimal conversion.
void PictureNumericFromDouble(benchmark::State& state) {
  double value = kAmount;
  char out[16];
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(FormatNumber(g_numeric, value, out, sizeof out));
    benchmark::ClobberMemory();
  }
}

void FmtNumeric(benchmark::State& state) {
  double value = kAmount;
  char out[32];
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(fmt::format_to(out, FMT_COMPILE("{:10.2f}"), value));
    benchmark::ClobberMemory();
  }
}

void SnprintfNumeric(benchmark::State& state) {
  double value = kAmount;
  char out[32];
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(std::snprintf(out, sizeof out, "%10.2f", value));
    benchmark::ClobberMemory();
  }
}

void PictureDate(benchmark::State& state) {
  int32_t serial = kJuly4th1999;
  char out[16];
  for (auto _ : state) {
    benchmark::DoNotOptimize(serial);
    benchmark::DoNotOptimize(FormatDate(g_date, serial, out, sizeof out));
    benchmark::ClobberMemory();
  }
}

void StrftimeDate(benchmark::State& state) {
  const std::tm time = July4th1999();
  char out[32];
  for (auto _ : state) {
    benchmark::DoNotOptimize(&time);
    benchmark::DoNotOptimize(std::strftime(out, sizeof out, "%m/%d/%Y", &time));
    benchmark::ClobberMemory();
  }
}

void PictureDeformatNumeric(benchmark::State& state) {
  const char* text = "  1,234.50";
  char out[kDeformatBufferSize];
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(DeformatWithPicture(g_numeric, text, 10, out, sizeof out));
    benchmark::ClobberMemory();
  }
}

void StrtodNumeric(benchmark::State& state) {
  const char* text = "   1234.50";
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(std::strtod(text, nullptr));
  }
}

void PictureDeformatDate(benchmark::State& state) {
  const char* text = " 7/04/1999";
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(DeformatDate(g_date, text, 10));
  }
}

// The same date as DEFORMAT returns it: the serial day as text.
void PictureDeformatDateText(benchmark::State& state) {
  const char* text = " 7/04/1999";
  char out[kDeformatBufferSize];
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(DeformatWithPicture(g_date, text, 10, out, sizeof out));
    benchmark::ClobberMemory();
  }
}

void StrptimeDate(benchmark::State& state) {
  const char* text = " 7/04/1999";
  for (auto _ : state) {
    std::tm time{};
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(strptime(text, "%m/%d/%Y", &time));
    benchmark::DoNotOptimize(time);
  }
}

// Walks a stride through the valid range so that neither side sees one constant day.
void SerialSplit(benchmark::State& state) {
  int32_t serial = kFirstSerialDate;
  for (auto _ : state) {
    CalendarDate date;
    SerialToDate(serial, date);
    benchmark::DoNotOptimize(date);
    serial += 7919;
    if (serial > kLastSerialDate) serial -= kLastSerialDate - kFirstSerialDate;
  }
}

void ChronoCivilSplit(benchmark::State& state) {
  using namespace std::chrono;
  constexpr int kOriginFromEpoch = -61730;  // 28 December 1800 counted from 1 January 1970
  int32_t serial = kFirstSerialDate;
  for (auto _ : state) {
    const year_month_day date{sys_days{days{serial + kOriginFromEpoch}}};
    benchmark::DoNotOptimize(date);
    serial += 7919;
    if (serial > kLastSerialDate) serial -= kLastSerialDate - kFirstSerialDate;
  }
}

using vel::bench::RatioReporter;

void PrintRatio(const RatioReporter& reporter, const char* ours, const char* baseline,
                const char* goal) {
  const double a = reporter.Nanoseconds(ours);
  const double b = reporter.Nanoseconds(baseline);
  if (a <= 0 || b <= 0) return;
  std::printf("%-26s %7.1f ns  %-18s %7.1f ns  ratio %.2f%s\n", ours, a, baseline, b, a / b, goal);
}

// The comparisons only mean something if every side produces the same text or date.
bool SidesAgree() {
  char picture[16];
  char fmtText[32] = {};
  char printed[32];
  const size_t length = FormatNumber(g_numeric, kAmount, picture, sizeof picture);
  fmt::format_to(fmtText, FMT_COMPILE("{:10.2f}"), kAmount);
  std::snprintf(printed, sizeof printed, "%10.2f", kAmount);
  // The picture groups thousands; the others do not, so compare the digits only.
  std::string digits;
  for (size_t i = 0; i < length; ++i) {
    if (picture[i] != ',' && picture[i] != ' ') digits += picture[i];
  }
  std::string fmtDigits;
  for (char c : std::string(fmtText)) {
    if (c != ' ') fmtDigits += c;
  }
  if (digits != fmtDigits || std::string(printed) != std::string(fmtText)) {
    std::fprintf(stderr, "numbers: picture '%.*s', {fmt} '%s', snprintf '%s'\n",
                 static_cast<int>(length), picture, fmtText, printed);
    return false;
  }
  const std::tm time = July4th1999();
  char strf[32];
  std::strftime(strf, sizeof strf, "%m/%d/%Y", &time);
  char date[16];
  FormatDate(g_date, kJuly4th1999, date, sizeof date);
  if (std::string(date, 10) != " 7/04/1999" || std::string(strf) != "07/04/1999") {
    std::fprintf(stderr, "dates: picture '%.10s', strftime '%s'\n", date, strf);
    return false;
  }
  using namespace std::chrono;
  const year_month_day civil{sys_days{days{kJuly4th1999 - 61730}}};
  return civil == year{1999} / July / 4;
}

}  // namespace

int main(int argc, char** argv) {
  if (!SidesAgree()) {
    std::fprintf(stderr, "the formatters disagree on the values being measured\n");
    return 1;
  }
  benchmark::RegisterBenchmark("PictureNumeric", PictureNumeric);
  benchmark::RegisterBenchmark("PictureNumericFromDouble", PictureNumericFromDouble);
  benchmark::RegisterBenchmark("FmtNumeric", FmtNumeric);
  benchmark::RegisterBenchmark("SnprintfNumeric", SnprintfNumeric);
  benchmark::RegisterBenchmark("PictureDate", PictureDate);
  benchmark::RegisterBenchmark("StrftimeDate", StrftimeDate);
  benchmark::RegisterBenchmark("PictureDeformatNumeric", PictureDeformatNumeric);
  benchmark::RegisterBenchmark("StrtodNumeric", StrtodNumeric);
  benchmark::RegisterBenchmark("PictureDeformatDate", PictureDeformatDate);
  benchmark::RegisterBenchmark("PictureDeformatDateText", PictureDeformatDateText);
  benchmark::RegisterBenchmark("StrptimeDate", StrptimeDate);
  benchmark::RegisterBenchmark("SerialSplit", SerialSplit);
  benchmark::RegisterBenchmark("ChronoCivilSplit", ChronoCivilSplit);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  PrintRatio(reporter, "PictureNumeric", "FmtNumeric", "  (goal: at most 0.50)");
  PrintRatio(reporter, "PictureNumericFromDouble", "FmtNumeric", "  (goal: at most 1.00)");
  PrintRatio(reporter, "PictureNumeric", "SnprintfNumeric", "");
  PrintRatio(reporter, "PictureDate", "StrftimeDate", "  (goal: at most 0.33)");
  PrintRatio(reporter, "PictureDeformatNumeric", "StrtodNumeric", "");
  PrintRatio(reporter, "PictureDeformatDate", "StrptimeDate", "  (goal: at most 0.50)");
  PrintRatio(reporter, "PictureDeformatDateText", "StrptimeDate", "");
  PrintRatio(reporter, "SerialSplit", "ChronoCivilSplit", "  (goal: at most 1.50)");
  return 0;
}
