#include "runtime/values/evaluate_expression.h"

#include <cmath>
#include <vector>

#include "runtime/values/binding_builtins.h"
#include "runtime/values/binding_scopes.h"
#include "runtime/values/binding_table.h"
#include "runtime/values/decimal_arithmetic.h"
#include "runtime/values/decimal_float.h"
#include "runtime/values/decimal_text.h"
#include "runtime/values/evaluate_functions.h"
#include "runtime/values/expression_parser.h"
#include "runtime/values/reference_errors.h"
#include "runtime/values/string_stack.h"

namespace vel::values {

namespace {

int ArithmeticTypeOfResult(int resultType) {
  if (resultType == kResultInteger) return kArithmeticInteger;
  if (resultType == kResultReal) return kArithmeticReal;
  return kArithmeticText;
}

/// A built-in function as an expression sees it: from the binding table when the name is bound
/// as a function there, else from the list of built-ins unless a visible binding replaced it.
struct FunctionRef {
  int code = 0;
  int maximum = 0;
  int resultType = 0;
};

bool FindFunction(const char* name, FunctionRef& function) {
  const BindingNode* node = LookUpName(name);
  if (node != nullptr) {
    if (node->kind != kBindingFunction) return false;
    function = {node->functionCode, node->argumentCount, node->resultType};
    return true;
  }
  for (const BuiltInFunction& builtIn : BuiltInFunctions()) {
    if (CompareBindingNames(name, builtIn.name) == 0) {
      function = {builtIn.functionCode, builtIn.argumentCount, builtIn.resultType};
      return true;
    }
  }
  return false;
}

bool IsWhole(const DecimalEntry& value) {
  for (int position = value.low; position < DecimalEntry::kUnits; ++position) {
    if (value.digits[position] != 0) return false;
  }
  return true;
}

/// The remainder of a / b with the sign of a (0 for a zero divisor, as division gives 0).
DecimalEntry Remainder(const DecimalEntry& a, const DecimalEntry& b) {
  if (!DecimalIsNonZero(b)) return DecimalZero();
  DecimalEntry quotient = TruncateDecimalEntry(DivideDecimals(a, b));
  DecimalEntry remainder = a;
  SubtractDecimals(remainder, MultiplyDecimals(quotient, b));
  // The quotient is rounded at its 31st place, so it may be one too far from zero; then the
  // remainder has the wrong sign and one divisor puts it right.
  if (DecimalIsNonZero(remainder) && remainder.sign != a.sign) {
    DecimalEntry step = b;
    step.sign = a.sign;
    AddDecimals(remainder, step);
  }
  return remainder;
}

class Evaluator {
 public:
  bool Evaluate(const ExpressionNode& node, ExpressionValue& out) {
    switch (node.op) {
      case ExpressionOp::kNumber:
        return Literal(node, out);
      case ExpressionOp::kString:
        out = ExpressionValue::Text(node.text);
        return true;
      case ExpressionOp::kName:
        return Name(node, out);
      case ExpressionOp::kCall:
        return Call(node, out);
      case ExpressionOp::kNegate: {
        if (!Evaluate(*node.operands[0], out)) return false;
        DecimalEntry number = ValueAsNumber(out);
        if (DecimalIsNonZero(number)) number.sign ^= 1;
        out = ExpressionValue::Number(number);
        return true;
      }
      case ExpressionOp::kNot: {
        if (!Evaluate(*node.operands[0], out)) return false;
        out = ExpressionValue::Integer(ValueIsTrue(out) ? 0 : 1);
        return true;
      }
      case ExpressionOp::kPower:
        return Power(node, out);
      case ExpressionOp::kChain:
        return Chain(node, out);
    }
    return Fail(node, kErrorInvalidExpression, "unknown operation");
  }

  int ErrorCode() const { return m_errorCode; }
  const std::string& Problem() const { return m_problem; }
  std::size_t Position() const { return m_position; }

 private:
  bool Fail(const ExpressionNode& node, int code, std::string problem) {
    m_errorCode = code;
    m_problem = std::move(problem);
    m_position = node.position;
    return false;
  }

  bool Literal(const ExpressionNode& node, ExpressionValue& out) {
    std::size_t point = node.text.find('.');
    std::size_t integerDigits = point == std::string::npos ? node.text.size() : point;
    std::size_t fractionDigits = point == std::string::npos ? 0 : node.text.size() - point - 1;
    // Digits the decimal work value cannot hold would be lost without a word.
    std::size_t leadingZeros = 0;
    while (leadingZeros + 1 < integerDigits && node.text[leadingZeros] == '0') ++leadingZeros;
    if (integerDigits - leadingZeros > 32 || fractionDigits > 32) {
      return Fail(node, kErrorInvalidExpression, "number has too many digits");
    }
    out = ExpressionValue::Number(DecimalFromText(node.text.data(), node.text.size()));
    return true;
  }

  bool Name(const ExpressionNode& node, ExpressionValue& out) {
    const BindingNode* binding = LookUpName(node.text.c_str());
    if (binding != nullptr && binding->kind == kBindingVariable && binding->reference != nullptr) {
      out = ReadReference(*binding->reference);
      return true;
    }
    FunctionRef function;
    if (FindFunction(node.text.c_str(), function) && MinimumArguments(function.code) == 0) {
      return Invoke(node, function, {}, out);
    }
    return Fail(node, kErrorNoBind, "no variable bound as " + node.text);
  }

  bool Call(const ExpressionNode& node, ExpressionValue& out) {
    FunctionRef function;
    if (!FindFunction(node.text.c_str(), function)) {
      return Fail(node, kErrorInvalidExpression, node.text + " is not a function");
    }
    int count = static_cast<int>(node.operands.size());
    int minimum = MinimumArguments(function.code);
    if (minimum < 0) return Fail(node, kErrorInvalidExpression, node.text + " is not available");
    if (count < minimum || count > function.maximum) {
      return Fail(node, kErrorInvalidExpression, "wrong number of arguments for " + node.text);
    }
    std::vector<ExpressionValue> arguments(node.operands.size());
    for (std::size_t i = 0; i < node.operands.size(); ++i) {
      if (!Evaluate(*node.operands[i], arguments[i])) return false;
    }
    return Invoke(node, function, arguments, out);
  }

  bool Invoke(const ExpressionNode& node, const FunctionRef& function,
              const std::vector<ExpressionValue>& arguments, ExpressionValue& out) {
    std::string problem;
    if (!CallBuiltInFunction(function.code, arguments, out, problem)) {
      return Fail(node, kErrorInvalidExpression, node.text + ": " + problem);
    }
    // A function's result compares as its declared result type.
    out.arithmeticType = ArithmeticTypeOfResult(function.resultType);
    if (out.arithmeticType == kArithmeticText && !out.isText) {
      out = ExpressionValue::Text(ValueAsText(out));
    }
    return true;
  }

  bool Power(const ExpressionNode& node, ExpressionValue& out) {
    ExpressionValue base;
    ExpressionValue exponent;
    if (!Evaluate(*node.operands[0], base) || !Evaluate(*node.operands[1], exponent)) return false;
    DecimalEntry power = ValueAsNumber(exponent);
    if (IsWhole(power) && power.high < DecimalEntry::kUnits + 9) {
      auto n = static_cast<std::int32_t>(ValueAsInteger(exponent));
      out = ExpressionValue::Number(PowerDecimal(ValueAsNumber(base), n));
      return true;
    }
    double result = std::pow(ValueAsReal(base), ValueAsReal(exponent));
    if (!std::isfinite(result)) return Fail(node, kErrorInvalidExpression, "power out of range");
    out = ExpressionValue::Number(DecimalFromFloat64(result));
    return true;
  }

  bool Chain(const ExpressionNode& node, ExpressionValue& out) {
    if (!Evaluate(*node.operands[0], out)) return false;
    for (std::size_t i = 0; i < node.chainOps.size(); ++i) {
      ChainOp op = node.chainOps[i];
      // AND and OR decide from the left operand alone when they can, so a guard such as
      // "x <> 0 AND 1/x > 2" never evaluates the part it protects.
      if (op == ChainOp::kAnd && !ValueIsTrue(out)) {
        out = ExpressionValue::Integer(0);
        continue;
      }
      if (op == ChainOp::kOr && ValueIsTrue(out)) {
        out = ExpressionValue::Integer(1);
        continue;
      }
      ExpressionValue right;
      if (!Evaluate(*node.operands[i + 1], right)) return false;
      if (!Apply(*node.operands[i + 1], op, out, right)) return false;
    }
    return true;
  }

  bool Apply(const ExpressionNode& node, ChainOp op, ExpressionValue& left,
             const ExpressionValue& right) {
    switch (op) {
      case ChainOp::kAdd:
      case ChainOp::kSubtract: {
        DecimalEntry sum = ValueAsNumber(left);
        if (op == ChainOp::kAdd) {
          AddDecimals(sum, ValueAsNumber(right));
        } else {
          SubtractDecimals(sum, ValueAsNumber(right));
        }
        left = ExpressionValue::Number(sum);
        return true;
      }
      case ChainOp::kMultiply:
        left = ExpressionValue::Number(MultiplyDecimals(ValueAsNumber(left), ValueAsNumber(right)));
        return true;
      case ChainOp::kDivide:
        left = ExpressionValue::Number(DivideDecimals(ValueAsNumber(left), ValueAsNumber(right)));
        return true;
      case ChainOp::kModulo:
        left = ExpressionValue::Number(Remainder(ValueAsNumber(left), ValueAsNumber(right)));
        return true;
      case ChainOp::kConcat: {
        std::string text = ValueAsText(left);
        std::string tail = ValueAsText(right);
        if (text.size() + tail.size() > kMaxExpressionText) {
          return Fail(node, kErrorInvalidExpression, "string result too long");
        }
        left = ExpressionValue::Text(text + tail);
        return true;
      }
      case ChainOp::kAnd:
      case ChainOp::kOr:
        left = ExpressionValue::Integer(ValueIsTrue(right) ? 1 : 0);
        return true;
      case ChainOp::kXor:
        left = ExpressionValue::Integer(ValueIsTrue(left) != ValueIsTrue(right) ? 1 : 0);
        return true;
      default:
        left = ExpressionValue::Integer(Compare(op, CompareValues(left, right)) ? 1 : 0);
        return true;
    }
  }

  static bool Compare(ChainOp op, int order) {
    switch (op) {
      case ChainOp::kEqual: return order == 0;
      case ChainOp::kNotEqual: return order != 0;
      case ChainOp::kLess: return order < 0;
      case ChainOp::kGreater: return order > 0;
      case ChainOp::kLessEqual: return order <= 0;
      default: return order >= 0;
    }
  }

  int m_errorCode = 0;
  std::string m_problem;
  std::size_t m_position = 0;
};

}  // namespace

EvaluationResult EvaluateText(std::string_view expression) {
  EvaluationResult result;
  ParseResult parsed = ParseExpression(expression);
  if (parsed.tree == nullptr) {
    result.errorCode = kErrorInvalidExpression;
    result.problem = parsed.problem;
    result.position = parsed.position;
    return result;
  }
  Evaluator evaluator;
  if (!evaluator.Evaluate(*parsed.tree, result.value)) {
    result.errorCode = evaluator.ErrorCode();
    result.problem = evaluator.Problem();
    result.position = evaluator.Position();
    result.value = ExpressionValue();
  }
  return result;
}

std::string ResultText(const EvaluationResult& result) {
  if (result.errorCode != 0) return std::string();
  return ValueAsText(result.value);
}

void Evaluate() {
  OwnedString text;
  PopToOwned(text);
  EvaluationResult result =
      EvaluateText(std::string_view(text.data == nullptr ? "" : text.data, text.length));
  FreeOwnedString(text);
  if (result.errorCode != 0) {
    PushEmpty();
    SetValueError(result.errorCode);
    return;
  }
  std::string value = ResultText(result);
  PushBytes(value.data(), static_cast<std::uint32_t>(value.size()));
}

}  // namespace vel::values
