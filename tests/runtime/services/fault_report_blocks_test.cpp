#include "runtime/services/fault_report_blocks.h"

#include <gtest/gtest.h>
#include <link.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/kernel/system_libraries.h"
#include "runtime/services/fault_call_stack.h"
#include "runtime/services/fault_line.h"
#include "runtime/services/fault_modules.h"
#include "tests/runtime/services/fault_test_support.h"

namespace vel::services {
namespace {

using testing::CaptureReport;
using testing::GuardedPage;
using testing::Hex8;

std::string LineText(FaultLine& line) { return std::string(line.Data(), line.Length()); }

TEST(FaultLine, FormatsNumbersAndCutsAtItsCapacity) {
  FaultLine line;
  line.Hex(0x1a2b, 8).Text("|").Hex(0xABCDEF0123ull, 8, true).Text("|").Hex(0, 2).Text("|").Hex(0x5, 4, true);
  EXPECT_EQ(LineText(line), "00001a2b|ABCDEF0123|00|0005");
  FaultLine numbers;
  numbers.Decimal(0).Text(" ").Decimal(-1234).Text(" ").Decimal(INT64_MIN).Text(" ").Decimal(2147483647);
  EXPECT_EQ(LineText(numbers), "0 -1234 -9223372036854775808 2147483647");
  FaultLine limited;
  limited.Text("abcdef", 3).Text(nullptr).Text("xyz", 0);
  EXPECT_EQ(LineText(limited), "abc");

  const std::string longText(600, 'q');
  FaultLine full;
  full.Text(longText.c_str()).Hex(0xFF, 2).EndLine("\r\n");
  // An overlong line is cut, but still ends, so the next line does not run on from it.
  EXPECT_EQ(full.Length(), FaultLine::kCapacity);
  EXPECT_EQ(LineText(full), std::string(FaultLine::kCapacity - 2, 'q') + "\r\n");
}

TEST(FaultReportBlocks, ExceptionProcessAndRegistersLines) {
  CONTEXT context{};
  context.Rax = 0x1122334455667788ull;
  context.Rbx = 2;
  context.Rcx = 3;
  context.Rdx = 4;
  context.Rsi = 0xABCDEF;
  context.Rdi = 6;
  context.Rsp = 0x7ffc12345670ull;
  context.Rbp = 0x7ffc12345690ull;
  context.Rip = 0x55555555a1b2ull;
  context.EFlags = 0x10246;
  context.SegCs = 0x33;
  context.SegSs = 0x2b;
  context.SegDs = 0;
  context.SegEs = 0;
  context.SegFs = 0;
  context.SegGs = 0;
  const std::string text = CaptureReport([&](HFILE file) {
    WriteExceptionBlock(file, "Access Violation", context.Rip);
    WriteProcessBlock(file, "/opt/velmora/skarvine");
    WriteRegistersBlock(file, context);
  });
  EXPECT_EQ(text,
            "Exception: Access Violation at 55555555a1b2\r\n"
            "Process  : /opt/velmora/skarvine \r\n"
            "Registers:\r\n"
            "  EAX=1122334455667788 CS=0033 EIP=55555555a1b2 EFLGS=00010246\r\n"
            "  EBX=00000002 SS=002b ESP=7ffc12345670 EBP=7ffc12345690\r\n"
            "  ECX=00000003 DS=0000 ESI=00abcdef FS=0000\r\n"
            "  EDX=00000004 ES=0000 EDI=00000006 GS=0000\r\n");

  // A program path longer than a report line is cut; the line still ends where it should.
  const std::string deepPath = "/" + std::string(700, 'd') + "/skarvine";
  const std::string cut = CaptureReport([&](HFILE file) { WriteProcessBlock(file, deepPath.c_str()); });
  ASSERT_EQ(cut.size(), FaultLine::kCapacity);
  EXPECT_EQ(cut.substr(0, 12), "Process  : /");
  EXPECT_EQ(cut.substr(cut.size() - 2), "\r\n");
}

TEST(FaultReportBlocks, CodeBytesStopAtTheFirstUnreadableByte) {
  GuardedPage page;
  ASSERT_NE(page.Start(), nullptr);
  for (std::size_t i = 0; i < GuardedPage::kSize; ++i) page.Start()[i] = static_cast<unsigned char>(i);

  // The bytes hold the low byte of their offset in the page: 0xc0 to 0xdf here.
  const auto whole = reinterpret_cast<std::uintptr_t>(page.BeforeEnd(64));
  std::string expected = "Bytes at EIP:\r\n";
  for (int i = 0; i < 32; ++i) {
    char item[8];
    std::snprintf(item, sizeof item, " %02x", 0xC0 + i);
    if (i % 16 == 0) expected += "  " + Hex8(whole + static_cast<unsigned>(i)) + ":";
    expected += item;
    if (i % 16 == 15) expected += "\r\n";
  }
  EXPECT_EQ(CaptureReport([&](HFILE file) { WriteCodeBytesBlock(file, whole); }), expected);

  // Five bytes and then the unreadable page: the line ends where the bytes do.
  const auto five = reinterpret_cast<std::uintptr_t>(page.BeforeEnd(5));
  EXPECT_EQ(CaptureReport([&](HFILE file) { WriteCodeBytesBlock(file, five); }),
            "Bytes at EIP:\r\n  " + Hex8(five) + ": fb fc fd fe ff\r\n");

  // Sixteen bytes: one whole line, then the second line's address and its end.
  const auto sixteen = reinterpret_cast<std::uintptr_t>(page.BeforeEnd(16));
  const std::string two = CaptureReport([&](HFILE file) { WriteCodeBytesBlock(file, sixteen); });
  const std::string secondLine = "  " + Hex8(page.Unreadable()) + ":\r\n";
  ASSERT_GT(two.size(), secondLine.size());
  EXPECT_EQ(two.substr(two.size() - secondLine.size()), secondLine);
  EXPECT_EQ(std::count(two.begin(), two.end(), '\n'), 3);

  // Nothing readable at all: the heading, one address prefix and a line end.
  EXPECT_EQ(CaptureReport([&](HFILE file) { WriteCodeBytesBlock(file, page.Unreadable()); }),
            "Bytes at EIP:\r\n  " + Hex8(page.Unreadable()) + ":\r\n");
  EXPECT_EQ(CaptureReport([&](HFILE file) { WriteCodeBytesBlock(file, 0); }), "Bytes at EIP:\r\n  00000000:\r\n");
}

TEST(FaultReportBlocks, StackDumpsShowDoublewordsFourToALine) {
  GuardedPage page;
  ASSERT_NE(page.Start(), nullptr);
  auto* words = reinterpret_cast<std::uint32_t*>(page.BeforeEnd(32 * 4));
  for (std::uint32_t i = 0; i < 32; ++i) words[i] = 0x1000 * i + i;
  const auto start = reinterpret_cast<std::uintptr_t>(words);
  const std::string text = CaptureReport([&](HFILE file) { WriteStackDumpBlock(file, "Stack Dump at ESP:", start); });
  std::string expected = "Stack Dump at ESP:\r\n";
  for (int line = 0; line < 8; ++line) {
    expected += "  " + Hex8(start + 16u * static_cast<unsigned>(line)) + ":";
    for (int i = 0; i < 4; ++i) {
      const std::uint32_t value = words[line * 4 + i];
      expected += " " + Hex8(value);
    }
    expected += "\r\n";
  }
  EXPECT_EQ(text, expected);

  // Six readable doublewords: one line, then two doublewords and the line end.
  const auto six = reinterpret_cast<std::uintptr_t>(page.BeforeEnd(6 * 4));
  const std::string cut = CaptureReport([&](HFILE file) { WriteStackDumpBlock(file, "Stack Dump at EBP-32:", six); });
  const std::string lastLine = "  " + Hex8(six + 16) + ": " + Hex8(words[30]) + " " + Hex8(words[31]) + "\r\n";
  EXPECT_EQ(cut.substr(cut.size() - lastLine.size()), lastLine);
  EXPECT_EQ(std::count(cut.begin(), cut.end(), '\n'), 3);
}

// An enumeration function that lists whatever the test put in `g_listed`.
std::vector<LoadedModule> g_listed;
BOOL WINAPI ListTestModules(HANDLE, PENUMLOADED_MODULES_CALLBACK64 callback, PVOID context) {
  for (const LoadedModule& module : g_listed) {
    if (!callback(module.name, module.base, static_cast<ULONG>(module.size), context)) break;
  }
  return TRUE;
}

TEST(FaultReportModules, ListsWhatTheImageHelpLibraryEnumeratesAndKeepsIt) {
  g_listed = {{0x400000, 0x2000, "/usr/bin/skarvine"}, {0x7f0000001000ull, 0x30000, "/lib/libc.so.6"}};
  LoadedModuleTable table;
  RegisteredModuleSnapshot registered;
  const std::string text =
      CaptureReport([&](HFILE file) { WriteModuleListBlock(file, ListTestModules, table, registered); });
  EXPECT_EQ(text,
            "Loaded Module List:\r\n"
            "  00400000-00402000 /usr/bin/skarvine\r\n"
            "  7f0000001000-7f0000031000 /lib/libc.so.6\r\n");
  ASSERT_EQ(table.Count(), 2u);
  EXPECT_EQ(table.Find(0x401fff)->name, std::string("/usr/bin/skarvine"));
  EXPECT_EQ(table.Find(0x402000), nullptr);
  EXPECT_EQ(table.Find(0x7f0000001000ull)->name, std::string("/lib/libc.so.6"));
  EXPECT_EQ(table.Find(0x3fffff), nullptr);
}

TEST(FaultReportModules, FallsBackToTheRegisteredModules) {
  static ModuleDescriptor descriptor{};
  ModuleList modules;
  HINSTANCE program = GetModuleHandleA(nullptr);
  ASSERT_TRUE(modules.Register(&descriptor, program));
  RegisteredModuleSnapshot registered;
  registered.Take(modules);
  ASSERT_EQ(registered.Count(), 1u);
  char path[MAX_PATH];
  GetModuleFileNameA(program, path, sizeof path);
  const std::string fallback = "Loaded Module List:\r\n  " + Hex8(reinterpret_cast<std::uintptr_t>(program)) + ": " +
                               path + "\r\n";
  LoadedModuleTable table;
  // No image-help library, and one that lists nothing, end the same way.
  EXPECT_EQ(CaptureReport([&](HFILE file) { WriteModuleListBlock(file, nullptr, table, registered); }), fallback);
  g_listed.clear();
  EXPECT_EQ(CaptureReport([&](HFILE file) { WriteModuleListBlock(file, ListTestModules, table, registered); }),
            fallback);
  EXPECT_EQ(table.Count(), 0u);
  // Without registered modules either, the block is empty.
  registered.Clear();
  EXPECT_EQ(CaptureReport([&](HFILE file) { WriteModuleListBlock(file, nullptr, table, registered); }), "");
  modules.Terminate(program);
}

// Where an address lies in its ELF object, found independently of the code under test: the
// loadable segment holding it, counted from 1, and the offset from that segment's start.
struct ExpectedPlace {
  std::uintptr_t address;
  std::uint32_t section = 0;
  std::uint64_t offset = 0;
};

int FindExpectedPlace(dl_phdr_info* info, size_t, void* data) {
  auto& place = *static_cast<ExpectedPlace*>(data);
  std::uint32_t number = 0;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& header = info->dlpi_phdr[i];
    if (header.p_type != PT_LOAD) continue;
    ++number;
    const std::uintptr_t start = info->dlpi_addr + header.p_vaddr;
    if (place.address >= start && place.address < start + header.p_memsz) {
      place.section = number;
      place.offset = place.address - start;
      return 1;
    }
  }
  return 0;
}

LoadedModuleTable LoadedModulesOfThisProcess() {
  HMODULE imageHelp = LoadLibraryA("IMAGEHLP.DLL");
  auto enumerate = reinterpret_cast<PENUMERATE_LOADED_MODULES64>(
      reinterpret_cast<void (*)()>(GetProcAddress(imageHelp, "EnumerateLoadedModules64")));
  LoadedModuleTable table;
  RegisteredModuleSnapshot none;
  CaptureReport([&](HFILE file) { WriteModuleListBlock(file, enumerate, table, none); });
  return table;
}

TEST(FaultReportCallStack, FindsTheSectionAndOffsetOfCodeInItsImage) {
  const LoadedModuleTable modules = LoadedModulesOfThisProcess();
  for (std::uintptr_t address : {reinterpret_cast<std::uintptr_t>(&LoadedModulesOfThisProcess),
                                 reinterpret_cast<std::uintptr_t>(&std::strlen)}) {
    const LoadedModule* module = modules.Find(address);
    ASSERT_NE(module, nullptr);
    ExpectedPlace expected{address};
    dl_iterate_phdr(FindExpectedPlace, &expected);
    ASSERT_NE(expected.section, 0u);
    const ImagePlace place = FindImagePlace(module->base, address);
    EXPECT_EQ(place.section, expected.section) << module->name;
    EXPECT_EQ(place.offset, expected.offset) << module->name;
  }
  // Memory that holds no image, or cannot be read, has no place.
  std::vector<unsigned char> heap(256, 0);
  EXPECT_EQ(FindImagePlace(reinterpret_cast<std::uintptr_t>(heap.data()), reinterpret_cast<std::uintptr_t>(&heap[8])).section,
            0u);
  GuardedPage page;
  EXPECT_EQ(FindImagePlace(page.Unreadable(), page.Unreadable() + 8).section, 0u);
}

TEST(FaultReportCallStack, FollowsTheFrameChainWhileItIsSound) {
  const LoadedModuleTable modules = LoadedModulesOfThisProcess();
  const auto code = reinterpret_cast<std::uintptr_t>(&LoadedModulesOfThisProcess);
  const LoadedModule* module = modules.Find(code);
  ASSERT_NE(module, nullptr);
  const ImagePlace place = FindImagePlace(module->base, code);

  // Three frames, each saving the next frame pointer and a return address above it; the third
  // points back down, which ends the walk.
  GuardedPage page;
  ASSERT_NE(page.Start(), nullptr);
  auto* stack = reinterpret_cast<std::uint64_t*>(page.Start());
  const auto at = [&](int slot) { return reinterpret_cast<std::uint64_t>(&stack[slot]); };
  stack[0] = at(4);
  stack[1] = code + 1;
  stack[4] = at(8);
  stack[5] = 0x10;
  stack[8] = at(2);
  stack[9] = code + 2;

  char section[32];
  std::snprintf(section, sizeof section, "%04X:%08llX", place.section, static_cast<unsigned long long>(place.offset));
  auto line = [&](std::uint64_t address, std::uint64_t frame, const std::string& where) {
    char text[64];
    std::snprintf(text, sizeof text, "%08llX  %08llX  ", static_cast<unsigned long long>(address),
                  static_cast<unsigned long long>(frame));
    return text + where + "\n";
  };
  char plusOne[32];
  std::snprintf(plusOne, sizeof plusOne, "%04X:%08llX", place.section, static_cast<unsigned long long>(place.offset + 1));
  const std::string text = CaptureReport([&](HFILE file) { WriteCallStackBlock(file, code, at(0), modules); });
  EXPECT_EQ(text, "Call Stack:\r\n" + line(code, at(0), std::string(section) + " " + module->name) +
                      line(code + 1, at(4), std::string(plusOne) + " " + module->name) +
                      line(0x10, at(8), "0000:00000000 "));

  // A next frame in memory that cannot be written, or cannot be read at all, ends the walk too.
  stack[0] = page.Unreadable();
  const std::string unreadable = CaptureReport([&](HFILE file) { WriteCallStackBlock(file, code, at(0), modules); });
  EXPECT_EQ(std::count(unreadable.begin(), unreadable.end(), '\n'), 2);
  stack[0] = at(4);
  mprotect(page.Start(), GuardedPage::kSize, PROT_READ);
  const std::string readOnly = CaptureReport([&](HFILE file) { WriteCallStackBlock(file, code, at(0), modules); });
  EXPECT_EQ(std::count(readOnly.begin(), readOnly.end(), '\n'), 2);
  mprotect(page.Start(), GuardedPage::kSize, PROT_READ | PROT_WRITE);
  // A misaligned frame pointer ends it as well.
  stack[0] = at(4) + 2;
  const std::string misaligned = CaptureReport([&](HFILE file) { WriteCallStackBlock(file, code, at(0), modules); });
  EXPECT_EQ(std::count(misaligned.begin(), misaligned.end(), '\n'), 2);
}

}  // namespace
}  // namespace vel::services
