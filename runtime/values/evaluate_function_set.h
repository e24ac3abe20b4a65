#pragma once

#include <string>
#include <vector>

#include "runtime/values/evaluate_value.h"

// The built-in functions of expressions, grouped by what they work on. Each takes the evaluated
// arguments (their count already checked), writes its result and returns true, or returns false
// with a short description of the problem.
namespace vel::values::functions {

using Arguments = std::vector<ExpressionValue>;

// Strings.
bool Clip(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Left(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Right(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Center(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Sub(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Upper(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Lower(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Len(const Arguments& a, ExpressionValue& r, std::string& problem);
bool InString(const Arguments& a, ExpressionValue& r, std::string& problem);
bool InList(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Choose(const Arguments& a, ExpressionValue& r, std::string& problem);
bool InRange(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Numeric(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Val(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Chr(const Arguments& a, ExpressionValue& r, std::string& problem);
bool All(const Arguments& a, ExpressionValue& r, std::string& problem);

// Numbers.
bool Int(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Round(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Abs(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Sqrt(const Arguments& a, ExpressionValue& r, std::string& problem);
bool LogE(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Log10(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Sin(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Cos(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Tan(const Arguments& a, ExpressionValue& r, std::string& problem);
bool ASin(const Arguments& a, ExpressionValue& r, std::string& problem);
bool ACos(const Arguments& a, ExpressionValue& r, std::string& problem);
bool ATan(const Arguments& a, ExpressionValue& r, std::string& problem);
bool BAnd(const Arguments& a, ExpressionValue& r, std::string& problem);
bool BOr(const Arguments& a, ExpressionValue& r, std::string& problem);
bool BXor(const Arguments& a, ExpressionValue& r, std::string& problem);
bool BShift(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Random(const Arguments& a, ExpressionValue& r, std::string& problem);

// Pictures.
bool Format(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Deformat(const Arguments& a, ExpressionValue& r, std::string& problem);

// Dates and times.
bool Date(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Day(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Month(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Year(const Arguments& a, ExpressionValue& r, std::string& problem);
bool TodayFunction(const Arguments& a, ExpressionValue& r, std::string& problem);
bool ClockFunction(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Age(const Arguments& a, ExpressionValue& r, std::string& problem);

// The system.
bool GetIni(const Arguments& a, ExpressionValue& r, std::string& problem);
bool Memory(const Arguments& a, ExpressionValue& r, std::string& problem);

}  // namespace vel::values::functions
