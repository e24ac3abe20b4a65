// Loading the file vel-preview opens: declarations and compiled resources, the window chosen
// by label, its variables in the order the window takes them, and every way the file can be bad.

#include "tools/vel-preview/lib/definition_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>

#include "runtime/windows/definition_types.h"
#include "tools/vel-preview/lib/preview_error.h"
#include "tools/vel-wdc/lib/declaration_text.h"
#include "tools/vel-wdc/lib/definition_writer.h"

namespace vel::tools {
namespace {

using windows::UseDescriptor;

std::string SourcePath(const std::string& relative) { return std::string(VEL_SOURCE_DIR) + "/" + relative; }

/// A file in the test's temporary directory, removed again at the end.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& contents) {
    static int counter = 0;
    m_path =
        ::testing::TempDir() + "vel_preview_" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
    std::ofstream(m_path, std::ios::binary) << contents;
  }
  ~TemporaryFile() { std::remove(m_path.c_str()); }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

std::string LoadError(const std::string& path) {
  try {
    LoadDefinitionFile(path);
  } catch (const PreviewError& error) {
    return error.what();
  }
  return "";
}

std::string ChooseError(const DefinitionFile& file, const std::optional<std::string>& label) {
  try {
    ChooseWindow(file, label);
  } catch (const PreviewError& error) {
    return error.what();
  }
  return "";
}

std::vector<std::uint8_t> CompiledSearchWindow() {
  std::ifstream in(SourcePath("app/skarv001.wdc"));
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return WriteDefinitionResource(ParseDeclarations(text));
}

TEST(DefinitionFile, TheSearchWindowOpensWithItsFiveVariablesInOrder) {
  DefinitionFile file = LoadDefinitionFile(SourcePath("app/skarv001.wdc"));
  EXPECT_EQ(file.qualifiedName, "skarvine$SKARV001");
  EXPECT_EQ(file.labels, (std::vector<std::string>{"P1$WINNAME"}));
  EXPECT_EQ(file.resource, CompiledSearchWindow());

  ChosenWindow window = ChooseWindow(file, std::nullopt);
  EXPECT_EQ(window.label, "P1$WINNAME");
  ASSERT_EQ(window.bindings.size(), 5u);
  // Search string, author, format, hits, AND/OR: the order the search procedure passes them.
  std::vector<std::int32_t> fields;
  for (const windows::UseBinding& binding : window.bindings) fields.push_back(binding.field);
  EXPECT_EQ(fields, (std::vector<std::int32_t>{2, 7, 9, 11, 12}));
  EXPECT_EQ(window.bindings[3].use, (UseDescriptor{2, 2, std::nullopt}));
  EXPECT_EQ(window.bindings[4].use, (UseDescriptor{18, 20, std::nullopt}));
}

TEST(DefinitionFile, ACompiledResourceOpensLikeItsDeclarationAndLabelsPickWindows) {
  std::vector<std::uint8_t> bytes = CompiledSearchWindow();
  TemporaryFile compiled(std::string(bytes.begin(), bytes.end()));
  DefinitionFile file = LoadDefinitionFile(compiled.Path());
  EXPECT_EQ(file.resource, bytes);
  EXPECT_EQ(ChooseWindow(file, std::string("P1$WINNAME")).bindings.size(), 5u);

  DefinitionFile preview = LoadDefinitionFile(SourcePath("app/skarv_sf.wdc"));
  EXPECT_EQ(preview.labels,
            (std::vector<std::string>{"P9$PREVIEW:WINDOW", "P22$JUMPWINDOW", "P23$SELECTWINDOW"}));
  // The preview window's menu items come first (its menu bar is built before the window), then
  // the three spin boxes of its toolbar.
  ChosenWindow previewWindow = ChooseWindow(preview, std::nullopt);
  ASSERT_EQ(previewWindow.bindings.size(), 10u);
  EXPECT_EQ(previewWindow.bindings[0].recordKind, windows::kKindMenuItem);
  EXPECT_EQ(previewWindow.bindings[6].recordKind, windows::kKindMenuItem);
  EXPECT_EQ(previewWindow.bindings[7].recordKind, windows::kKindSpin);
  EXPECT_EQ(ChooseWindow(preview, std::string("P23$SELECTWINDOW")).bindings.size(), 2u);

  EXPECT_EQ(
      ChooseError(preview, std::string("P1$WINNAME")),
      SourcePath("app/skarv_sf.wdc") +
          ": no window labelled \"P1$WINNAME\" (its windows: \"P9$PREVIEW:WINDOW\", \"P22$JUMPWINDOW\", "
          "\"P23$SELECTWINDOW\")");
}

TEST(DefinitionFile, FilesThatCannotBeOpenedSayWhatIsWrong) {
  EXPECT_EQ(LoadError("/nonexistent/skarv001.wdc"),
            "/nonexistent/skarv001.wdc: cannot read it (No such file or directory)");
  EXPECT_EQ(LoadError(::testing::TempDir()), ::testing::TempDir() + ": cannot read it (Is a directory)");

  TemporaryFile syntax("definition \"a$B\"\nwindow \"W\" at(0, 0, 10\nend\n");
  EXPECT_EQ(LoadError(syntax.Path()).rfind(syntax.Path() + ": line 2: ", 0), 0u) << LoadError(syntax.Path());
  TemporaryFile empty("");
  EXPECT_EQ(LoadError(empty.Path()), empty.Path() + ": no \"definition\" line");
  try {
    ReadDefinitionBytes("none", {});
    ADD_FAILURE() << "no bytes are no definition";
  } catch (const PreviewError& error) {
    EXPECT_STREQ(error.what(), "none: not a window definition: it does not begin with a qualified name");
  }
  TemporaryFile nameOnly(std::string("a$B\0\0\0\0\0", 9));
  EXPECT_EQ(LoadError(nameOnly.Path()), nameOnly.Path() + ": holds no window definition");
  TemporaryFile huge(std::string(3u << 20, ' '));
  EXPECT_EQ(LoadError(huge.Path()), huge.Path() + ": too large to be a window definition");

  // Declarations always label a window; a compiled one may have lost its label.
  std::vector<std::uint8_t> bytes = CompiledSearchWindow();
  std::size_t body = std::string("skarvine$SKARV001").size() + 1;
  std::int32_t window = 0;
  std::memcpy(&window, bytes.data() + body, sizeof window);
  std::memset(bytes.data() + body + static_cast<std::size_t>(window) - 2 + 33, 0, 4);
  DefinitionFile unlabelled = ReadDefinitionBytes("unlabelled", bytes);
  EXPECT_EQ(unlabelled.labels, (std::vector<std::string>{""}));
  EXPECT_EQ(ChooseError(unlabelled, std::nullopt), "unlabelled: its first window has no label to open it by");
  EXPECT_EQ(ChooseError(unlabelled, std::string("P1$WINNAME")),
            "unlabelled: no window labelled \"P1$WINNAME\" (none of its windows has a label)");
  EXPECT_EQ(ChooseError(unlabelled, std::string("")),
            "unlabelled: no window labelled \"\" (none of its windows has a label)");
}

// Every prefix of a compiled definition is a damaged file: the tool refuses it with a message
// (or, where the cut leaves a whole window, opens what is there) and never reads outside it.
TEST(DefinitionFile, ATruncatedCompiledDefinitionIsRefusedAtEveryLength) {
  std::vector<std::uint8_t> bytes = CompiledSearchWindow();
  int refused = 0;
  for (std::size_t length = 1; length < bytes.size(); ++length) {
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
    try {
      DefinitionFile file = ReadDefinitionBytes("cut", cut);
      ChooseWindow(file, std::nullopt);
    } catch (const PreviewError& error) {
      ++refused;
      EXPECT_EQ(std::string(error.what()).rfind("cut: ", 0), 0u);
    }
  }
  EXPECT_EQ(refused, static_cast<int>(bytes.size()) - 1) << "no prefix holds the whole window";

  std::vector<std::uint8_t> loop = bytes;
  // Link the window to itself as its next window.
  std::size_t body = std::string("skarvine$SKARV001").size() + 1;
  std::int32_t window = 0;
  std::memcpy(&window, loop.data() + body, sizeof window);
  std::memcpy(loop.data() + body + static_cast<std::size_t>(window) - 2 + 1, &window, sizeof window);
  try {
    ReadDefinitionBytes("loop", loop);
    ADD_FAILURE() << "a chain of windows that loops is damage";
  } catch (const PreviewError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("loop: damaged: the chain of windows loops back", 0), 0u)
        << error.what();
  }
}

}  // namespace
}  // namespace vel::tools
