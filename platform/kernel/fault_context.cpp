#include "platform/kernel/fault_context.h"

#include <cstdint>

#include "platform/kernel/signal_stacks.h"

namespace vel::platform {
namespace {

// How far below the lowest address of a thread's stack an access still counts as running off
// its end (a large frame can step over the guard page), and how close to that end the stack
// pointer must be for it.
constexpr std::uintptr_t kBelowStackReach = 1024 * 1024;
constexpr std::uintptr_t kNearStackEnd = 64 * 1024;

#if defined(__x86_64__)

// Bits of the page-fault error code the kernel passes on in REG_ERR.
constexpr greg_t kPageFaultWrite = 0x2;
constexpr greg_t kPageFaultInstructionFetch = 0x10;
// uc_flags bit: REG_CSGSFS holds SS in its top 16 bits.
constexpr unsigned long kContextHasSs = 0x2;

WORD ReadDs() {
  WORD value;
  asm volatile("mov %%ds, %0" : "=r"(value));
  return value;
}
WORD ReadEs() {
  WORD value;
  asm volatile("mov %%es, %0" : "=r"(value));
  return value;
}
WORD ReadSs() {
  WORD value;
  asm volatile("mov %%ss, %0" : "=r"(value));
  return value;
}
WORD ReadCs() {
  WORD value;
  asm volatile("mov %%cs, %0" : "=r"(value));
  return value;
}
WORD ReadFs() {
  WORD value;
  asm volatile("mov %%fs, %0" : "=r"(value));
  return value;
}
WORD ReadGs() {
  WORD value;
  asm volatile("mov %%gs, %0" : "=r"(value));
  return value;
}
DWORD ReadFlags() { return static_cast<DWORD>(__builtin_ia32_readeflags_u64()); }

bool IsStackOverflow(std::uintptr_t address, std::uintptr_t stackPointer) {
  std::uintptr_t low = 0;
  std::uintptr_t high = 0;
  PreparedStackBounds(low, high);
  if (low == 0) {
    // Without known bounds only an access right beside the stack pointer counts.
    return address + kNearStackEnd >= stackPointer && address <= stackPointer + kNearStackEnd;
  }
  const bool accessAtEnd = address < low + kNearStackEnd && address + kBelowStackReach >= low;
  return accessAtEnd && stackPointer < low + kNearStackEnd;
}

bool FaultsAtPrivilegedInstruction(std::uintptr_t instruction) {
  unsigned char bytes[15];
  SIZE_T count = 0;
  ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<LPCVOID>(instruction), bytes, sizeof bytes, &count);
  return IsPrivilegedInstruction(bytes, count);
}

#endif

}  // namespace

#if defined(__x86_64__)

void ContextFromMachine(const ucontext_t& machine, CONTEXT& context) {
  const greg_t* r = machine.uc_mcontext.gregs;
  context = CONTEXT{};
  context.ContextFlags = CONTEXT_CONTROL | CONTEXT_INTEGER | CONTEXT_SEGMENTS;
  context.Rax = static_cast<DWORD64>(r[REG_RAX]);
  context.Rcx = static_cast<DWORD64>(r[REG_RCX]);
  context.Rdx = static_cast<DWORD64>(r[REG_RDX]);
  context.Rbx = static_cast<DWORD64>(r[REG_RBX]);
  context.Rsp = static_cast<DWORD64>(r[REG_RSP]);
  context.Rbp = static_cast<DWORD64>(r[REG_RBP]);
  context.Rsi = static_cast<DWORD64>(r[REG_RSI]);
  context.Rdi = static_cast<DWORD64>(r[REG_RDI]);
  context.R8 = static_cast<DWORD64>(r[REG_R8]);
  context.R9 = static_cast<DWORD64>(r[REG_R9]);
  context.R10 = static_cast<DWORD64>(r[REG_R10]);
  context.R11 = static_cast<DWORD64>(r[REG_R11]);
  context.R12 = static_cast<DWORD64>(r[REG_R12]);
  context.R13 = static_cast<DWORD64>(r[REG_R13]);
  context.R14 = static_cast<DWORD64>(r[REG_R14]);
  context.R15 = static_cast<DWORD64>(r[REG_R15]);
  context.Rip = static_cast<DWORD64>(r[REG_RIP]);
  context.EFlags = static_cast<DWORD>(r[REG_EFL]);
  // CS, GS, FS and (on kernels that save it) SS share one word, 16 bits each.
  const auto segments = static_cast<std::uint64_t>(r[REG_CSGSFS]);
  context.SegCs = static_cast<WORD>(segments);
  context.SegGs = static_cast<WORD>(segments >> 16);
  context.SegFs = static_cast<WORD>(segments >> 32);
  context.SegSs = (machine.uc_flags & kContextHasSs) != 0 ? static_cast<WORD>(segments >> 48) : ReadSs();
  context.SegDs = ReadDs();
  context.SegEs = ReadEs();
}

void CaptureContext(CONTEXT& context) {
  // getcontext keeps the registers a call preserves, the stack and the instruction pointer;
  // the flags and segments come straight from the processor.
  ucontext_t machine{};
  getcontext(&machine);
  ContextFromMachine(machine, context);
  context.EFlags = ReadFlags();
  context.SegCs = ReadCs();
  context.SegFs = ReadFs();
  context.SegGs = ReadGs();
}

void MachineFromContext(const CONTEXT& context, ucontext_t& machine) {
  greg_t* r = machine.uc_mcontext.gregs;
  r[REG_RAX] = static_cast<greg_t>(context.Rax);
  r[REG_RCX] = static_cast<greg_t>(context.Rcx);
  r[REG_RDX] = static_cast<greg_t>(context.Rdx);
  r[REG_RBX] = static_cast<greg_t>(context.Rbx);
  r[REG_RSP] = static_cast<greg_t>(context.Rsp);
  r[REG_RBP] = static_cast<greg_t>(context.Rbp);
  r[REG_RSI] = static_cast<greg_t>(context.Rsi);
  r[REG_RDI] = static_cast<greg_t>(context.Rdi);
  r[REG_R8] = static_cast<greg_t>(context.R8);
  r[REG_R9] = static_cast<greg_t>(context.R9);
  r[REG_R10] = static_cast<greg_t>(context.R10);
  r[REG_R11] = static_cast<greg_t>(context.R11);
  r[REG_R12] = static_cast<greg_t>(context.R12);
  r[REG_R13] = static_cast<greg_t>(context.R13);
  r[REG_R14] = static_cast<greg_t>(context.R14);
  r[REG_R15] = static_cast<greg_t>(context.R15);
  r[REG_RIP] = static_cast<greg_t>(context.Rip);
  r[REG_EFL] = static_cast<greg_t>(context.EFlags);
}

void ExceptionFromFault(int signal, const siginfo_t& info, const ucontext_t& machine, const CONTEXT& context,
                        EXCEPTION_RECORD& record) {
  record = EXCEPTION_RECORD{};
  record.ExceptionAddress = reinterpret_cast<PVOID>(context.Rip);
  const auto address = reinterpret_cast<std::uintptr_t>(info.si_addr);
  switch (signal) {
    case SIGILL:
      record.ExceptionCode = info.si_code == ILL_PRVOPC || info.si_code == ILL_PRVREG ? EXCEPTION_PRIV_INSTRUCTION
                                                                                      : EXCEPTION_ILLEGAL_INSTRUCTION;
      return;
    case SIGBUS:
      record.ExceptionCode = EXCEPTION_IN_PAGE_ERROR;
      record.NumberParameters = 2;
      record.ExceptionInformation[1] = address;
      return;
    default: break;
  }
  // A general protection fault carries no address; at a privileged instruction it is what the
  // system reports as one.
  if (info.si_code == SI_KERNEL && FaultsAtPrivilegedInstruction(context.Rip)) {
    record.ExceptionCode = EXCEPTION_PRIV_INSTRUCTION;
    return;
  }
  if (info.si_code != SI_KERNEL && IsStackOverflow(address, context.Rsp)) {
    record.ExceptionCode = EXCEPTION_STACK_OVERFLOW;
    return;
  }
  record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
  record.NumberParameters = 2;
  const greg_t error = machine.uc_mcontext.gregs[REG_ERR];
  record.ExceptionInformation[0] = (error & kPageFaultInstructionFetch) != 0 ? 8 : (error & kPageFaultWrite) != 0 ? 1 : 0;
  record.ExceptionInformation[1] = address;
}

#else

// Only the x86-64 register set has a place in CONTEXT; elsewhere faults are still dispatched,
// with an empty context.
void ContextFromMachine(const ucontext_t&, CONTEXT& context) { context = CONTEXT{}; }
void CaptureContext(CONTEXT& context) { context = CONTEXT{}; }
void MachineFromContext(const CONTEXT&, ucontext_t&) {}

void ExceptionFromFault(int signal, const siginfo_t& info, const ucontext_t&, const CONTEXT&,
                        EXCEPTION_RECORD& record) {
  record = EXCEPTION_RECORD{};
  record.ExceptionCode = signal == SIGILL   ? EXCEPTION_ILLEGAL_INSTRUCTION
                         : signal == SIGBUS ? EXCEPTION_IN_PAGE_ERROR
                                            : EXCEPTION_ACCESS_VIOLATION;
  record.NumberParameters = 2;
  record.ExceptionInformation[1] = reinterpret_cast<std::uintptr_t>(info.si_addr);
}

#endif

bool IsPrivilegedInstruction(const unsigned char* bytes, std::size_t count) {
  std::size_t at = 0;
  // Legacy prefixes, then at most one REX prefix, come before the opcode.
  while (at < count && (bytes[at] == 0x26 || bytes[at] == 0x2E || bytes[at] == 0x36 || bytes[at] == 0x3E ||
                        bytes[at] == 0x64 || bytes[at] == 0x65 || bytes[at] == 0x66 || bytes[at] == 0x67 ||
                        bytes[at] == 0xF0 || bytes[at] == 0xF2 || bytes[at] == 0xF3)) {
    ++at;
  }
  if (at < count && (bytes[at] & 0xF0) == 0x40) ++at;
  if (at >= count) return false;
  const unsigned char opcode = bytes[at];
  switch (opcode) {
    case 0xF4:                                            // HLT
    case 0xFA: case 0xFB:                                 // CLI, STI
    case 0xE4: case 0xE5: case 0xE6: case 0xE7:           // IN, OUT with an immediate port
    case 0xEC: case 0xED: case 0xEE: case 0xEF:           // IN, OUT with the port in DX
    case 0x6C: case 0x6D: case 0x6E: case 0x6F:           // INS, OUTS
      return true;
    case 0x0F: break;
    default: return false;
  }
  if (at + 1 >= count) return false;
  const unsigned char second = bytes[at + 1];
  switch (second) {
    case 0x06: case 0x07: case 0x08: case 0x09:           // CLTS, SYSRET, INVD, WBINVD
    case 0x20: case 0x21: case 0x22: case 0x23:           // MOV to and from control and debug registers
    case 0x30: case 0x32: case 0x35:                      // WRMSR, RDMSR, SYSEXIT
      return true;
    default: break;
  }
  if ((second != 0x00 && second != 0x01) || at + 2 >= count) return false;
  const unsigned char modrm = bytes[at + 2];
  const int mod = modrm >> 6;
  const int reg = (modrm >> 3) & 7;
  if (second == 0x00) return reg == 2 || reg == 3;       // LLDT, LTR
  if (mod != 3) return reg == 2 || reg == 3 || reg == 6 || reg == 7;  // LGDT, LIDT, LMSW, INVLPG
  return modrm == 0xD1 || modrm == 0xF8;                 // XSETBV, SWAPGS
}

int SignalForException(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_STACK_OVERFLOW: return SIGSEGV;
    case EXCEPTION_IN_PAGE_ERROR: return SIGBUS;
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION: return SIGILL;
    case EXCEPTION_INT_DIVIDE_BY_ZERO: return SIGFPE;
    case EXCEPTION_BREAKPOINT: return SIGTRAP;
    default: return SIGABRT;
  }
}

}  // namespace vel::platform
