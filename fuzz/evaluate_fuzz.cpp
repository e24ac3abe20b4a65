// Evaluates the input bytes as an expression against a few bound variables of different kinds,
// so the sanitizers see the lexer, the parser's limits, every function and the conversions of
// bound values with arbitrary text. Every expression must either give a value or be refused with
// error 800 or 801, and leave the string stack as it found it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "runtime/values/binding_scopes.h"
#include "runtime/values/evaluate_expression.h"
#include "runtime/values/reference_factory.h"
#include "runtime/values/string_stack.h"

namespace {

using namespace vel::values;

struct Variables {
  std::int32_t count = 12;
  double rate = 0.25;
  char name[10] = {'S', 'm', 'i', 't', 'h', ' ', ' ', ' ', ' ', ' '};
  unsigned char balance[6] = {};
};

void BindOnce(Variables& variables) {
  static bool bound = false;
  if (bound) return;
  bound = true;
  struct Binding {
    const char* name;
    int typeCode;
    void* address;
    std::uint32_t size;
  } bindings[] = {
      {"count", 6, &variables.count, 4},
      {"rate", 9, &variables.rate, 8},
      {"cus:name", 18, variables.name, 10},
      {"balance", 10, variables.balance, 6},
  };
  for (const Binding& binding : bindings) {
    auto reference = CreateReference(binding.typeCode, binding.address, binding.size, 2, false);
    PushCString(binding.name);
    BindName(*reference);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Variables variables;
  BindOnce(variables);
  std::uint32_t before = CurrentStringStack().Count();
  EvaluationResult result =
      EvaluateText(std::string_view(reinterpret_cast<const char*>(data), size));
  if (result.errorCode != 0 && result.errorCode != 800 && result.errorCode != 801) std::abort();
  if (result.errorCode == 0 && ResultText(result).size() > kMaxExpressionText) std::abort();
  if (CurrentStringStack().Count() != before) std::abort();
  return 0;
}
