#pragma once
// The one kind of failure vel-preview reports before it opens anything: a bad command line,
// a file that cannot be read or is damaged, a window or field that is not there. The message
// is the whole line the tool prints after its own name.

#include <stdexcept>
#include <string>

namespace vel::tools {

class PreviewError : public std::runtime_error {
 public:
  explicit PreviewError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace vel::tools
