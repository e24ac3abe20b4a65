#pragma once

#include <string>
#include <vector>

#include "runtime/values/evaluate_value.h"

namespace vel::values {

/// The fewest arguments the built-in function with `functionCode` accepts (the binding table
/// holds the most); -1 for an unknown code.
int MinimumArguments(int functionCode);

/// Calls the built-in function `functionCode` with `arguments`, whose count the caller has
/// checked. Returns false with `problem` set when the arguments are out of the function's domain
/// or the result cannot be represented.
bool CallBuiltInFunction(int functionCode, const std::vector<ExpressionValue>& arguments,
                         ExpressionValue& result, std::string& problem);

}  // namespace vel::values
