#include "runtime/values/binding_builtins.h"

namespace vel::values {

namespace {

constexpr BuiltInFunction kFunctions[] = {
    {"INT", 1, 19, kResultInteger},      {"INSTRING", 4, 3, kResultInteger},
    {"CENTER", 2, 6, kResultString},     {"RANDOM", 2, 22, kResultInteger},
    {"ASIN", 1, 28, kResultReal},        {"LOWER", 1, 12, kResultString},
    {"AGE", 2, 41, kResultString},       {"LOG10", 1, 21, kResultReal},
    {"ABS", 1, 17, kResultReal},         {"LEFT", 2, 10, kResultString},
    {"ACOS", 1, 29, kResultReal},        {"LEN", 1, 11, kResultInteger},
    {"ALL", 2, 5, kResultString},        {"LOGE", 1, 20, kResultReal},
    {"BOR", 2, 32, kResultInteger},      {"MEMORY", 1, 1, kResultInteger},
    {"ATAN", 1, 30, kResultReal},        {"MONTH", 1, 39, kResultInteger},
    {"BAND", 2, 31, kResultInteger},     {"NUMERIC", 1, 13, kResultInteger},
    {"BSHIFT", 2, 34, kResultInteger},   {"TAN", 1, 27, kResultReal},
    {"BXOR", 2, 33, kResultInteger},     {"SIN", 1, 25, kResultReal},
    {"DAY", 1, 38, kResultInteger},      {"RIGHT", 2, 14, kResultString},
    {"CLOCK", 0, 36, kResultInteger},    {"ROUND", 2, 23, kResultReal},
    {"CHOOSE", 25, 42, kResultString},   {"SQRT", 1, 24, kResultReal},
    {"CHR", 1, 7, kResultString},        {"SUB", 3, 2, kResultString},
    {"CLIP", 1, 4, kResultString},       {"VAL", 1, 16, kResultInteger},
    {"COS", 1, 26, kResultReal},         {"TODAY", 0, 35, kResultInteger},
    {"DATE", 3, 37, kResultInteger},     {"UPPER", 1, 15, kResultString},
    {"INRANGE", 3, 18, kResultInteger},  {"YEAR", 1, 40, kResultInteger},
    {"DEFORMAT", 2, 8, kResultString},   {"INLIST", 25, 43, kResultInteger},
    {"FORMAT", 2, 9, kResultString},     {"GETINI", 4, 44, kResultString},
};

constexpr OperatorKeyword kKeywords[] = {
    {"AND", kTokenAnd},
    {"NOT", kTokenNot},
    {"OR", kTokenOr},
    {"XOR", kTokenXor},
};

}  // namespace

std::span<const BuiltInFunction> BuiltInFunctions() { return kFunctions; }

std::span<const OperatorKeyword> OperatorKeywords() { return kKeywords; }

int ResultTypeOfTypeCode(int typeCode) {
  if (typeCode <= 6) return kResultInteger;
  if (typeCode <= 17) return kResultReal;
  return kResultString;
}

}  // namespace vel::values
