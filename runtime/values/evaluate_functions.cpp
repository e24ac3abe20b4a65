#include "runtime/values/evaluate_functions.h"

#include "runtime/values/evaluate_function_set.h"

namespace vel::values {

namespace {

using Handler = bool (*)(const functions::Arguments&, ExpressionValue&, std::string&);

struct FunctionEntry {
  int code;
  int minimum;
  Handler handler;
};

// Function codes as the binding table lists them, with the fewest arguments each accepts;
// trailing arguments left out take the defaults given in the handlers.
constexpr FunctionEntry kFunctions[] = {
    {2, 3, functions::Sub},       {3, 2, functions::InString}, {4, 1, functions::Clip},
    {5, 1, functions::All},       {6, 1, functions::Center},   {7, 1, functions::Chr},
    {10, 1, functions::Left},     {11, 1, functions::Len},     {12, 1, functions::Lower},
    {13, 1, functions::Numeric},  {14, 1, functions::Right},   {15, 1, functions::Upper},
    {16, 1, functions::Val},      {17, 1, functions::Abs},     {18, 3, functions::InRange},
    {19, 1, functions::Int},      {20, 1, functions::LogE},    {21, 1, functions::Log10},
    {22, 2, functions::Random},   {23, 2, functions::Round},   {24, 1, functions::Sqrt},
    {25, 1, functions::Sin},      {26, 1, functions::Cos},     {27, 1, functions::Tan},
    {28, 1, functions::ASin},     {29, 1, functions::ACos},    {30, 1, functions::ATan},
    {31, 2, functions::BAnd},     {32, 2, functions::BOr},     {33, 2, functions::BXor},
    {34, 2, functions::BShift},   {42, 2, functions::Choose},  {43, 2, functions::InList},
    {8, 2, functions::Deformat},  {9, 2, functions::Format},   {35, 0, functions::TodayFunction},
    {36, 0, functions::ClockFunction}, {37, 3, functions::Date}, {38, 1, functions::Day},
    {39, 1, functions::Month},    {40, 1, functions::Year},    {41, 1, functions::Age},
    {44, 2, functions::GetIni},   {1, 1, functions::Memory},
};

const FunctionEntry* FindEntry(int functionCode) {
  for (const FunctionEntry& entry : kFunctions) {
    if (entry.code == functionCode) return &entry;
  }
  return nullptr;
}

}  // namespace

int MinimumArguments(int functionCode) {
  const FunctionEntry* entry = FindEntry(functionCode);
  return entry == nullptr ? -1 : entry->minimum;
}

bool CallBuiltInFunction(int functionCode, const std::vector<ExpressionValue>& arguments,
                         ExpressionValue& result, std::string& problem) {
  const FunctionEntry* entry = FindEntry(functionCode);
  if (entry == nullptr) {
    problem = "function not available";
    return false;
  }
  return entry->handler(arguments, result, problem);
}

}  // namespace vel::values
