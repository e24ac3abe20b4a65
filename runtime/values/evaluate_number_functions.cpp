#include <cmath>
#include <cstdint>
#include <random>

#include "runtime/values/decimal_arithmetic.h"
#include "runtime/values/evaluate_function_set.h"

namespace vel::values::functions {

namespace {

/// A real function of one argument with its domain check.
bool RealFunction(const Arguments& a, ExpressionValue& r, std::string& problem,
                  double (*function)(double), bool (*inDomain)(double)) {
  double x = ValueAsReal(a[0]);
  if (!inDomain(x)) {
    problem = "argument out of range";
    return false;
  }
  double y = function(x);
  if (!std::isfinite(y)) {
    problem = "result out of range";
    return false;
  }
  r = ExpressionValue::Real(y);
  return true;
}

bool Anywhere(double x) { return std::isfinite(x); }
bool NotNegative(double x) { return x >= 0; }
bool Positive(double x) { return x > 0; }
bool UnitRange(double x) { return x >= -1 && x <= 1; }

/// The low 32 bits of an argument, as the bit functions see it.
std::uint32_t Bits(const ExpressionValue& value) {
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ValueAsInteger(value)));
}

ExpressionValue BitResult(std::uint32_t bits) {
  return ExpressionValue::Integer(static_cast<std::int32_t>(bits));
}

}  // namespace

bool Int(const Arguments& a, ExpressionValue& r, std::string&) {
  r = ExpressionValue::Number(TruncateDecimalEntry(ValueAsNumber(a[0])));
  return true;
}

bool Round(const Arguments& a, ExpressionValue& r, std::string&) {
  DecimalEntry value = ValueAsNumber(a[0]);
  DecimalEntry order = ValueAsNumber(a[1]);
  order.sign = 0;
  if (!DecimalIsNonZero(order)) {
    // Rounding to no order at all leaves the value as it is.
    r = ExpressionValue::Number(value);
    return true;
  }
  // The nearest multiple of the order, halves away from zero.
  DecimalEntry multiples = DivideDecimals(value, order);
  RoundDecimal(multiples, 0);
  r = ExpressionValue::Number(MultiplyDecimals(multiples, order));
  return true;
}

bool Abs(const Arguments& a, ExpressionValue& r, std::string&) {
  DecimalEntry value = ValueAsNumber(a[0]);
  value.sign = 0;
  r = ExpressionValue::Number(value);
  return true;
}

bool Sqrt(const Arguments& a, ExpressionValue& r, std::string& p) {
  return RealFunction(a, r, p, [](double x) { return std::sqrt(x); }, NotNegative);
}
bool LogE(const Arguments& a, ExpressionValue& r, std::string& p) {
  return RealFunction(a, r, p, [](double x) { return std::log(x); }, Positive);
}
bool Log10(const Arguments& a, ExpressionValue& r, std::string& p) {
  return RealFunction(a, r, p, [](double x) { return std::log10(x); }, Positive);
}
bool Sin(const Arguments& a, ExpressionValue& r, std::string& p) {
  return RealFunction(a, r, p, [](double x) { return std::sin(x); }, Anywhere);
}
bool Cos(const Arguments& a, ExpressionValue& r, std::string& p) {
  return RealFunction(a, r, p, [](double x) { return std::cos(x); }, Anywhere);
}
bool Tan(const Arguments& a, ExpressionValue& r, std::string& p) {
  return RealFunction(a, r, p, [](double x) { return std::tan(x); }, Anywhere);
}
bool ASin(const Arguments& a, ExpressionValue& r, std::string& p) {
  return RealFunction(a, r, p, [](double x) { return std::asin(x); }, UnitRange);
}
bool ACos(const Arguments& a, ExpressionValue& r, std::string& p) {
  return RealFunction(a, r, p, [](double x) { return std::acos(x); }, UnitRange);
}
bool ATan(const Arguments& a, ExpressionValue& r, std::string& p) {
  return RealFunction(a, r, p, [](double x) { return std::atan(x); }, Anywhere);
}

bool BAnd(const Arguments& a, ExpressionValue& r, std::string&) {
  r = BitResult(Bits(a[0]) & Bits(a[1]));
  return true;
}

bool BOr(const Arguments& a, ExpressionValue& r, std::string&) {
  r = BitResult(Bits(a[0]) | Bits(a[1]));
  return true;
}

bool BXor(const Arguments& a, ExpressionValue& r, std::string&) {
  r = BitResult(Bits(a[0]) ^ Bits(a[1]));
  return true;
}

bool BShift(const Arguments& a, ExpressionValue& r, std::string&) {
  std::uint32_t bits = Bits(a[0]);
  std::int64_t count = ValueAsInteger(a[1]);
  // Positive counts shift left, negative ones right (bringing in zeros); 32 or more clear all.
  if (count >= 32 || count <= -32) {
    bits = 0;
  } else if (count >= 0) {
    bits <<= count;
  } else {
    bits >>= -count;
  }
  r = BitResult(bits);
  return true;
}

bool Random(const Arguments& a, ExpressionValue& r, std::string&) {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  std::int64_t low = ValueAsInteger(a[0]);
  std::int64_t high = ValueAsInteger(a[1]);
  if (low > high) std::swap(low, high);
  std::uniform_int_distribution<std::int64_t> distribution(low, high);
  r = ExpressionValue::Integer(distribution(generator));
  return true;
}

}  // namespace vel::values::functions
