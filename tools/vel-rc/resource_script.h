#pragma once
// What a resource script says, after parsing: the resources it declares, each with its type,
// name, language and where its bytes come from (a file, or data written in the script).

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vel::tools {

/// A resource type or name: a 16-bit number or an upper-case name.
struct ResourceId {
  bool isNumber = true;
  uint16_t number = 0;
  std::string name;

  static ResourceId Number(uint16_t value) { return ResourceId{true, value, {}}; }
  static ResourceId Name(std::string text) { return ResourceId{false, 0, std::move(text)}; }
  bool operator==(const ResourceId&) const = default;
};

/// The predefined type numbers the compiler produces.
enum PredefinedType : uint16_t {
  kTypeCursor = 1,
  kTypeBitmap = 2,
  kTypeIcon = 3,
  kTypeString = 6,
  kTypeRcData = 10,
  kTypeGroupCursor = 12,
  kTypeGroupIcon = 14,
};

struct ScriptResource {
  ResourceId type;
  ResourceId name;
  uint16_t language = 0;
  std::string fileName;  ///< The file holding the bytes, or empty when `inlineData` has them.
  std::string inlineData;
  int line = 0;  ///< Where the script declared it, for messages.
  std::string scriptName;  ///< The script that declared it: the compiled one or one it includes.
};

struct ScriptString {
  uint16_t id = 0;
  std::u16string text;
  uint16_t language = 0;
  int line = 0;
  std::string scriptName;
};

struct ResourceScript {
  std::vector<ScriptResource> resources;
  std::vector<ScriptString> strings;
};

/// A fault in a script or in a file it names; the message starts with "file:line: ".
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// Reads a file the script names (an #include or a resource file); nothing when it cannot be
/// read. The compiler resolves names against the script's directory and include paths; tests
/// and the fuzzer answer from memory.
using FileReader = std::function<std::optional<std::string>(const std::string& name)>;

}  // namespace vel::tools
