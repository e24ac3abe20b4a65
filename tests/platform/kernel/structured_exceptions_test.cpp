#include <gtest/gtest.h>
#include <setjmp.h>
#include <sys/mman.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/kernel/fault_context.h"
#include "win32.h"
#include "win32/debugging.h"

namespace {

// A handler that notes what it saw and, for the first fault of a test, takes the program back to
// where the test set it up.
sigjmp_buf g_recovery;
std::vector<std::string> g_seen;
EXCEPTION_RECORD g_record;
CONTEXT g_context;

LONG CALLBACK NoteAndRecover(PEXCEPTION_POINTERS exception) {
  g_record = *exception->ExceptionRecord;
  g_context = *exception->ContextRecord;
  siglongjmp(g_recovery, 1);
}

LONG CALLBACK NoteFirst(PEXCEPTION_POINTERS) {
  g_seen.push_back("first");
  return EXCEPTION_CONTINUE_SEARCH;
}
LONG CALLBACK NoteSecond(PEXCEPTION_POINTERS) {
  g_seen.push_back("second");
  return EXCEPTION_CONTINUE_SEARCH;
}
LONG CALLBACK ContinueExecution(PEXCEPTION_POINTERS exception) {
  g_seen.push_back("continue " + std::to_string(exception->ExceptionRecord->ExceptionCode));
  return EXCEPTION_CONTINUE_EXECUTION;
}
LONG CALLBACK SayAndContinueSearch(PEXCEPTION_POINTERS exception) {
  std::fprintf(stderr, "handler saw %08x\n", static_cast<unsigned>(exception->ExceptionRecord->ExceptionCode));
  return EXCEPTION_CONTINUE_SEARCH;
}

class StructuredExceptions : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    g_seen.clear();
    // Death tests start the binary afresh; without its own fault handlers the address sanitizer
    // leaves a fault that nobody handles to end the process with its signal, as it would alone.
    const char* options = std::getenv("ASAN_OPTIONS");
    m_previousOptions = options != nullptr ? options : "";
    setenv("ASAN_OPTIONS", (m_previousOptions + ":handle_segv=0:handle_abort=0").c_str(), 1);
  }
  void TearDown() override { setenv("ASAN_OPTIONS", m_previousOptions.c_str(), 1); }

 private:
  std::string m_previousOptions;
};

TEST_F(StructuredExceptions, AccessViolationsReachTheHandlerWithAddressAndKind) {
  void* page = mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(page, MAP_FAILED);
  auto* readOnly = static_cast<volatile int*>(page);
  PVOID handler = AddVectoredExceptionHandler(1, NoteAndRecover);
  ASSERT_NE(handler, nullptr);
  if (sigsetjmp(g_recovery, 1) == 0) readOnly[3] = 1;
  EXPECT_EQ(g_record.ExceptionCode, EXCEPTION_ACCESS_VIOLATION);
  EXPECT_EQ(g_record.NumberParameters, 2u);
  EXPECT_EQ(g_record.ExceptionInformation[0], 1u);
  EXPECT_EQ(g_record.ExceptionInformation[1], reinterpret_cast<ULONG_PTR>(&readOnly[3]));
  EXPECT_EQ(reinterpret_cast<DWORD64>(g_record.ExceptionAddress), g_context.Rip);
  EXPECT_NE(g_context.Rsp, 0u);
  EXPECT_NE(g_context.SegCs, 0u);

  munmap(page, 4096);
  if (sigsetjmp(g_recovery, 1) == 0) std::printf("%d\n", readOnly[0]);
  EXPECT_EQ(g_record.ExceptionCode, EXCEPTION_ACCESS_VIOLATION);
  EXPECT_EQ(g_record.ExceptionInformation[0], 0u);
  EXPECT_EQ(RemoveVectoredExceptionHandler(handler), 1u);
  EXPECT_EQ(RemoveVectoredExceptionHandler(handler), 0u);
}

TEST_F(StructuredExceptions, IllegalInstructionsAreNamedAsSuch) {
  PVOID handler = AddVectoredExceptionHandler(1, NoteAndRecover);
  if (sigsetjmp(g_recovery, 1) == 0) asm volatile("ud2");
  EXPECT_EQ(g_record.ExceptionCode, EXCEPTION_ILLEGAL_INSTRUCTION);
  if (sigsetjmp(g_recovery, 1) == 0) asm volatile("hlt");
  EXPECT_EQ(g_record.ExceptionCode, EXCEPTION_PRIV_INSTRUCTION);
  RemoveVectoredExceptionHandler(handler);
}

TEST_F(StructuredExceptions, HandlersRunInOrderAndMayContinueASoftwareException) {
  PVOID second = AddVectoredExceptionHandler(0, NoteSecond);
  PVOID first = AddVectoredExceptionHandler(1, NoteFirst);
  PVOID last = AddVectoredExceptionHandler(0, ContinueExecution);
  const ULONG_PTR arguments[2] = {7, 8};
  RaiseException(0xE0000001, 0, 2, arguments);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"first", "second", "continue " + std::to_string(0xE0000001)}));
  RemoveVectoredExceptionHandler(first);
  RemoveVectoredExceptionHandler(second);
  RemoveVectoredExceptionHandler(last);
  EXPECT_EQ(AddVectoredExceptionHandler(0, nullptr), nullptr);
}

TEST_F(StructuredExceptions, WhatNoHandlerTakesEndsTheProcessWithTheSignal) {
  EXPECT_EXIT(
      {
        AddVectoredExceptionHandler(1, SayAndContinueSearch);
        volatile std::uintptr_t unmapped = 0x10;
        *reinterpret_cast<volatile int*>(unmapped) = 1;
      },
      ::testing::KilledBySignal(SIGSEGV), "handler saw c0000005");
  EXPECT_EXIT(
      {
        AddVectoredExceptionHandler(1, ContinueExecution);
        RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
      },
      ::testing::KilledBySignal(SIGSEGV), "");
  EXPECT_EXIT(RaiseException(STATUS_NO_MEMORY, EXCEPTION_NONCONTINUABLE, 0, nullptr), ::testing::KilledBySignal(SIGABRT),
              "");
  // A fault signal sent by another process is no processor fault: the handlers never see it.
  EXPECT_EXIT(
      {
        AddVectoredExceptionHandler(1, SayAndContinueSearch);
        raise(SIGSEGV);
      },
      ::testing::KilledBySignal(SIGSEGV), "^$");
}

TEST(PrivilegedInstructions, DecodesTheInstructionsOnlyTheKernelRuns) {
  struct Case {
    std::vector<unsigned char> bytes;
    bool privileged;
  };
  const Case cases[] = {
      {{0xF4}, true},                    // HLT
      {{0xFA}, true},                    // CLI
      {{0xEE}, true},                    // OUT DX, AL
      {{0x66, 0xE5, 0x60}, true},        // IN AX, 0x60 after an operand-size prefix
      {{0x0F, 0x20, 0xC0}, true},        // MOV RAX, CR0
      {{0x48, 0x0F, 0x22, 0xD8}, true},  // MOV CR3, RAX after a REX prefix
      {{0x0F, 0x30}, true},              // WRMSR
      {{0x0F, 0x01, 0x10}, true},        // LGDT [RAX]
      {{0x0F, 0x01, 0xF8}, true},        // SWAPGS
      {{0x0F, 0x01, 0xF9}, false},       // RDTSCP runs in user mode
      {{0x0F, 0x01, 0xD0}, false},       // XGETBV too
      {{0x0F, 0x0B}, false},             // UD2 is illegal, not privileged
      {{0x90}, false},                   // NOP
      {{0x0F}, false},                   // cut short
      {{}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vel::platform::IsPrivilegedInstruction(c.bytes.data(), c.bytes.size()), c.privileged)
        << static_cast<int>(c.bytes.empty() ? -1 : c.bytes[0]);
  }
}

TEST(ProcessMemory, CopiesWhatIsAccessibleAndSaysWhereItStopped) {
  auto* pages = static_cast<unsigned char*>(
      mmap(nullptr, 3 * 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(pages, MAP_FAILED);
  for (int i = 0; i < 2 * 4096; ++i) pages[i] = static_cast<unsigned char>(i * 7);
  mprotect(pages + 4096, 4096, PROT_READ);
  mprotect(pages + 2 * 4096, 4096, PROT_NONE);

  unsigned char buffer[64];
  SIZE_T count = 99;
  EXPECT_TRUE(ReadProcessMemory(GetCurrentProcess(), pages + 10, buffer, sizeof buffer, &count));
  EXPECT_EQ(count, sizeof buffer);
  EXPECT_EQ(buffer[5], static_cast<unsigned char>(15 * 7));

  // Across into the unreadable page: the readable part is copied and counted.
  SetLastError(0);
  EXPECT_TRUE(ReadProcessMemory(GetCurrentProcess(), pages + 2 * 4096 - 24, buffer, 24, &count));
  EXPECT_FALSE(ReadProcessMemory(GetCurrentProcess(), pages + 2 * 4096 - 16, buffer, 32, &count));
  EXPECT_EQ(count, 16u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PARTIAL_COPY));
  EXPECT_FALSE(ReadProcessMemory(GetCurrentProcess(), nullptr, buffer, 4, &count));
  EXPECT_EQ(count, 0u);

  const unsigned char bytes[4] = {1, 2, 3, 4};
  EXPECT_TRUE(WriteProcessMemory(GetCurrentProcess(), pages + 100, bytes, sizeof bytes, &count));
  EXPECT_EQ(pages[102], 3);
  EXPECT_FALSE(WriteProcessMemory(GetCurrentProcess(), pages + 4096 + 8, bytes, sizeof bytes, &count));
  EXPECT_EQ(count, 0u);
  EXPECT_FALSE(ReadProcessMemory(reinterpret_cast<HANDLE>(42), pages, buffer, 4, &count));
  munmap(pages, 3 * 4096);
}

}  // namespace
