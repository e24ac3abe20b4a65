#pragma once

#include <cstdint>
#include <span>

namespace vel::values {

/// Result types of bound names.
inline constexpr int kResultInteger = 1;
inline constexpr int kResultReal = 2;
inline constexpr int kResultString = 4;

/// A built-in function name as the binding table holds it: the most arguments it takes, its
/// function code and its result type.
struct BuiltInFunction {
  const char* name;
  int argumentCount;
  int functionCode;
  int resultType;
};

/// An operator keyword and its token code.
struct OperatorKeyword {
  const char* name;
  int tokenCode;
};

/// Token codes of the operator keywords.
inline constexpr int kTokenNot = 16;
inline constexpr int kTokenAnd = 17;
inline constexpr int kTokenOr = 18;
inline constexpr int kTokenXor = 19;

/// The built-in functions in the order they are entered into a new table.
std::span<const BuiltInFunction> BuiltInFunctions();

/// The operator keywords in the order they are entered after the functions.
std::span<const OperatorKeyword> OperatorKeywords();

/// The result type of a variable of storage type code `typeCode`: integer up to 6, real from 7
/// to 17, string from 18.
int ResultTypeOfTypeCode(int typeCode);

}  // namespace vel::values
