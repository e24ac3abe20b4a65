#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "tests/platform/kernel/profile_test_support.h"
#include "win32.h"

namespace {

using ProfileWrite = vel::platform::testing::ProfileDirectory;
using std::string;

TEST_F(ProfileWrite, FirstWriteCreatesTheWindowsDirectoryAndTheFile) {
  ASSERT_TRUE(WritePrivateProfileStringA("SearchParms", "Maxhits", "50", "skarvine.INI"));
  EXPECT_EQ(ReadBytes(m_windows + "/skarvine.INI"), "[SearchParms]\r\nMaxhits=50\r\n");
  ASSERT_TRUE(WritePrivateProfileStringA("SearchParms", "AndOr", "  AND", "skarvine.INI"));
  ASSERT_TRUE(WritePrivateProfileStringA("Other", "k", "v", "skarvine.INI"));
  EXPECT_EQ(ReadBytes(m_windows + "/skarvine.INI"),
            "[SearchParms]\r\nMaxhits=50\r\nAndOr=  AND\r\n[Other]\r\nk=v\r\n");
  char buffer[16];
  GetPrivateProfileStringA("searchparms", "andor", "", buffer, sizeof buffer, "skarvine.INI");
  EXPECT_STREQ(buffer, "AND");
}

TEST_F(ProfileWrite, SystemFileIsWinIniInTheWindowsDirectory) {
  ASSERT_TRUE(WriteProfileStringA("Velmora 4 Tracing", "auxtrace", "1"));
  EXPECT_EQ(ReadBytes(m_windows + "/win.ini"), "[Velmora 4 Tracing]\r\nauxtrace=1\r\n");
  EXPECT_EQ(GetProfileIntA("velmora 4 tracing", "AUXTRACE", 0), 1u);
  char buffer[8];
  EXPECT_EQ(GetProfileStringA("Velmora 4 Tracing", "auxtrace", "", buffer, sizeof buffer), 1u);
  EXPECT_EQ(GetPrivateProfileIntA("Velmora 4 Tracing", "auxtrace", 0, "win.ini"), 1u);
  char directory[MAX_PATH];
  EXPECT_EQ(GetWindowsDirectoryA(directory, sizeof directory), m_windows.size());
  EXPECT_EQ(directory, m_windows);
}

TEST_F(ProfileWrite, RewritesKeepEveryOtherLineByteForByte) {
  string file = Private("keep.ini");
  const string before =
      "text before any section\n; a comment\n[Unknown]\nodd line without equals\n\n"
      "[Search Parms]\n  Maxhits = 25   \n;inside comment\nViewFormat=list\n\n\n[Tail]\nx=1";
  WriteBytes(file, before);
  ASSERT_TRUE(WritePrivateProfileStringA("search parms", "MAXHITS", "100", file.c_str()));
  EXPECT_EQ(ReadBytes(file),
            "text before any section\n; a comment\n[Unknown]\nodd line without equals\n\n"
            "[Search Parms]\nMaxhits=100\n;inside comment\nViewFormat=list\n\n\n[Tail]\nx=1");

  // A new key goes after the section's last non-blank line, in the file's own line breaks.
  ASSERT_TRUE(WritePrivateProfileStringA("Search Parms", "AndOr", "OR", file.c_str()));
  EXPECT_EQ(ReadBytes(file),
            "text before any section\n; a comment\n[Unknown]\nodd line without equals\n\n"
            "[Search Parms]\nMaxhits=100\n;inside comment\nViewFormat=list\nAndOr=OR\n\n\n[Tail]\nx=1");

  // The unterminated last line gets a break before the added key.
  ASSERT_TRUE(WritePrivateProfileStringA("Tail", "y", "2", file.c_str()));
  EXPECT_EQ(ReadBytes(file),
            "text before any section\n; a comment\n[Unknown]\nodd line without equals\n\n"
            "[Search Parms]\nMaxhits=100\n;inside comment\nViewFormat=list\nAndOr=OR\n\n\n[Tail]\nx=1\ny=2\n");
}

TEST_F(ProfileWrite, NullValueDeletesTheKeyAndNullKeyTheSection) {
  string file = Private("delete.ini");
  WriteBytes(file, "[A]\r\nk=1\r\n; note\r\nK = 2\r\nother=3\r\n[B]\r\nk=4\r\n[a]\r\nk=5\r\n");
  ASSERT_TRUE(WritePrivateProfileStringA("a", "k", nullptr, file.c_str()));
  EXPECT_EQ(ReadBytes(file), "[A]\r\n; note\r\nother=3\r\n[B]\r\nk=4\r\n[a]\r\n");
  ASSERT_TRUE(WritePrivateProfileStringA("A", nullptr, "ignored", file.c_str()));
  EXPECT_EQ(ReadBytes(file), "[B]\r\nk=4\r\n");

  // Deleting what is not there leaves the file alone and creates nothing.
  struct stat info{};
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  ASSERT_TRUE(WritePrivateProfileStringA("Nope", nullptr, nullptr, file.c_str()));
  struct stat after{};
  ASSERT_EQ(stat(file.c_str(), &after), 0);
  EXPECT_EQ(info.st_ino, after.st_ino);
  EXPECT_TRUE(WritePrivateProfileStringA("S", "k", nullptr, "never.ini"));
  struct stat absent{};
  EXPECT_NE(stat(m_windows.c_str(), &absent), 0) << "a deletion must not create the Windows directory";
}

TEST_F(ProfileWrite, TextThatWouldChangeTheFilesStructureIsRefused) {
  string file = Private("safe.ini");
  WriteBytes(file, "[S]\r\nk=v\r\n");
  const char* f = file.c_str();
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "two\r\n[Injected]", f));
  EXPECT_FALSE(WritePrivateProfileStringA("S", "a=b", "v", f));
  EXPECT_FALSE(WritePrivateProfileStringA("S", "[T]", "v", f));
  EXPECT_FALSE(WritePrivateProfileStringA("S", ";c", "v", f));
  EXPECT_FALSE(WritePrivateProfileStringA("S]x", "k", "v", f));
  EXPECT_FALSE(WritePrivateProfileStringA("S\nT", "k", "v", f));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "k", "v", f));
  EXPECT_TRUE(WritePrivateProfileStringA(nullptr, nullptr, nullptr, f)) << "flush request";
  EXPECT_EQ(ReadBytes(file), "[S]\r\nk=v\r\n");
}

TEST_F(ProfileWrite, FailuresAreReportedAndLoseNothing) {
  // A name with a directory is used as it is; its directory is not created.
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", Private("no/such/dir.ini").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  // Something that exists but cannot be read as a profile is not replaced by a new file.
  string directory = Private("directory.ini");
  ASSERT_EQ(mkdir(directory.c_str(), 0700), 0);
  WriteBytes(directory + "/inside", "precious");
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", directory.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(ReadBytes(directory + "/inside"), "precious");
}

TEST_F(ProfileWrite, RewritingKeepsPermissionsLinksAndGarbage) {
  string file = Private("mode.ini");
  string garbage = string("\0\x01\xff[\r", 5) + string(200000, 'g') + "\n[S]\nk=old\n";
  WriteBytes(file, garbage);
  ASSERT_EQ(chmod(file.c_str(), 0640), 0);
  string link = Private("link.ini");
  ASSERT_EQ(symlink(file.c_str(), link.c_str()), 0);
  ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "new", link.c_str()));
  struct stat info{};
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  garbage.replace(garbage.size() - 4, 3, "new");
  EXPECT_EQ(ReadBytes(file), garbage);
}

}  // namespace
