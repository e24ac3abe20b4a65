#include "runtime/services/settings_access.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime/values/string_stack.h"

namespace {

using std::string;
namespace values = vel::values;

class SettingsAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    string pattern = ::testing::TempDir() + "settings_XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_windows = pattern;
    setenv("VELMORA_WINDIR", m_windows.c_str(), 1);
    values::CurrentStringStack().Clear();
  }
  void TearDown() override {
    EXPECT_EQ(values::CurrentStringStack().Count(), 0u) << "arguments left on the string stack";
    ASSERT_EQ(std::system(("rm -rf '" + m_windows + "'").c_str()), 0);
  }

  static void Push(const string& text) { values::PushBytes(text.data(), static_cast<uint32_t>(text.size())); }

  /// Pushes the arguments in the documented order and calls the writer.
  static void Write(const string& file, const string& section, const string& key, const string& value,
                    bool keyGiven = true, bool valueGiven = true) {
    Push(file);
    Push(value);
    Push(key);
    Push(section);
    vel::services::WriteSetting(keyGiven, valueGiven);
  }
  static string Read(const string& file, const string& section, const string& key, const string& fallback) {
    Push(file);
    Push(fallback);
    Push(key);
    Push(section);
    vel::services::GETINI();
    values::StringView top = values::TopView();
    string result(top.data != nullptr ? top.data : "", top.length);
    values::DropTop();
    return result;
  }
  string Bytes(const string& name) const {
    std::ifstream in(m_windows + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  string m_windows;
};

TEST_F(SettingsAccess, WritesAndReadsTheApplicationsSettings) {
  EXPECT_EQ(Read("skarvine.INI", "SearchParms", "Maxhits", ""), "") << "no file yet";
  Write("skarvine.INI", "SearchParms", "Maxhits", "50");
  Write("skarvine.INI", "SearchParms", "ViewFormat", "  tabular   ");
  Write("skarvine.INI", "SearchParms", "AndOr", "OR");
  EXPECT_EQ(Bytes("skarvine.INI"), "[SearchParms]\r\nMaxhits=50\r\nViewFormat=  tabular\r\nAndOr=OR\r\n")
      << "trailing spaces clipped, leading ones written";
  EXPECT_EQ(Read("skarvine.INI", "searchparms", "MAXHITS", "0"), "50");
  EXPECT_EQ(Read("skarvine.INI   ", "SearchParms", "ViewFormat", ""), "tabular");
  EXPECT_EQ(Read("skarvine.INI", "SearchParms", "Missing", "   "), "") << "a default of blanks clips to nothing";
  EXPECT_EQ(Read("skarvine.INI", "SearchParms", "Missing", "  keep lead  "), "  keep lead");
}

TEST_F(SettingsAccess, AnEmptyFileNameMeansTheSystemFile) {
  Write("   ", "Velmora 4 Tracing", "auxtrace", "1");
  EXPECT_EQ(Bytes("win.ini"), "[Velmora 4 Tracing]\r\nauxtrace=1\r\n");
  EXPECT_EQ(Read("", "Velmora 4 Tracing", "auxtrace", "0"), "1");
  EXPECT_EQ(Read("other.ini", "Velmora 4 Tracing", "auxtrace", "0"), "0");
}

TEST_F(SettingsAccess, OmittedKeyDeletesTheSectionAndOmittedValueTheKey) {
  Write("s.ini", "Keep", "a", "1");
  Write("s.ini", "Drop", "b", "2");
  Write("s.ini", "Keep", "c", "3");
  Write("s.ini", "Keep", "a", "ignored", true, false);
  EXPECT_EQ(Bytes("s.ini"), "[Keep]\r\nc=3\r\n[Drop]\r\nb=2\r\n");
  Write("s.ini", "Drop", "ignored", "ignored", false, true);
  EXPECT_EQ(Bytes("s.ini"), "[Keep]\r\nc=3\r\n");
}

TEST_F(SettingsAccess, LongArgumentsAreCutToTheirBuffers) {
  string key(70, 'k');
  string section(80, 's');
  Write("cut.ini", section, key, string(1500, 'v'));
  EXPECT_EQ(Bytes("cut.ini"), "[" + string(63, 's') + "]\r\n" + string(63, 'k') + "=" + string(1023, 'v') + "\r\n");
  // Reading with the long key finds the entry written under its cut form.
  EXPECT_EQ(Read("cut.ini", section, key, ""), string(1023, 'v'));
  EXPECT_EQ(Read("cut.ini", section, string(63, 'k') + "extra", ""), string(1023, 'v'));
  EXPECT_EQ(Read("cut.ini", section, "absent", string(2000, 'd')), string(1023, 'd'));

  // A file name is cut to 259 characters: a longer one names the file of its first 259.
  string directory = m_windows + "/";
  ASSERT_LT(directory.size(), 100u);
  string name = string(259 - directory.size() - 4, 'f') + ".ini";
  Write(directory + name + "tail", "S", "k", "v");
  EXPECT_EQ(Bytes(name), "[S]\r\nk=v\r\n");
}

}  // namespace
