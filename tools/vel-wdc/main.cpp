// vel-wdc: the window definition compiler.
//   vel-wdc SOURCE -o RESOURCE   compiles declaration text into a window definition resource
//   vel-wdc --dump RESOURCE      prints a resource back as declaration text

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/common/standard_options.h"
#include "tools/vel-wdc/lib/declaration_syntax.h"
#include "tools/vel-wdc/lib/declaration_text.h"
#include "tools/vel-wdc/lib/definition_reader.h"
#include "tools/vel-wdc/lib/definition_writer.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: vel-wdc SOURCE -o RESOURCE\n"
               "       vel-wdc --dump RESOURCE\n");
  return 2;
}

bool ReadFile(const std::string& path, std::string& contents) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

int Dump(const std::string& path) {
  std::string bytes;
  if (!ReadFile(path, bytes)) {
    std::fprintf(stderr, "vel-wdc: cannot read %s\n", path.c_str());
    return 1;
  }
  std::vector<std::uint8_t> resource(bytes.begin(), bytes.end());
  std::string text = vel::tools::PrintDeclarations(vel::tools::ReadDefinitionResource(resource));
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

int Compile(const std::string& sourcePath, const std::string& outputPath) {
  std::string text;
  if (!ReadFile(sourcePath, text)) {
    std::fprintf(stderr, "vel-wdc: cannot read %s\n", sourcePath.c_str());
    return 1;
  }
  std::vector<std::uint8_t> resource;
  try {
    resource = vel::tools::WriteDefinitionResource(vel::tools::ParseDeclarations(text));
  } catch (const vel::tools::DeclarationError& error) {
    std::fprintf(stderr, "%s: %s\n", sourcePath.c_str(), error.what());
    return 1;
  }
  std::ofstream out(outputPath, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(resource.data()), static_cast<std::streamsize>(resource.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "vel-wdc: cannot write %s\n", outputPath.c_str());
    std::remove(outputPath.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

constexpr vel::tools::ProgramHelp kHelp{
    "vel-wdc", "SOURCE -o RESOURCE\n--dump RESOURCE",
    "Compiles window declarations (docs/windows.md) into a window definition resource, or\n"
    "prints a compiled resource back as declaration text.\n"};

int main(int argc, char** argv) {
  if (std::optional<int> answered = vel::tools::AnswerStandardOption(argc, argv, kHelp)) return *answered;
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 2 && args[0] == "--dump") return Dump(args[1]);
    if (args.size() == 3 && args[1] == "-o") return Compile(args[0], args[2]);
  } catch (const vel::tools::DeclarationError& error) {
    std::fprintf(stderr, "vel-wdc: %s\n", error.what());
    return 1;
  }
  return Usage();
}
