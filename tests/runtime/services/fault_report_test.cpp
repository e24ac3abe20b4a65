#include "runtime/services/fault_reporter.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/services/fault_report_file.h"

// Every case runs the fault probe (tests/runtime/services/programs/fault_probe.cpp) in a child
// process of its own, in a fresh directory, and reads the report it leaves there.

namespace vel::services {
namespace {

namespace fs = std::filesystem;

bool SanitizedBuild() {
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
  return true;
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
  return true;
#else
  return false;
#endif
}

struct ProbeRun {
  /// The signal that ended the probe, or 0 when it exited.
  int signal = 0;
  int exitCode = -1;
  std::string errors;
};

class FaultReport : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_dir = fs::path(::testing::TempDir()) / (std::string("vel_fault_") + info->name() + "_" + std::to_string(getpid()));
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  /// Runs the probe with a scenario in the test's directory and waits for it to end.
  ProbeRun Run(const std::string& scenario) const {
    // Everything the child needs is made before the fork: between fork and exec it may only
    // make system calls, as another thread of this process may hold the allocator's lock.
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
      const std::string entry = *variable;
      if (entry.rfind("VELMORA_DISPLAY=", 0) == 0 || entry.rfind("VELMORA_WINDIR=", 0) == 0 ||
          entry.rfind("ASAN_OPTIONS=", 0) == 0) {
        continue;
      }
      environment.push_back(entry);
    }
    environment.push_back("VELMORA_DISPLAY=headless");
    environment.push_back("VELMORA_WINDIR=" + m_dir.string());
    // The sanitizers' own fault handlers would report these faults instead of letting them
    // reach the program's; the program's are what is under test.
    environment.push_back(
        "ASAN_OPTIONS=handle_segv=0:handle_sigbus=0:handle_sigill=0:handle_sigfpe=0:handle_abort=0:detect_leaks=0");
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string program = VEL_FAULT_PROBE;
    std::string argument = scenario;
    char* argv[] = {program.data(), argument.data(), nullptr};
    const std::string directory = m_dir.string();
    const std::string errors = (m_dir / "stderr.txt").string();

    const pid_t child = fork();
    if (child == 0) {
      if (chdir(directory.c_str()) != 0) _exit(70);
      const int errorFile = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (errorFile < 0 || dup2(errorFile, STDERR_FILENO) < 0) _exit(71);
      execve(program.c_str(), argv, envp.data());
      _exit(72);
    }
    ProbeRun run;
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return run;
    if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    run.errors = Read("stderr.txt");
    return run;
  }

  std::string Read(const std::string& name) const {
    std::ifstream file(m_dir / name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }

  /// The report files in the directory, by name.
  std::vector<std::string> Reports() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_dir)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("VXFAULT", 0) == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  void Touch(const std::string& name) const { std::ofstream(m_dir / name) << "earlier report\r\n"; }

  fs::path m_dir;
};

std::vector<std::string> SplitAfter(const std::string& text, char end) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t stop = text.find(end, start);
    stop = stop == std::string::npos ? text.size() : stop + 1;
    lines.push_back(text.substr(start, stop - start));
    start = stop;
  }
  return lines;
}

// Checks the nine blocks of a report in order, each line against its format, and returns the
// faulting instruction address.
std::string ExpectCompleteReport(const std::string& report, const std::string& name) {
  const std::vector<std::string> lines = SplitAfter(report, '\n');
  std::size_t at = 0;
  auto next = [&]() -> std::string { return at < lines.size() ? lines[at++] : std::string(); };
  std::smatch match;
  const std::string first = next();
  EXPECT_TRUE(std::regex_match(first, match, std::regex("Exception: " + name + " at ([0-9a-f]{8,})\r\n"))) << first;
  const std::string address = match.size() > 1 ? match[1].str() : "";
  EXPECT_EQ(next(), std::string("Process  : ") + VEL_FAULT_PROBE + " \r\n");
  EXPECT_EQ(next(), "Registers:\r\n");
  const std::string registers = next();
  EXPECT_TRUE(std::regex_match(registers, match,
                               std::regex("  EAX=[0-9a-f]{8,} CS=[0-9a-f]{4} EIP=([0-9a-f]{8,}) EFLGS=[0-9a-f]{8}\r\n")))
      << registers;
  if (match.size() > 1) {
    EXPECT_EQ(match[1].str(), address);
  }
  EXPECT_TRUE(std::regex_match(next(), std::regex("  EBX=[0-9a-f]{8,} SS=[0-9a-f]{4} ESP=[0-9a-f]{8,} EBP=[0-9a-f]{8,}\r\n")));
  EXPECT_TRUE(std::regex_match(next(), std::regex("  ECX=[0-9a-f]{8,} DS=[0-9a-f]{4} ESI=[0-9a-f]{8,} FS=[0-9a-f]{4}\r\n")));
  EXPECT_TRUE(std::regex_match(next(), std::regex("  EDX=[0-9a-f]{8,} ES=[0-9a-f]{4} EDI=[0-9a-f]{8,} GS=[0-9a-f]{4}\r\n")));
  EXPECT_EQ(next(), "Bytes at EIP:\r\n");
  const std::string bytes = next();
  EXPECT_TRUE(std::regex_match(bytes, std::regex("  " + address + ":( [0-9a-f]{2}){16}\r\n"))) << bytes;
  EXPECT_TRUE(std::regex_match(next(), std::regex("  [0-9a-f]{8,}:( [0-9a-f]{2}){16}\r\n")));
  for (const char* heading : {"Stack Dump at ESP:\r\n", "Stack Dump at EBP-32:\r\n"}) {
    EXPECT_EQ(next(), heading);
    // A dump ends early where the stack cannot be read (at once, after a stack overflow); its
    // first line is always there.
    EXPECT_TRUE(std::regex_match(next(), std::regex("  [0-9a-f]{8,}:( [0-9a-f]{8}){0,4}\r\n")));
    while (at < lines.size() && std::regex_match(lines[at], std::regex("  [0-9a-f]{8,}:( [0-9a-f]{8}){0,4}\r\n"))) ++at;
  }
  EXPECT_EQ(next(), "Loaded Module List:\r\n");
  bool listsTheProgram = false;
  bool listsTheCLibrary = false;
  while (at < lines.size() && std::regex_match(lines[at], match, std::regex("  [0-9a-f]{8,}-[0-9a-f]{8,} (.*)\r\n"))) {
    listsTheProgram = listsTheProgram || match[1].str() == VEL_FAULT_PROBE;
    listsTheCLibrary = listsTheCLibrary || match[1].str().find("libc.so") != std::string::npos;
    ++at;
  }
  EXPECT_TRUE(listsTheProgram);
  EXPECT_TRUE(listsTheCLibrary);
  EXPECT_EQ(next(), "Call Stack:\r\n");
  std::string upper = address;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::size_t frames = 0;
  while (at < lines.size() && std::regex_match(lines[at], match,
                                               std::regex("([0-9A-F]{8,})  [0-9A-F]{8,}  ([0-9A-F]{4}):[0-9A-F]{8} (.*)\n"))) {
    if (frames == 0 && name != "Stack Overflow") {
      EXPECT_EQ(match[1].str(), upper);
      EXPECT_NE(match[2].str(), "0000");
    }
    ++frames;
    ++at;
  }
  EXPECT_GE(frames, 1u);
  EXPECT_EQ(next(), "Library State:\r\n");
  for (const char* label : {"EVENT     ", "FIELD     ", "FOCUS     ", "ACCEPTED  ", "FIRSTFIELD", "LASTFIELD ",
                            "ERRORCODE ", "ERROR     "}) {
    const std::string line = next();
    EXPECT_EQ(line.substr(0, 15), std::string("  ") + label + " = ") << line;
    EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
  }
  EXPECT_EQ(at, lines.size()) << "after the last block: " << (at < lines.size() ? lines[at] : "");
  return address;
}

TEST_F(FaultReport, AnAccessViolationWritesEveryBlockAndTheProgramStillDiesOfIt) {
  const ProbeRun run = Run("access");
  EXPECT_EQ(run.signal, SIGSEGV) << run.errors;
  ASSERT_EQ(Reports(), std::vector<std::string>{"VXFAULT1.TXT"});
  const std::string report = Read("VXFAULT1.TXT");
  const std::string address = ExpectCompleteReport(report, "Access Violation");
  EXPECT_NE(address, "");
  // No current event without a window, and no error.
  EXPECT_NE(report.find("  EVENT      = 0\r\n"), std::string::npos);
  EXPECT_NE(report.find("  ERRORCODE  = 0\r\n"), std::string::npos);
}

TEST_F(FaultReport, EachKindOfFaultIsNamedAndEndsTheProgramWithItsSignal) {
  struct Case {
    const char* scenario;
    const char* name;
    int signal;
  };
  for (const Case& c : {Case{"illegal", "Illegal Instruction", SIGILL}, Case{"privileged", "Privileged Instruction", SIGSEGV},
                        Case{"bus", "Page Fault", SIGBUS}, Case{"thread", "Access Violation", SIGSEGV}}) {
    SCOPED_TRACE(c.scenario);
    const ProbeRun run = Run(c.scenario);
    EXPECT_EQ(run.signal, c.signal) << run.errors;
    ASSERT_EQ(Reports(), std::vector<std::string>{"VXFAULT1.TXT"});
    ExpectCompleteReport(Read("VXFAULT1.TXT"), c.name);
    fs::remove(m_dir / "VXFAULT1.TXT");
  }
}

TEST_F(FaultReport, AStackOverflowIsReportedFromTheAlternateStack) {
  // On the program's first thread and on a thread it starts, each with its own alternate stack.
  for (const char* scenario : {"overflow", "thread-overflow"}) {
    SCOPED_TRACE(scenario);
    const ProbeRun run = Run(scenario);
    EXPECT_EQ(run.signal, SIGSEGV) << run.errors;
    ASSERT_EQ(Reports(), std::vector<std::string>{"VXFAULT1.TXT"});
    ExpectCompleteReport(Read("VXFAULT1.TXT"), "Stack Overflow");
    fs::remove(m_dir / "VXFAULT1.TXT");
  }
}

TEST_F(FaultReport, DivisionByZeroAndBreakpointsPassThroughWithoutAReport) {
  EXPECT_EQ(Run("divide").signal, SIGFPE);
  EXPECT_EQ(Run("breakpoint").signal, SIGTRAP);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(FaultReport, ASecondFaultWritesNothing) {
  const ProbeRun run = Run("twice");
  EXPECT_EQ(run.signal, SIGSEGV) << run.errors;
  EXPECT_EQ(Reports(), std::vector<std::string>{"VXFAULT1.TXT"});
}

TEST_F(FaultReport, TheReportGoesToTheFirstFreeName) {
  Touch("VXFAULT1.TXT");
  Touch("VXFAULT2.TXT");
  Run("access");
  EXPECT_NE(Read("VXFAULT3.TXT").find("Exception: Access Violation"), std::string::npos);
  EXPECT_EQ(Read("VXFAULT1.TXT"), "earlier report\r\n");

  for (char digit = '3'; digit <= '9'; ++digit) Touch(std::string("VXFAULT") + digit + ".TXT");
  Run("access");
  EXPECT_NE(Read("VXFAULTA.TXT").find("Exception: Access Violation"), std::string::npos);
}

TEST_F(FaultReport, NamesRunFromOneToZThenUnderscore) {
  const fs::path previous = fs::current_path();
  fs::current_path(m_dir);
  char name[kFaultReportNameSize];
  ChooseFaultReportName(name);
  EXPECT_STREQ(name, "VXFAULT1.TXT");
  for (char c : std::string("123456789ABCDEFGHIJKLMNOPQRSTUVWXY")) Touch(std::string("VXFAULT") + c + ".TXT");
  ChooseFaultReportName(name);
  EXPECT_STREQ(name, "VXFAULTZ.TXT");
  Touch("VXFAULTZ.TXT");
  ChooseFaultReportName(name);
  EXPECT_STREQ(name, "VXFAULT_.TXT");
  // The last name is taken whether or not it exists.
  Touch("VXFAULT_.TXT");
  ChooseFaultReportName(name);
  EXPECT_STREQ(name, "VXFAULT_.TXT");
  fs::current_path(previous);
}

TEST_F(FaultReport, WithoutTheImageHelpLibraryTheRegisteredModulesAreListed) {
  const ProbeRun run = Run("fallback");
  EXPECT_EQ(run.signal, SIGSEGV) << run.errors;
  const std::string report = Read("VXFAULT1.TXT");
  const std::string modules = "Loaded Module List:\r\n  ([0-9a-f]{8,}): " + std::string(VEL_FAULT_PROBE) + "\r\nCall Stack:\r\n";
  EXPECT_TRUE(std::regex_search(report, std::regex(modules))) << report;
  // Without loaded modules no frame has a module to be placed in.
  EXPECT_TRUE(std::regex_search(report, std::regex("Call Stack:\r\n[0-9A-F]{8,}  [0-9A-F]{8,}  0000:00000000 \n")));
}

TEST_F(FaultReport, CancelInTheRuntimeErrorBoxWritesTheReport) {
  const ProbeRun run = Run("cancel");
  EXPECT_EQ(run.signal, SIGSEGV) << run.errors;
  const std::string report = Read("VXFAULT1.TXT");
  ExpectCompleteReport(report, "Access Violation");
  EXPECT_NE(report.find("  ERRORCODE  = 529\r\n  ERROR      = Unable to open WINDOW\r\n"), std::string::npos) << report;
}

TEST_F(FaultReport, AnAllocationFailureNobodyCatchesIsReportedAsNoMemory) {
  if (SanitizedBuild()) GTEST_SKIP() << "AddressSanitizer reports an impossible allocation itself instead of throwing";
  const ProbeRun run = Run("nomemory");
  EXPECT_EQ(run.signal, SIGABRT) << run.errors;
  ExpectCompleteReport(Read("VXFAULT1.TXT"), "No Memory");
}

TEST_F(FaultReport, AFaultWhileTheAllocatorsLockIsHeldIsStillReported) {
  if (SanitizedBuild()) GTEST_SKIP() << "AddressSanitizer's allocator owns operator new, so the probe cannot hold its lock";
  const ProbeRun run = Run("allocator");
  EXPECT_EQ(run.signal, SIGSEGV) << run.errors;
  EXPECT_EQ(run.errors.find("allocation while the allocator's lock is held"), std::string::npos);
  ExpectCompleteReport(Read("VXFAULT1.TXT"), "Access Violation");
}

TEST(FaultNames, OnlyTheReportedFaultsHaveNames) {
  EXPECT_STREQ(FaultName(EXCEPTION_ACCESS_VIOLATION), "Access Violation");
  EXPECT_STREQ(FaultName(EXCEPTION_IN_PAGE_ERROR), "Page Fault");
  EXPECT_STREQ(FaultName(STATUS_NO_MEMORY), "No Memory");
  EXPECT_STREQ(FaultName(EXCEPTION_ILLEGAL_INSTRUCTION), "Illegal Instruction");
  EXPECT_STREQ(FaultName(EXCEPTION_PRIV_INSTRUCTION), "Privileged Instruction");
  EXPECT_STREQ(FaultName(EXCEPTION_STACK_OVERFLOW), "Stack Overflow");
  EXPECT_EQ(FaultName(EXCEPTION_INT_DIVIDE_BY_ZERO), nullptr);
  EXPECT_EQ(FaultName(EXCEPTION_BREAKPOINT), nullptr);
  EXPECT_EQ(FaultName(0xE06D7363), nullptr);
}

}  // namespace
}  // namespace vel::services
