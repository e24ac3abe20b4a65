// Drives the string stack with operations chosen by the input bytes, far past its limits, so the
// sanitizers see every path of pushes, pops, concatenation, reordering and ownership; and checks
// the locale-free text-to-real conversion against the C library's (this process keeps the "C"
// locale).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/values/number_text.h"
#include "runtime/values/string_stack.h"

namespace {

using namespace vel::values;

void CheckRealConversion(const std::uint8_t* data, std::size_t size) {
  std::size_t length = size < kMaxRealInput ? size : kMaxRealInput;
  std::string text(reinterpret_cast<const char*>(data), length);
  // The C library reads only up to a zero byte; compare on the same text.
  text = text.c_str();
  double expected = std::strtod(text.c_str(), nullptr);
  double actual = ParseReal(text.data(), text.size());
  bool same = (std::isnan(expected) && std::isnan(actual)) || expected == actual;
  if (!same || std::signbit(expected) != std::signbit(actual)) std::abort();
}

void RunOperations(const std::uint8_t* data, std::size_t size) {
  StringStack stack;
  StringStack* previous = ExchangeCurrentStringStack(&stack);
  char target[40];
  OwnedString owned;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    std::uint8_t argument = data[i + 1];
    std::size_t rest = size - i - 2;
    const char* restText = reinterpret_cast<const char*>(data + i + 2);
    std::uint32_t pieceLength = argument % 48 < rest ? argument % 48 : static_cast<std::uint32_t>(rest);
    switch (data[i] % 24) {
      case 0: PushString(restText, pieceLength); break;
      case 1: PushBytes(restText, pieceLength); break;
      case 2: PushLong(static_cast<std::int32_t>(argument * 16777619u)); break;
      case 3: PushReal(std::ldexp(argument - 128.0, argument % 64 * 16 - 512)); break;
      case 4: PushFlag(argument & 1); break;
      case 5: PushEmpty(); break;
      case 6: {
        char* block = AllocateStringBlock(pieceLength);
        if (block != nullptr) std::memcpy(block, restText, pieceLength);
        PushOwnedString(block, pieceLength);
        break;
      }
      case 7: PopToFixed(target, argument % sizeof target); break;
      case 8: PopToCString(target, argument % sizeof target); break;
      case 9: PopToPascal(target, argument % sizeof target); break;
      case 10: PopToOwned(owned); FreeOwnedString(owned); break;
      case 11: PopLength(); break;
      case 12: DropTop(); break;
      case 13: PopToReal(); break;
      case 14: TestNonBlank(); break;
      case 15: ClipTop(); break;
      case 16: UpperTop(); break;
      case 17: FitTop(argument % 40); break;
      case 18: DetachTop(); break;
      case 19: RollUp(argument % 40); break;
      case 20: ConcatAppend(); break;
      case 21: ConcatPrepend(); break;
      case 22: (argument & 1) ? CompareFull() : ComparePrefix(); break;
      case 23: RestoreStringStack((argument & 1) ? SaveStringStack() : nullptr); break;
    }
    if (stack.Count() > StringStack::kCapacity) std::abort();
  }
  ExchangeCurrentStringStack(previous);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckRealConversion(data, size);
  RunOperations(data, size);
  return 0;
}
