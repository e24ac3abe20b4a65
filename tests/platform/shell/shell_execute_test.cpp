#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/shell/process_launch.h"
#include "win32.h"

namespace vel::platform {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

/// A scratch folder holding a stand-in `xdg-open` that writes its arguments, NUL-separated, to
/// a record file; the folder goes first on PATH while a test runs.
class ShellExecuteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vel_shell_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_folder = pattern;
    m_oldPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    WriteRecorder("xdg-open", "xdg-open.record");
    setenv("PATH", (m_folder.string() + ":" + m_oldPath).c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", m_oldPath.c_str(), 1);
    std::error_code ignored;
    fs::remove_all(m_folder, ignored);
  }

  /// Writes an executable script named `name` that records its name, working directory and
  /// arguments in the record file called `record`. The record appears in one step (rename),
  /// so a reader never sees half of it.
  void WriteRecorder(const std::string& name, const std::string& record) {
    const fs::path script = m_folder / name;
    std::ofstream out(script);
    out << "#!/bin/sh\n"
        << "printf '%s\\0' \"$(pwd)\" \"$@\" > '" << (m_folder / record).string() << ".part'\n"
        << "mv '" << (m_folder / record).string() << ".part' '" << (m_folder / record).string() << "'\n";
    out.close();
    chmod(script.c_str(), 0755);
  }

  /// The recorded working directory and arguments, waiting up to ten seconds for the record.
  std::vector<std::string> Record(const std::string& name = "xdg-open.record") {
    const fs::path record = m_folder / name;
    for (int i = 0; i < 1000 && !fs::exists(record); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream in(record, std::ios::binary);
    std::vector<std::string> fields;
    std::string field;
    while (std::getline(in, field, '\0')) fields.push_back(field);
    fs::remove(record);
    return fields;
  }

  static bool Succeeded(HINSTANCE result) { return reinterpret_cast<uintptr_t>(result) > 32; }

  fs::path m_folder;
  std::string m_oldPath;
};

TEST_F(ShellExecuteTest, AddressesReachTheHandlerUnchangedAsOneArgument) {
  const fs::path canary = m_folder / "canary";
  const std::vector<std::string> addresses = {
      "http://example.test/search?q=a b&c=d;e",
      "http://example.test/$(touch " + canary.string() + ")",
      "http://example.test/`touch " + canary.string() + "`",
      "http://example.test/'quoted' \"double\" ; touch " + canary.string(),
      "http://example.test/line\nsecond line|pipe>out<in",
      "mailto:someone@example.test?subject=*.txt ~ #x",
  };
  for (const std::string& address : addresses) {
    SCOPED_TRACE(address);
    ASSERT_TRUE(Succeeded(ShellExecuteA(nullptr, nullptr, address.c_str(), nullptr, "", SW_SHOWNORMAL)));
    const std::vector<std::string> record = Record();
    ASSERT_EQ(record.size(), 2u);
    EXPECT_EQ(record[1], address);
  }
  EXPECT_FALSE(fs::exists(canary));
  EXPECT_FALSE(fs::exists(fs::current_path() / "out"));
}

TEST_F(ShellExecuteTest, AnsiTextArrivesAsUtf8) {
  // e-acute, the euro sign, a German sharp s and an unassigned byte of the code page.
  const std::string address = "http://example.test/caf\xE9?p=\x80&s=\xDF&u=\x81";
  ASSERT_TRUE(Succeeded(ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL)));
  const std::vector<std::string> record = Record();
  ASSERT_EQ(record.size(), 2u);
  EXPECT_EQ(record[1], "http://example.test/caf\xC3\xA9?p=\xE2\x82\xAC&s=\xC3\x9F&u=\xC2\x81");
}

TEST_F(ShellExecuteTest, FilesMustExistAndOpenInTheirDirectory) {
  std::ofstream(m_folder / "notes -x.txt") << "text";
  EXPECT_EQ(reinterpret_cast<uintptr_t>(ShellExecuteA(nullptr, nullptr, (m_folder / "missing.txt").c_str(), nullptr,
                                                      nullptr, SW_SHOWNORMAL)),
            uintptr_t{SE_ERR_FNF});
  EXPECT_EQ(reinterpret_cast<uintptr_t>(ShellExecuteA(nullptr, nullptr, "x.txt", nullptr,
                                                      (m_folder / "no such folder").c_str(), SW_SHOWNORMAL)),
            uintptr_t{SE_ERR_PNF});
  EXPECT_EQ(reinterpret_cast<uintptr_t>(ShellExecuteA(nullptr, nullptr, "", nullptr, nullptr, SW_SHOWNORMAL)),
            uintptr_t{SE_ERR_FNF});
  EXPECT_EQ(reinterpret_cast<uintptr_t>(ShellExecuteA(nullptr, nullptr, nullptr, nullptr, nullptr, SW_SHOWNORMAL)),
            uintptr_t{SE_ERR_FNF});

  // A relative name is found in the given directory, where the handler also runs.
  ASSERT_TRUE(Succeeded(ShellExecuteA(nullptr, nullptr, "notes -x.txt", nullptr, m_folder.c_str(), SW_SHOWNORMAL)));
  EXPECT_THAT(Record(), ElementsAre(m_folder.string(), (m_folder / "notes -x.txt").string()));
}

TEST_F(ShellExecuteTest, ProgramFilesStartWithTheirParameters) {
  WriteRecorder("tool", "tool.record");
  ASSERT_TRUE(Succeeded(ShellExecuteA(nullptr, nullptr, (m_folder / "tool").c_str(), "one \"two words\" $(x)",
                                      nullptr, SW_SHOWNORMAL)));
  const std::vector<std::string> record = Record("tool.record");
  ASSERT_EQ(record.size(), 4u);
  EXPECT_EQ(record[1], "one");
  EXPECT_EQ(record[2], "two words");
  EXPECT_EQ(record[3], "$(x)");
}

TEST_F(ShellExecuteTest, UnknownVerbsAndAMissingHandlerFail) {
  EXPECT_EQ(reinterpret_cast<uintptr_t>(ShellExecuteA(nullptr, "print", "http://example.test/", nullptr, nullptr,
                                                      SW_SHOWNORMAL)),
            uintptr_t{SE_ERR_NOASSOC});
  fs::remove(m_folder / "xdg-open");
  setenv("PATH", m_folder.c_str(), 1);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(ShellExecuteA(nullptr, nullptr, "http://example.test/", nullptr, nullptr,
                                                      SW_SHOWNORMAL)),
            uintptr_t{SE_ERR_NOASSOC});
}

TEST_F(ShellExecuteTest, WinExecStartsProgramsWithoutAShell) {
  WriteRecorder("server", "server.record");
  const fs::path canary = m_folder / "canary";
  const std::string commandLine = "server  plain \"with blanks\" \"say \"\"hi\"\"\" C:\\dir\\file ;touch " +
                                  canary.string();
  EXPECT_GT(WinExec(commandLine.c_str(), SW_HIDE), 31u);
  EXPECT_THAT(Record("server.record"),
              ElementsAre(::testing::_, "plain", "with blanks", "say \"hi\"", "C:\\dir\\file", ";touch",
                          canary.string()));
  EXPECT_FALSE(fs::exists(canary));

  EXPECT_EQ(WinExec("VEL_NO_SUCH_PROGRAM.EXE", SW_HIDE), UINT{ERROR_FILE_NOT_FOUND});
  EXPECT_EQ(WinExec("   ", SW_HIDE), UINT{ERROR_FILE_NOT_FOUND});
  EXPECT_EQ(WinExec(nullptr, SW_HIDE), UINT{ERROR_FILE_NOT_FOUND});
  std::ofstream(m_folder / "not_a_program") << "data";
  chmod((m_folder / "not_a_program").c_str(), 0644);
  EXPECT_EQ(WinExec((m_folder / "not_a_program").c_str(), SW_HIDE), UINT{ERROR_BAD_FORMAT});
}

TEST(CommandLineSplitting, FollowsTheDocumentedQuotingRules) {
  EXPECT_THAT(SplitCommandLine(""), ElementsAre());
  EXPECT_THAT(SplitCommandLine(" \t a\tb  "), ElementsAre("a", "b"));
  EXPECT_THAT(SplitCommandLine("\"\" x"), ElementsAre("", "x"));
  EXPECT_THAT(SplitCommandLine("a\"b c\"d e"), ElementsAre("ab cd", "e"));
  EXPECT_THAT(SplitCommandLine("\"unclosed run"), ElementsAre("unclosed run"));
  EXPECT_THAT(SplitCommandLine("back\\slash \\\"x"), ElementsAre("back\\slash", "\\x"));
}

// Help opens the help file with the desktop's handler, whatever was asked of it; a file that is
// nowhere, help on help and a missing name fail without starting anything.
TEST_F(ShellExecuteTest, HelpRequestsOpenTheHelpFile) {
  const fs::path helpFile = m_folder / "guide.hlp";
  std::ofstream(helpFile) << "help";
  const std::string withWindow = helpFile.string() + ">main";
  EXPECT_TRUE(WinHelpA(nullptr, withWindow.c_str(), HELP_KEY, reinterpret_cast<ULONG_PTR>("search")));
  std::vector<std::string> record = Record();
  ASSERT_EQ(record.size(), 2u);
  EXPECT_EQ(record[1], helpFile.string());
  EXPECT_TRUE(WinHelpA(nullptr, helpFile.c_str(), HELP_INDEX, 0));
  EXPECT_EQ(Record().size(), 2u);

  EXPECT_TRUE(WinHelpA(nullptr, helpFile.c_str(), HELP_QUIT, 0));
  EXPECT_TRUE(WinHelpA(nullptr, helpFile.c_str(), HELP_SETINDEX, 0));
  EXPECT_FALSE(WinHelpA(nullptr, (m_folder / "absent.hlp").c_str(), HELP_FORCEFILE, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(WinHelpA(nullptr, helpFile.c_str(), HELP_HELPONHELP, 0));
  EXPECT_FALSE(WinHelpA(nullptr, "", HELP_KEY, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  // None of the failures or tidy-ups started the handler.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(fs::exists(m_folder / "xdg-open.record"));
}

}  // namespace
}  // namespace vel::platform
