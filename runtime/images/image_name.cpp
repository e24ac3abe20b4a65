#include "runtime/images/image_name.h"

#include <algorithm>

namespace vel::images {
namespace {

constexpr std::string_view kIconPrefix = "!ICON:";

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Upper(x) == Upper(y); });
}

std::string_view StripIconPrefix(std::string_view name) {
  if (name.size() >= kIconPrefix.size() && SameIgnoringCase(name.substr(0, kIconPrefix.size()), kIconPrefix)) {
    return name.substr(kIconPrefix.size());
  }
  return name;
}

ImageName ReadImageName(std::string_view name) {
  ImageName read;
  if (!name.empty() && name.front() == '~') {
    read.fromProgram = true;
    name.remove_prefix(1);
  }
  read.name = name;
  bool binaryReference = !name.empty() && static_cast<unsigned char>(name.front()) == 0xFF;
  if (binaryReference || StripIconPrefix(name).size() != name.size()) {
    read.extension = ".ICO";
    return read;
  }
  std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos) read.extension = std::string(name.substr(dot, kMaxExtensionLength));
  return read;
}

}  // namespace vel::images
