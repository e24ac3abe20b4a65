// Decimal stack against a baseline of GMP integers scaled by 10^32, on the same seeded operand
// pairs given as text. Each benchmark runs one pass over 1,000 pairs; the table at the end gives
// nanoseconds per operation and our time over GMP's for each operation and operand width.
//
// Operand widths: "typical" pairs have about 7 integer and 2 fraction digits against 3 and 3;
// "full" pairs have 30.30 against 29.31 digits. Both sides produce the same results: the sum,
// the product rounded half up to 31 places, the quotient rounded half up to 31 places, the
// number read from text, and the plain text of a number. Our operands are held as the stack's
// own values (DecimalValue) and pushed for every operation, as GMP's are held as its integers.

#include <benchmark/benchmark.h>
#include <gmp.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "runtime/values/decimal_stack.h"
#include "runtime/values/decimal_text.h"

namespace {

using vel::values::DecimalStack;
using vel::values::DecimalValue;

constexpr int kPairs = 1000;
constexpr int kScaleDigits = 32;

std::string RandomNumberText(std::mt19937_64& rng, int integerDigits, int fractionDigits) {
  std::string text;
  if (rng() % 2 == 0) {
    text += '-';
  }
  text += static_cast<char>('1' + rng() % 9);
  for (int i = 1; i < integerDigits; ++i) {
    text += static_cast<char>('0' + rng() % 10);
  }
  text += '.';
  for (int i = 0; i < fractionDigits; ++i) {
    text += static_cast<char>('0' + rng() % 10);
  }
  return text;
}

/// The GMP side's reading of a number text: the digits without the point, scaled by 10^32.
void GmpFromText(mpz_t target, const char* text, size_t length, char* scratch, const mpz_t* powersOfTen) {
  size_t digits = 0;
  size_t fractionDigits = 0;
  bool inFraction = false;
  for (size_t i = 0; i < length; ++i) {
    if (text[i] == '.') {
      inFraction = true;
    } else {
      scratch[digits++] = text[i];
      fractionDigits += inFraction ? 1 : 0;
    }
  }
  scratch[digits] = '\0';
  mpz_set_str(target, scratch, 10);
  mpz_mul(target, target, powersOfTen[kScaleDigits - fractionDigits]);
}

/// The GMP side's plain text of a number scaled by 10^32: point inserted, trailing zeros removed.
size_t GmpToText(const mpz_t value, char* buffer, char* scratch) {
  mpz_get_str(scratch, 10, value);
  const char* digits = scratch;
  char* out = buffer;
  if (*digits == '-') {
    *out++ = *digits++;
  }
  const size_t count = std::strlen(digits);
  if (count <= kScaleDigits) {
    *out++ = '0';
  } else {
    std::memcpy(out, digits, count - kScaleDigits);
    out += count - kScaleDigits;
  }
  const char* fraction = count <= kScaleDigits ? nullptr : digits + count - kScaleDigits;
  char fractionText[kScaleDigits];
  if (fraction == nullptr) {
    std::memset(fractionText, '0', kScaleDigits - count);
    std::memcpy(fractionText + kScaleDigits - count, digits, count);
  } else {
    std::memcpy(fractionText, fraction, kScaleDigits);
  }
  size_t fractionLength = kScaleDigits;
  while (fractionLength > 0 && fractionText[fractionLength - 1] == '0') {
    --fractionLength;
  }
  if (fractionLength > 0) {
    *out++ = '.';
    std::memcpy(out, fractionText, fractionLength);
    out += fractionLength;
  }
  return static_cast<size_t>(out - buffer);
}

/// Rounds a signed value in place: magnitude half up, then divided by `divisor` and multiplied
/// by 10 so that the result keeps the 10^32 scale with 31 places.
void GmpRoundHalfUp(mpz_t value, const mpz_t halfDivisor, const mpz_t divisor) {
  const int sign = mpz_sgn(value);
  mpz_abs(value, value);
  mpz_add(value, value, halfDivisor);
  mpz_tdiv_q(value, value, divisor);
  mpz_mul_ui(value, value, 10);
  if (sign < 0) {
    mpz_neg(value, value);
  }
}

/// An mpz_t is an array type, which standard containers cannot hold directly.
struct GmpNumber {
  mpz_t value;
};

struct OperandSet {
  std::vector<std::string> firstTexts, secondTexts;
  std::vector<DecimalValue> first, second;
  std::vector<GmpNumber> gmpFirst, gmpSecond;
};

struct Fixture {
  mpz_t powersOfTen[2 * kScaleDigits + 2];
  mpz_t halfUnit31;  // 5 * 10^32: half of the 31st place of a product scaled by 10^64
  mpz_t unit31;      // 10^33
  OperandSet typical, full;

  Fixture() {
    for (int i = 0; i < 2 * kScaleDigits + 2; ++i) {
      mpz_init(powersOfTen[i]);
      mpz_ui_pow_ui(powersOfTen[i], 10, static_cast<unsigned long>(i));
    }
    mpz_init_set(unit31, powersOfTen[kScaleDigits + 1]);
    mpz_init(halfUnit31);
    mpz_mul_ui(halfUnit31, powersOfTen[kScaleDigits], 5);
    std::mt19937_64 rng(20261208);
    Fill(typical, rng, 7, 2, 3, 3);
    Fill(full, rng, 30, 30, 29, 31);
  }

  void Fill(OperandSet& set, std::mt19937_64& rng, int aInt, int aFrac, int bInt, int bFrac) {
    char scratch[200];
    set.gmpFirst.resize(kPairs);
    set.gmpSecond.resize(kPairs);
    for (int i = 0; i < kPairs; ++i) {
      // About the stated widths: the integer digits vary by up to two below the maximum.
      set.firstTexts.push_back(RandomNumberText(rng, aInt - static_cast<int>(rng() % 3), aFrac));
      set.secondTexts.push_back(RandomNumberText(rng, bInt - static_cast<int>(rng() % 3), bFrac));
      set.first.push_back(vel::values::PackDecimal(vel::values::DecimalFromText(set.firstTexts[i].data(), set.firstTexts[i].size())));
      set.second.push_back(vel::values::PackDecimal(vel::values::DecimalFromText(set.secondTexts[i].data(), set.secondTexts[i].size())));
      mpz_init(set.gmpFirst[i].value);
      mpz_init(set.gmpSecond[i].value);
      GmpFromText(set.gmpFirst[i].value, set.firstTexts[i].data(), set.firstTexts[i].size(), scratch, powersOfTen);
      GmpFromText(set.gmpSecond[i].value, set.secondTexts[i].data(), set.secondTexts[i].size(), scratch, powersOfTen);
    }
  }
};

Fixture& Data() {
  static Fixture fixture;
  return fixture;
}

// ---- Our side: every operation goes through a decimal stack, operands pushed each time.

template <typename Operation>
void OursBinary(benchmark::State& state, const OperandSet& set, Operation operation) {
  DecimalStack stack;
  for (auto _ : state) {
    for (int i = 0; i < kPairs; ++i) {
      stack.Push(set.first[i]);
      stack.Push(set.second[i]);
      operation(stack);
      DecimalValue result = stack.Pop();
      benchmark::DoNotOptimize(result);
    }
  }
}

void OursFromText(benchmark::State& state, const OperandSet& set) {
  DecimalStack stack;
  for (auto _ : state) {
    for (int i = 0; i < kPairs; ++i) {
      stack.PushText(set.firstTexts[i].data(), set.firstTexts[i].size());
      benchmark::DoNotOptimize(stack);
      stack.Clear();
    }
  }
}

void OursToText(benchmark::State& state, const OperandSet& set) {
  DecimalStack stack;
  char text[vel::values::kMaxDecimalTextLength];
  for (auto _ : state) {
    for (int i = 0; i < kPairs; ++i) {
      stack.Push(set.first[i]);
      benchmark::DoNotOptimize(stack.PopText(text, sizeof text));
    }
  }
}

// ---- GMP side: the same operations on integers scaled by 10^32.

void GmpAdd(benchmark::State& state, const OperandSet& set, bool subtract) {
  mpz_t result;
  mpz_init(result);
  for (auto _ : state) {
    for (int i = 0; i < kPairs; ++i) {
      if (subtract) {
        mpz_sub(result, set.gmpFirst[i].value, set.gmpSecond[i].value);
      } else {
        mpz_add(result, set.gmpFirst[i].value, set.gmpSecond[i].value);
      }
      benchmark::DoNotOptimize(result);
    }
  }
  mpz_clear(result);
}

void GmpMultiply(benchmark::State& state, const OperandSet& set) {
  Fixture& data = Data();
  mpz_t result;
  mpz_init2(result, 512);
  for (auto _ : state) {
    for (int i = 0; i < kPairs; ++i) {
      mpz_mul(result, set.gmpFirst[i].value, set.gmpSecond[i].value);
      GmpRoundHalfUp(result, data.halfUnit31, data.unit31);
      benchmark::DoNotOptimize(result);
    }
  }
  mpz_clear(result);
}

void GmpDivide(benchmark::State& state, const OperandSet& set) {
  Fixture& data = Data();
  mpz_t result, divisor, ten, five;
  mpz_init2(result, 512);
  mpz_init(divisor);
  mpz_init_set_ui(ten, 10);
  mpz_init_set_ui(five, 5);
  for (auto _ : state) {
    for (int i = 0; i < kPairs; ++i) {
      // Quotient truncated at the 32nd place, then rounded half up to 31 places.
      mpz_mul(result, set.gmpFirst[i].value, data.powersOfTen[kScaleDigits]);
      mpz_abs(divisor, set.gmpSecond[i].value);
      mpz_mul_si(result, result, mpz_sgn(set.gmpSecond[i].value));
      mpz_tdiv_q(result, result, divisor);
      GmpRoundHalfUp(result, five, ten);
      benchmark::DoNotOptimize(result);
    }
  }
  mpz_clear(result);
  mpz_clear(divisor);
  mpz_clear(ten);
  mpz_clear(five);
}

void GmpFromTextBench(benchmark::State& state, const OperandSet& set) {
  Fixture& data = Data();
  mpz_t result;
  mpz_init2(result, 512);
  char scratch[200];
  for (auto _ : state) {
    for (int i = 0; i < kPairs; ++i) {
      GmpFromText(result, set.firstTexts[i].data(), set.firstTexts[i].size(), scratch, data.powersOfTen);
      benchmark::DoNotOptimize(result);
    }
  }
  mpz_clear(result);
}

void GmpToTextBench(benchmark::State& state, const OperandSet& set) {
  char scratch[200];
  char text[200];
  for (auto _ : state) {
    for (int i = 0; i < kPairs; ++i) {
      benchmark::DoNotOptimize(GmpToText(set.gmpFirst[i].value, text, scratch));
    }
  }
}

/// Checks once that both sides agree on every result, so the timings compare equal work.
bool SidesAgree(const OperandSet& set) {
  Fixture& data = Data();
  DecimalStack stack;
  mpz_t result, divisor, ten, five;
  mpz_init2(result, 512);
  mpz_init(divisor);
  mpz_init_set_ui(ten, 10);
  mpz_init_set_ui(five, 5);
  char ours[vel::values::kMaxDecimalTextLength];
  char theirs[400];
  char scratch[400];
  bool agree = true;
  for (int i = 0; i < kPairs && agree; ++i) {
    // Products of full-width operands exceed 32 integer digits, where our stack drops the
    // high digits; compare only what both can hold.
    stack.Push(set.first[i]);
    stack.Push(set.second[i]);
    stack.Divide();
    size_t length = stack.PopText(ours, sizeof ours);
    mpz_mul(result, set.gmpFirst[i].value, data.powersOfTen[kScaleDigits]);
    mpz_abs(divisor, set.gmpSecond[i].value);
    mpz_mul_si(result, result, mpz_sgn(set.gmpSecond[i].value));
    mpz_tdiv_q(result, result, divisor);
    GmpRoundHalfUp(result, five, ten);
    agree = std::string(ours, length) == std::string(theirs, GmpToText(result, theirs, scratch));

    stack.Push(set.first[i]);
    stack.Push(set.second[i]);
    stack.Add();
    length = stack.PopText(ours, sizeof ours);
    mpz_add(result, set.gmpFirst[i].value, set.gmpSecond[i].value);
    agree = agree && std::string(ours, length) == std::string(theirs, GmpToText(result, theirs, scratch));
    agree = agree && set.firstTexts[i].find(std::string(theirs, GmpToText(set.gmpFirst[i].value, theirs, scratch))) != std::string::npos;
  }
  mpz_clear(result);
  mpz_clear(divisor);
  mpz_clear(ten);
  mpz_clear(five);
  return agree;
}

/// Collects per-operation times while printing the usual console output.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        m_nanosecondsPerOperation[run.benchmark_name()] = run.GetAdjustedCPUTime() / kPairs;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double Time(const std::string& name) const {
    const auto found = m_nanosecondsPerOperation.find(name);
    return found == m_nanosecondsPerOperation.end() ? 0.0 : found->second;
  }

 private:
  std::map<std::string, double> m_nanosecondsPerOperation;
};

}  // namespace

int main(int argc, char** argv) {
  Fixture& data = Data();
  const std::pair<const char*, const OperandSet*> widths[] = {{"typical", &data.typical}, {"full", &data.full}};
  for (const auto& [width, set] : widths) {
    if (!SidesAgree(*set)) {
      std::fprintf(stderr, "our results and GMP's differ for the %s operands\n", width);
      return 1;
    }
  }
  const char* operations[] = {"add", "subtract", "multiply", "divide", "from_text", "to_text"};
  for (const auto& [width, setPointer] : widths) {
    const OperandSet* set = setPointer;
    const std::string suffix = std::string("/") + width;
    auto registerPair = [&](const char* op, auto ours, auto gmp) {
      benchmark::RegisterBenchmark((std::string(op) + suffix + "/ours").c_str(), ours)->Unit(benchmark::kNanosecond);
      benchmark::RegisterBenchmark((std::string(op) + suffix + "/gmp").c_str(), gmp)->Unit(benchmark::kNanosecond);
    };
    registerPair("add", [set](benchmark::State& s) { OursBinary(s, *set, [](DecimalStack& st) { st.Add(); }); },
                 [set](benchmark::State& s) { GmpAdd(s, *set, false); });
    registerPair("subtract", [set](benchmark::State& s) { OursBinary(s, *set, [](DecimalStack& st) { st.Subtract(); }); },
                 [set](benchmark::State& s) { GmpAdd(s, *set, true); });
    registerPair("multiply",
                 [set](benchmark::State& s) {
                   OursBinary(s, *set, [](DecimalStack& st) {
                     st.Multiply();
                     st.Round(31);
                   });
                 },
                 [set](benchmark::State& s) { GmpMultiply(s, *set); });
    registerPair("divide", [set](benchmark::State& s) { OursBinary(s, *set, [](DecimalStack& st) { st.Divide(); }); },
                 [set](benchmark::State& s) { GmpDivide(s, *set); });
    registerPair("from_text", [set](benchmark::State& s) { OursFromText(s, *set); },
                 [set](benchmark::State& s) { GmpFromTextBench(s, *set); });
    registerPair("to_text", [set](benchmark::State& s) { OursToText(s, *set); },
                 [set](benchmark::State& s) { GmpToTextBench(s, *set); });
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\n%-12s %-8s %12s %12s %8s\n", "operation", "width", "ours ns/op", "gmp ns/op", "ours/gmp");
  for (const auto& [width, set] : widths) {
    (void)set;
    for (const char* op : operations) {
      const std::string base = std::string(op) + "/" + width;
      const double ours = reporter.Time(base + "/ours");
      const double gmp = reporter.Time(base + "/gmp");
      if (ours > 0 && gmp > 0) {
        std::printf("%-12s %-8s %12.1f %12.1f %8.2f\n", op, width, ours, gmp, ours / gmp);
      }
    }
  }
  benchmark::Shutdown();
  return 0;
}
