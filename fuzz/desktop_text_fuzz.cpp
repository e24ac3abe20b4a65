// Text from the desktop arrives as UTF-8 (typed text, the clipboard, dropped file names) and
// leaves as UTF-8 (titles, the clipboard, program arguments). Any bytes must convert to the ANSI
// code page without fault, and any ANSI text must survive the way out and back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/kernel/ansi_text.h"
#include "platform/shell/process_launch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vel::platform;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string ansi = Utf8ToAnsi(bytes);
  // Every UTF-8 character gives exactly one ANSI byte, so the text never grows.
  if (ansi.size() > bytes.size()) std::abort();
  if (Utf8ToAnsi(AnsiToUtf8(bytes)) != bytes) std::abort();
  std::size_t total = 0;
  for (const std::string& argument : SplitCommandLine(std::string(bytes))) total += argument.size();
  if (total > bytes.size()) std::abort();
  return 0;
}
