// The resource compiler's parsing and building, on scripts held in memory.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tools/vel-rc/cpp_emitter.h"
#include "tools/vel-rc/resource_builder.h"
#include "tools/vel-rc/script_parser.h"

namespace {

using namespace vel::tools;
using std::string;

struct Files {
  std::map<string, string> contents;
  FileReader Reader() const {
    return [this](const string& name) -> std::optional<string> {
      auto found = contents.find(name);
      if (found == contents.end()) return std::nullopt;
      return found->second;
    };
  }
};

std::vector<BuiltResource> Build(const string& script, const Files& files = {}) {
  return BuildResources(ParseResourceScript(script, "t.rc", files.Reader()), "t.rc", files.Reader());
}

// The message of the ScriptError the script raises, or "" when it compiles.
string ErrorOf(const string& script, const Files& files = {}) {
  try {
    Build(script, files);
  } catch (const ScriptError& error) {
    return error.what();
  }
  return "";
}

TEST(ResourceScript, PreprocessorDefinesConditionsAndIncludes) {
  Files files;
  files.contents["ids.h"] = "#pragma once\n#define BASE 0x10\n#define NEXT (BASE + 1) // comment\nint ignored;\n";
  files.contents["a.bin"] = "A";
  auto built = Build(
      "#include \"ids.h\"\n"
      "#define LONG_ONE \\\n  (NEXT | 0x100)\n"
      "#ifdef BASE\nBASE RCDATA \"a.bin\"\n#else\n#error not taken\n#endif\n"
      "#ifndef BASE\n#error not taken either\n#endif\n"
      "#if 0\nthis is no resource at all\n#endif\n"
      "/* #define BASE 99 inside a comment\n*/ LONG_ONE RCDATA \"a.bin\"\n"
      "STRINGTABLE { NEXT - 1, \"x\" ~0 & 3 \"y\" }\n",
      files);
  ASSERT_EQ(built.size(), 4u);
  EXPECT_EQ(built[0].name, ResourceId::Number(0x10));
  EXPECT_EQ(built[1].name, ResourceId::Number(0x111));
  // Id 3 lies in block 1 and id 16 in block 2.
  EXPECT_EQ(built[2].type, ResourceId::Number(kTypeString));
  EXPECT_EQ(built[2].name, ResourceId::Number(1));
  EXPECT_EQ(built[2].data.substr(6, 4), string("\1\0y\0", 4));
  EXPECT_EQ(built[3].name, ResourceId::Number(2));
  EXPECT_EQ(built[3].data.substr(0, 4), string("\1\0x\0", 4));
}

TEST(ResourceScript, IncludedResourceScriptsCountWholeAndHeadersOnlyForTheirDefines) {
  Files files;
  files.contents["ids.h"] = "#define SEVEN 7\nNOT A RESOURCE\n";
  files.contents["a.bin"] = "A";
  files.contents["more.rc"] = "#include \"ids.h\"\nINCLUDED RCDATA \"a.bin\"\nSEVEN RCDATA \"a.bin\"\n"
                              "STRINGTABLE { 3 \"three\" }\n";
  auto built = Build("MAIN RCDATA \"a.bin\"\n#include \"more.rc\"\nAFTER RCDATA \"a.bin\"\n", files);
  ASSERT_EQ(built.size(), 5u);
  EXPECT_EQ(built[0].name, ResourceId::Name("MAIN"));
  EXPECT_EQ(built[1].name, ResourceId::Name("AFTER"));
  EXPECT_EQ(built[2].name, ResourceId::Name("INCLUDED"));
  EXPECT_EQ(built[3].name, ResourceId::Number(7)) << "the included script sees the header's names";
  EXPECT_EQ(built[4].type, ResourceId::Number(kTypeString));

  // Faults inside an included script name that script and its own line.
  files.contents["broken.rc"] = "\nBROKEN RCDATA \"missing\"\n";
  EXPECT_EQ(ErrorOf("\n\n#include \"broken.rc\"", files), "broken.rc:2: cannot read \"missing\"");
  files.contents["again.rc"] = "\n\nMAIN RCDATA \"a.bin\"\nSTRINGTABLE { 1 \"b\" }\n";
  EXPECT_EQ(ErrorOf("MAIN RCDATA \"a.bin\"\n#include \"again.rc\"", files),
            "again.rc:3: duplicate resource (first at t.rc:1)");
  EXPECT_EQ(ErrorOf("STRINGTABLE { 1 \"a\" }\n#include \"again.rc\"\n", files),
            "again.rc:4: duplicate string id 1 (first at t.rc:1)");
}

TEST(ResourceScript, StringsEscapesAndCodePages) {
  auto block = [](const string& script) { return Build(script).back().data; };
  // Id 0 holds "a\"b\tc\\" then 15 empty strings.
  string data = block("STRINGTABLE BEGIN 0 \"a\"\"b\\tc\\\\\" END");
  ASSERT_EQ(data.size(), 2u + 2 * 6 + 15 * 2);
  EXPECT_EQ(data.substr(0, 14), string("\6\0a\0\"\0b\0\t\0c\0\\\0", 14));
  // 0x80 is the euro sign in the default code page; UTF-8 scripts say so by pragma.
  EXPECT_EQ(block("STRINGTABLE { 0 \"\\x80\" }").substr(0, 4), string("\1\0\xac\x20", 4));
  EXPECT_EQ(block("#pragma code_page(65001)\nSTRINGTABLE { 0 \"\xe2\x82\xac\xf0\x9f\x98\x80\" }").substr(0, 8),
            string("\3\0\xac\x20\x3d\xd8\x00\xde", 8));
  EXPECT_EQ(block("STRINGTABLE { 0 \"\\101\\x4a\" }").substr(2, 4), string("A\0J\0", 4));
}

TEST(ResourceScript, FaultsNameTheirLine) {
  Files files;
  files.contents["bad.ico"] = string("\0\0\1\0\1\0", 6) + string(16, '\xff');
  files.contents["short.ico"] = string("\0\0\1\0\5\0", 6);
  files.contents["ok"] = "x";
  EXPECT_EQ(ErrorOf("A RCDATA \"ok\"\n\nB RCDATA \"missing\"", files), "t.rc:3: cannot read \"missing\"");
  EXPECT_EQ(ErrorOf("\nX ICON \"bad.ico\"", files), "t.rc:2: \"bad.ico\" is not a valid icon file: image 0 lies outside the file");
  EXPECT_NE(ErrorOf("X ICON \"short.ico\"", files).find("directory cut short"), string::npos);
  EXPECT_NE(ErrorOf("X CURSOR \"ok\"", files).find("not a valid cursor file"), string::npos);
  EXPECT_NE(ErrorOf("X BITMAP \"ok\"", files).find("not a BMP file"), string::npos);
  EXPECT_EQ(ErrorOf("A RCDATA \"ok\"\nA RCDATA \"ok\"", files), "t.rc:2: duplicate resource (first at line 1)");
  EXPECT_EQ(ErrorOf("STRINGTABLE { 1 \"a\"\n 1 \"b\" }"), "t.rc:2: duplicate string id 1 (first at line 1)");
  EXPECT_EQ(ErrorOf("STRINGTABLE { 1 \"open\n}"), "t.rc:1: string not closed");
  EXPECT_EQ(ErrorOf("STRINGTABLE { 1 \"a\""), "t.rc:1: STRINGTABLE not closed");
  EXPECT_EQ(ErrorOf("\n\nD DIALOG 0, 0, 10, 10"), "t.rc:3: DIALOG without BEGIN");
  EXPECT_EQ(ErrorOf("\nM MENU { }"), "t.rc:2: MENU resources are not supported");
  EXPECT_EQ(ErrorOf("#if 1\n"), "t.rc:1: #if without #endif");
  EXPECT_EQ(ErrorOf("#endif"), "t.rc:1: #endif without #if");
  EXPECT_EQ(ErrorOf("#include \"none.h\""), "t.rc:1: cannot read included file \"none.h\"");
  EXPECT_EQ(ErrorOf("#define A B\n#define B A\nA RCDATA \"ok\"", files).substr(0, 6), "t.rc:3");
  EXPECT_EQ(ErrorOf("70000 RCDATA \"ok\"", files), "t.rc:1: resource number above 65535");
  EXPECT_EQ(ErrorOf("X RCDATA ok", files), "t.rc:1: expected a quoted file name");
  EXPECT_EQ(ErrorOf(string("X RCDATA \"ok\"\n\x01", 15), files), "t.rc:2: unexpected character '\\x01'");
  EXPECT_EQ(ErrorOf("0x RCDATA \"ok\"", files), "t.rc:1: hexadecimal number without digits");
  Files recursive;
  recursive.contents["self.h"] = "#include \"self.h\"\n";
  EXPECT_NE(ErrorOf("#include \"self.h\"", recursive).find("nested too deeply"), string::npos);
}

TEST(ResourceScript, EmittedSourceListsEveryResourceForItsModule) {
  Files files;
  files.contents["v"] = "\"?\\";
  auto built = Build("Win VIZORAR \"v\"\n5 RCDATA { }", files);
  string source = EmitResourceSource(built, "RUN\"TIME.DLL", "t.rc");
  EXPECT_NE(source.find("kData0[3] = {\n    34, 63, 92,\n};"), string::npos) << source;
  EXPECT_NE(source.find("kData1[1] = {0};"), string::npos) << source;
  EXPECT_NE(source.find("{\"VIZORAR\", 0, \"WIN\", 0, 0, kData0, 3},"), string::npos) << source;
  EXPECT_NE(source.find("{nullptr, 10, nullptr, 5, 0, kData1, 0},"), string::npos) << source;
  EXPECT_NE(source.find("kRegistration(\"RUN\\042TIME.DLL\", kEntries, 2);"), string::npos) << source;
  EXPECT_NE(EmitResourceSource({}, "", "t.rc").find("kRegistration(nullptr, kEntries, 0);"), string::npos);
}

}  // namespace
