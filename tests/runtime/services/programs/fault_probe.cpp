// A program on the runtime that faults on request, for the fault report tests: it runs through
// the program entry like any program (so the entry installs the fault reporter) and its main
// procedure does what the first argument names. The tests read the report it leaves and how it
// ended.

#include <fcntl.h>
#include <setjmp.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "platform/kernel/system_libraries.h"
#include "platform/user/message_box_script.h"
#include "runtime/services/error_report.h"
#include "runtime/services/program_entry.h"
#include "tests/runtime/services/programs/pool_allocator.h"

namespace {

using vel::services::ModuleDescriptor;

std::string g_scenario;

// An address no program maps; writing there is an access violation (and not a null pointer,
// which the undefined-behaviour sanitizer would catch first).
// The address is read from a variable so that the compiler cannot see where the write goes.
void WriteToUnmappedMemory() {
  volatile std::uintptr_t unmapped = 0x10;
  *reinterpret_cast<volatile int*>(unmapped) = 1;
}

int RecurseWithoutEnd(int depth) {
  volatile char frame[512];
  frame[0] = static_cast<char>(depth);
  // Never true; it keeps the compiler from seeing that the recursion has no end.
  if (depth == -1) return frame[0];
  return RecurseWithoutEnd(depth + 1) + frame[0];
}

DWORD WINAPI FaultOnThisThread(LPVOID) {
  WriteToUnmappedMemory();
  return 0;
}

DWORD WINAPI OverflowThisThread(LPVOID) {
  std::printf("%d\n", RecurseWithoutEnd(0));
  return 0;
}

sigjmp_buf g_afterFirstFault;
int g_faultsSeen = 0;

// Takes the program back to where it was before its first fault; later faults take their course.
LONG CALLBACK RecoverFromTheFirstFault(PEXCEPTION_POINTERS) {
  if (g_faultsSeen++ == 0) siglongjmp(g_afterFirstFault, 1);
  return EXCEPTION_CONTINUE_SEARCH;
}

void TouchAFileMappingPastTheFileEnd() {
  const int fd = open("empty.bin", O_RDWR | O_CREAT | O_TRUNC, 0600);
  void* mapping = mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd, 0);
  if (mapping == MAP_FAILED) return;
  std::printf("%d\n", *static_cast<volatile char*>(mapping));
}

void RunScenario() {
  if (g_scenario == "access" || g_scenario == "fallback") {
    WriteToUnmappedMemory();
  } else if (g_scenario == "thread") {
    HANDLE thread = CreateThread(nullptr, 0, FaultOnThisThread, nullptr, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
  } else if (g_scenario == "overflow") {
    std::printf("%d\n", RecurseWithoutEnd(0));
  } else if (g_scenario == "thread-overflow") {
    HANDLE thread = CreateThread(nullptr, 0, OverflowThisThread, nullptr, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
  } else if (g_scenario == "divide") {
    int quotient = 1;
    int divisor = 0;
    asm volatile("cltd\n\tidivl %1" : "+a"(quotient) : "r"(divisor) : "edx");
    std::printf("%d\n", quotient);
  } else if (g_scenario == "breakpoint") {
    asm volatile("int3");
  } else if (g_scenario == "illegal") {
    asm volatile("ud2");
  } else if (g_scenario == "privileged") {
    asm volatile("hlt");
  } else if (g_scenario == "bus") {
    TouchAFileMappingPastTheFileEnd();
  } else if (g_scenario == "twice") {
    AddVectoredExceptionHandler(0, RecoverFromTheFirstFault);
    if (sigsetjmp(g_afterFirstFault, 1) == 0) WriteToUnmappedMemory();
    WriteToUnmappedMemory();
  } else if (g_scenario == "cancel") {
    vel::platform::SetMessageBoxAnswerer([](const vel::platform::MessageBoxRecord&) { return IDCANCEL; });
    vel::services::ReportRuntimeError(529);
  } else if (g_scenario == "nomemory") {
    volatile std::size_t impossible = ~std::size_t{0} / 2;
    std::printf("%p\n", static_cast<void*>(new char[impossible]));
  } else if (g_scenario == "allocator") {
    vel::testing::FaultInsideTheNextAllocation();
    std::printf("%p\n", static_cast<void*>(new int(7)));
  }
  std::fprintf(stderr, "the scenario '%s' did not end the program\n", g_scenario.c_str());
}

ModuleDescriptor g_program{};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: fault_probe SCENARIO\n");
    return 64;
  }
  g_scenario = argv[1];
  if (g_scenario == "fallback") vel::platform::WithholdSystemLibrary("IMAGEHLP.DLL", true);
  vel::services::ProgramEntry(g_program, vel::services::RequestedVersion{0x104, 2, 0}, RunScenario);
}
