// vel-rc: compiles a resource script into a C++ source file that embeds the resources and
// registers them with a module when the program starts.
//
//   vel-rc [-I dir]... [--module NAME] [--depfile FILE] -o OUTPUT.cpp SCRIPT.rc

#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tools/vel-rc/cpp_emitter.h"
#include "tools/vel-rc/resource_builder.h"
#include "tools/vel-rc/script_parser.h"
#include "tools/common/standard_options.h"

namespace {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return content.str();
}

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

// Makefile syntax needs spaces and dollar signs escaped in depfile paths.
std::string DepfileEscape(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (c == ' ') out += '\\';
    if (c == '$') out += '$';
    out += c;
  }
  return out;
}

bool WriteIfChanged(const std::string& path, const std::string& text) {
  // Leaving an unchanged output alone spares the compiler a rebuild.
  if (ReadWholeFile(path) == text) return true;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out.flush());
}

int Usage() {
  std::cerr << "usage: vel-rc [-I dir]... [--module NAME] [--depfile FILE] -o OUTPUT.cpp SCRIPT.rc\n";
  return 2;
}

}  // namespace

constexpr vel::tools::ProgramHelp kHelp{
    "vel-rc", "[-I dir]... [--module NAME] [--depfile FILE] -o OUTPUT.cpp SCRIPT.rc",
    "Compiles a resource script (icons, cursors, string tables, window definitions) into a C++\n"
    "source file that registers the resources with the program's module, or with the module\n"
    "NAME, when the program starts. Files the script names are looked for beside it, then in\n"
    "each -I directory; --depfile writes the files read as a make rule.\n"};

int main(int argc, char** argv) {
  if (std::optional<int> answered = vel::tools::AnswerStandardOption(argc, argv, kHelp)) return *answered;
  std::vector<std::string> includeDirectories;
  std::string moduleName, depfile, output, script;
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    bool hasValue = i + 1 < argc;
    if (argument == "-I" && hasValue) includeDirectories.push_back(argv[++i]);
    else if (argument.rfind("-I", 0) == 0 && argument.size() > 2) includeDirectories.push_back(argument.substr(2));
    else if (argument == "--module" && hasValue) moduleName = argv[++i];
    else if (argument == "--depfile" && hasValue) depfile = argv[++i];
    else if (argument == "-o" && hasValue) output = argv[++i];
    else if (!argument.empty() && argument[0] != '-' && script.empty()) script = argument;
    else return Usage();
  }
  if (output.empty() || script.empty()) return Usage();

  std::optional<std::string> text = ReadWholeFile(script);
  if (!text) {
    std::cerr << script << ": cannot read the script\n";
    return 1;
  }
  // Files named in the script are looked for beside it, then in each include directory.
  std::set<std::string> dependencies{script};
  std::vector<std::string> searchPath{DirectoryOf(script)};
  searchPath.insert(searchPath.end(), includeDirectories.begin(), includeDirectories.end());
  vel::tools::FileReader reader = [&](const std::string& name) -> std::optional<std::string> {
    std::vector<std::string> candidates;
    if (!name.empty() && name[0] == '/') candidates.push_back(name);
    else for (const std::string& directory : searchPath) candidates.push_back(directory + "/" + name);
    for (const std::string& candidate : candidates) {
      if (auto content = ReadWholeFile(candidate)) {
        dependencies.insert(candidate);
        return content;
      }
    }
    return std::nullopt;
  };

  try {
    vel::tools::ResourceScript parsed = vel::tools::ParseResourceScript(*text, script, reader);
    std::vector<vel::tools::BuiltResource> built = vel::tools::BuildResources(parsed, script, reader);
    if (!WriteIfChanged(output, vel::tools::EmitResourceSource(built, moduleName, script))) {
      std::cerr << output << ": cannot write\n";
      return 1;
    }
  } catch (const vel::tools::ScriptError& error) {
    std::cerr << error.what() << "\n";
    std::remove(output.c_str());
    return 1;
  }
  if (!depfile.empty()) {
    std::string rule = DepfileEscape(output) + ":";
    for (const std::string& dependency : dependencies) rule += " \\\n  " + DepfileEscape(dependency);
    if (!WriteIfChanged(depfile, rule + "\n")) {
      std::cerr << depfile << ": cannot write\n";
      return 1;
    }
  }
  return 0;
}
