#include "runtime/services/fault_report_blocks.h"

#include "runtime/services/fault_line.h"
#include "runtime/services/fault_memory.h"

namespace vel::services {
namespace {

constexpr int kCodeBytes = 32;
constexpr int kCodeBytesPerLine = 16;
constexpr int kStackDoublewords = 32;
constexpr int kDoublewordsPerLine = 4;

// Both dumps share their shape: items of `itemSize` bytes, `perLine` to a line, each line
// headed by the address of its first item.
void WriteDump(HFILE file, std::uint64_t address, int items, int perLine, int itemSize) {
  FaultLine line;
  for (int i = 0; i < items; ++i) {
    const std::uint64_t at = address + static_cast<std::uint64_t>(i) * static_cast<std::uint64_t>(itemSize);
    if (i % perLine == 0) line.Text("  ").Hex(at, 8).Text(":");
    std::uint32_t value = 0;
    if (!ReadFaultMemory(static_cast<std::uintptr_t>(at), &value, static_cast<std::size_t>(itemSize))) {
      line.EndLine("\r\n").WriteTo(file);
      return;
    }
    line.Text(" ").Hex(value, itemSize * 2);
    if (i % perLine == perLine - 1) line.EndLine("\r\n").WriteTo(file);
  }
}

struct RegisterValue {
  const char* name;
  std::uint64_t value;
  int minDigits;
};

// One line of the registers block: four "NAME=value" pairs.
void WriteRegisterLine(HFILE file, const RegisterValue (&registers)[4]) {
  FaultLine line;
  line.Text(" ");
  for (const RegisterValue& each : registers) line.Text(" ").Text(each.name).Text("=").Hex(each.value, each.minDigits);
  line.EndLine("\r\n").WriteTo(file);
}

}  // namespace

void WriteExceptionBlock(HFILE file, const char* name, std::uint64_t address) {
  FaultLine().Text("Exception: ").Text(name).Text(" at ").Hex(address, 8).EndLine("\r\n").WriteTo(file);
}

void WriteProcessBlock(HFILE file, const char* programPath) {
  FaultLine().Text("Process  : ").Text(programPath).Text(" ").EndLine("\r\n").WriteTo(file);
}

void WriteRegistersBlock(HFILE file, const CONTEXT& c) {
  FaultLine().Text("Registers:\r\n").WriteTo(file);
  WriteRegisterLine(file, {{"EAX", c.Rax, 8}, {"CS", c.SegCs, 4}, {"EIP", c.Rip, 8}, {"EFLGS", c.EFlags, 8}});
  WriteRegisterLine(file, {{"EBX", c.Rbx, 8}, {"SS", c.SegSs, 4}, {"ESP", c.Rsp, 8}, {"EBP", c.Rbp, 8}});
  WriteRegisterLine(file, {{"ECX", c.Rcx, 8}, {"DS", c.SegDs, 4}, {"ESI", c.Rsi, 8}, {"FS", c.SegFs, 4}});
  WriteRegisterLine(file, {{"EDX", c.Rdx, 8}, {"ES", c.SegEs, 4}, {"EDI", c.Rdi, 8}, {"GS", c.SegGs, 4}});
}

void WriteCodeBytesBlock(HFILE file, std::uint64_t address) {
  FaultLine().Text("Bytes at EIP:\r\n").WriteTo(file);
  WriteDump(file, address, kCodeBytes, kCodeBytesPerLine, 1);
}

void WriteStackDumpBlock(HFILE file, const char* heading, std::uint64_t address) {
  FaultLine().Text(heading).EndLine("\r\n").WriteTo(file);
  WriteDump(file, address, kStackDoublewords, kDoublewordsPerLine, 4);
}

}  // namespace vel::services
