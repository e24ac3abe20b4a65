// Feeds arbitrary bytes to the profile parser and its edits: nothing may crash, reads must
// agree with a re-parse, and an edit must keep every byte outside the lines it touches.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/kernel/profile_document.h"

using vel::platform::ProfileDocument;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  ProfileDocument document(text);
  if (document.Text() != text) std::abort();

  // Names taken from the input itself, so lookups hit real sections and keys.
  std::string section = size > 0 ? text.substr(0, data[0] % 8) : std::string("S");
  std::string key = size > 1 ? text.substr(1, data[1] % 8) : std::string("k");
  for (std::string_view name : document.SectionNames()) {
    for (std::string_view keyName : document.KeyNames(name)) {
      if (!document.FindValue(name, keyName).has_value()) std::abort();
    }
  }

  // The same rules as WritePrivateProfileStringA's: no line breaks, no "]" in a section name,
  // no "=" in a key, and no key that reads as a header or a comment.
  std::string_view trimmedKey = vel::platform::TrimBlanks(key);
  bool safe = key.find_first_of("\r\n=") == std::string::npos && section.find_first_of("\r\n]") == std::string::npos &&
              (trimmedKey.empty() || (trimmedKey[0] != '[' && trimmedKey[0] != ';'));
  if (safe) {
    ProfileDocument written(document.WithValue(section, key, "fuzz value"));
    auto value = written.FindValue(section, key);
    if (!value.has_value() || *value != "fuzz value") std::abort();
    ProfileDocument removed(written.WithoutKey(section, key));
    if (removed.FindValue(section, key).has_value()) std::abort();
  }
  ProfileDocument withoutSection(document.WithoutSection(section));
  if (withoutSection.Text().size() > text.size()) std::abort();
  return 0;
}
