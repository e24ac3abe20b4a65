#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "tests/platform/kernel/profile_test_support.h"
#include "win32.h"

namespace {

using ProfileRead = vel::platform::testing::ProfileDirectory;
using std::string;

string Get(const char* section, const char* key, const char* fallback, const string& file, DWORD size = 256) {
  string buffer(size, '\x7f');
  DWORD length = GetPrivateProfileStringA(section, key, fallback, buffer.data(), size, file.c_str());
  return buffer.substr(0, length);
}

TEST_F(ProfileRead, EveryLineBreakBlanksQuotesAndCaseAreReadAlike) {
  for (const string lineBreak : {"\r\n", "\n", "\r"}) {
    string file = Private("layout.ini");
    WriteBytes(file, "; leading comment" + lineBreak + "orphan=before any section" + lineBreak + "  [ Search Parms ]  " +
                         lineBreak + "  Maxhits  =  50  " + lineBreak + "\tView Format\t=\t\"  list  \"" + lineBreak +
                         "Half=\"open" + lineBreak + "Single='quoted'" + lineBreak + "Empty=" + lineBreak + "NoEquals" +
                         lineBreak + ";Hidden=1" + lineBreak + "[other]" + lineBreak + "Maxhits=7" + lineBreak +
                         "[not a header" + lineBreak + "still=other");
    SCOPED_TRACE(lineBreak == "\r\n" ? "CRLF" : lineBreak == "\n" ? "LF" : "CR");
    EXPECT_EQ(Get("search parms", "MAXHITS", "d", file), "50");
    EXPECT_EQ(Get("SEARCH PARMS", "view format", "d", file), "  list  ");
    EXPECT_EQ(Get("Search Parms", "half", "d", file), "\"open");
    EXPECT_EQ(Get("Search Parms", "Empty", "d", file), "");
    EXPECT_EQ(Get("Search Parms", "Single", "d", file), "quoted");
    EXPECT_EQ(Get("Search Parms", "NoEquals", "d", file), "d") << "a line without = is no key";
    EXPECT_EQ(Get("Search Parms", ";Hidden", "d", file), "d");
    EXPECT_EQ(Get("Search Parms", "orphan", "d", file), "d");
    EXPECT_EQ(Get("", "orphan", "d", file), "before any section");
    EXPECT_EQ(Get("other", "maxhits", "d", file), "7");
    EXPECT_EQ(Get("other", "still", "d", file), "other") << "a [ without ] starts no section";
    EXPECT_EQ(Get("not a header", "still", "d", file), "d");
    EXPECT_EQ(GetPrivateProfileIntA("Search Parms", "Maxhits", 3, file.c_str()), 50u);
  }
}

TEST_F(ProfileRead, MissingFileSectionOrKeyGivesTheClippedDefault) {
  string file = Private("present.ini");
  WriteBytes(file, "[S]\r\nk=v\r\n");
  EXPECT_EQ(Get("S", "missing", "fallback  \t ", file), "fallback");
  EXPECT_EQ(Get("Missing", "k", "  lead", file), "  lead");
  EXPECT_EQ(Get("S", "k", "x", Private("absent.ini")), "x");
  EXPECT_EQ(Get("S", "k", nullptr, Private("absent.ini")), "");
  EXPECT_EQ(Get("S", "k", "   ", Private("absent.ini")), "");
  SetLastError(0);
  char buffer[8];
  GetPrivateProfileStringA("S", "k", "d", buffer, sizeof buffer, Private("absent.ini").c_str());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(std::ifstream(Private("absent.ini")).good()) << "reading must not create the file";
}

TEST_F(ProfileRead, DefaultMayShareTheResultBuffer) {
  string file = Private("shared.ini");
  WriteBytes(file, "[S]\r\nfound=value from file\r\n");
  char shared[1024] = "the default   ";
  EXPECT_EQ(GetPrivateProfileStringA("S", "missing", shared, shared, sizeof shared, file.c_str()), 11u);
  EXPECT_STREQ(shared, "the default");
  std::strcpy(shared, "a much longer default than the value");
  EXPECT_EQ(GetPrivateProfileStringA("S", "found", shared, shared, sizeof shared, file.c_str()), 15u);
  EXPECT_STREQ(shared, "value from file");
}

TEST_F(ProfileRead, ValuesAreCutToTheBufferAndReturnSizeMinusOne) {
  string file = Private("cut.ini");
  WriteBytes(file, "[S]\r\nk=abcdefgh\r\n");
  char buffer[6];
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", buffer, 5, file.c_str()), 4u);
  EXPECT_STREQ(buffer, "abcd");
  EXPECT_EQ(buffer[5], 'z') << "wrote past nSize";
  EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", buffer, 1, file.c_str()), 0u);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(GetPrivateProfileStringA("S", "missing", "12345678", buffer, 4, file.c_str()), 3u);
  EXPECT_STREQ(buffer, "123");
  EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", buffer, 0, file.c_str()), 0u);
}

TEST_F(ProfileRead, NullSectionOrKeyListsNamesAndCutsListsAtSizeMinusTwo) {
  string file = Private("list.ini");
  WriteBytes(file, "[One]\r\nalpha=1\r\n;comment=no\r\nBeta=2\r\nno equals\r\nALPHA=3\r\n=nameless\r\n[two]\r\n[ONE]\r\ngamma=4\r\n");
  char buffer[64];
  DWORD length = GetPrivateProfileStringA(nullptr, "ignored", "d", buffer, sizeof buffer, file.c_str());
  EXPECT_EQ(string(buffer, length + 1), string("One\0two\0\0", 9));
  length = GetPrivateProfileStringA("one", nullptr, "d", buffer, sizeof buffer, file.c_str());
  EXPECT_EQ(string(buffer, length + 1), string("alpha\0Beta\0gamma\0\0", 18));

  // "alpha\0Beta\0gamma\0" needs 17 characters plus the final terminator.
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(GetPrivateProfileStringA("one", nullptr, "", buffer, 18, file.c_str()), 17u);
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(GetPrivateProfileStringA("one", nullptr, "", buffer, 14, file.c_str()), 12u);
  EXPECT_EQ(string(buffer, 15), string("alpha\0Beta\0g\0\0z", 15));
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(GetPrivateProfileStringA(nullptr, nullptr, "", buffer, 5, file.c_str()), 3u);
  EXPECT_EQ(string(buffer, 6), string("One\0\0z", 6));

  // The keys of a missing section read as the default; an empty section lists nothing.
  length = GetPrivateProfileStringA("nosuch", nullptr, "dflt  ", buffer, sizeof buffer, file.c_str());
  EXPECT_EQ(string(buffer, length + 1), string("dflt\0", 5));
  length = GetPrivateProfileStringA("two", nullptr, "dflt", buffer, sizeof buffer, file.c_str());
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(string(buffer, 2), string("\0\0", 2));
  length = GetPrivateProfileStringA(nullptr, nullptr, "d", buffer, sizeof buffer, Private("none.ini").c_str());
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(string(buffer, 2), string("\0\0", 2));
}

TEST_F(ProfileRead, IntegersParseLikeWin32) {
  string file = Private("ints.ini");
  WriteBytes(file, "[N]\r\nplain=42\r\nneg=-5\r\nhex=0x1F\r\ntail=12abc\r\nword=abc\r\nempty=\r\nquoted=\"77\"\r\n");
  const char* f = file.c_str();
  EXPECT_EQ(GetPrivateProfileIntA("N", "plain", 9, f), 42u);
  EXPECT_EQ(static_cast<INT>(GetPrivateProfileIntA("N", "neg", 9, f)), -5);
  EXPECT_EQ(GetPrivateProfileIntA("N", "hex", 9, f), 31u);
  EXPECT_EQ(GetPrivateProfileIntA("N", "tail", 9, f), 12u);
  EXPECT_EQ(GetPrivateProfileIntA("N", "word", 9, f), 0u);
  EXPECT_EQ(GetPrivateProfileIntA("N", "empty", 9, f), 0u);
  EXPECT_EQ(GetPrivateProfileIntA("N", "quoted", 9, f), 77u);
  EXPECT_EQ(GetPrivateProfileIntA("N", "missing", 9, f), 9u);
  EXPECT_EQ(GetPrivateProfileIntA("N", "missing", 9, Private("none.ini").c_str()), 9u);
}

TEST_F(ProfileRead, GarbageNulBytesAndHugeLinesNeverBreakReading) {
  string file = Private("garbage.ini");
  string bytes;
  for (int i = 0; i < 70000; ++i) bytes += static_cast<char>((i * 7919) % 256);
  bytes += string("\n[S]\nk=v\0w\n", 11) + string(1 << 20, 'x') + "=huge\n[" + string(3 << 20, 'y');
  bytes[bytes.size() - 1000] = '\0';
  WriteBytes(file, bytes);
  EXPECT_EQ(Get("S", "k", "d", file), string("v\0w", 3));
  EXPECT_EQ(Get("S", string(1 << 20, 'x').c_str(), "d", file), "huge");
  char sections[32];
  GetPrivateProfileStringA(nullptr, nullptr, "", sections, sizeof sections, file.c_str());
  // A directory and a FIFO are not profiles: they read as missing and cannot be written.
  EXPECT_EQ(Get("S", "k", "d", m_root), "d");
  string fifo = Private("fifo.ini");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(Get("S", "k", "d", fifo), "d");
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", fifo.c_str()));
}

TEST_F(ProfileRead, AnotherWritersEditShowsOnTheNextCall) {
  string file = Private("edited.ini");
  WriteBytes(file, "[S]\r\nk=1\r\n");
  EXPECT_EQ(Get("S", "k", "", file), "1");
  // Same size, rewritten in place: only the file's times and contents tell.
  WriteBytes(file, "[S]\r\nk=2\r\n");
  EXPECT_EQ(Get("S", "k", "", file), "2");
  std::rename(file.c_str(), Private("moved.ini").c_str());
  EXPECT_EQ(Get("S", "k", "gone", file), "gone");
}

}  // namespace
