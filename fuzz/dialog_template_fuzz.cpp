// Feeds arbitrary bytes to the dialog template reader, classic and extended, so the sanitizers
// see every count, string and alignment step it trusts; a template it accepts is also read
// item by item the way a dialog box is made from it.
#include <cstddef>
#include <cstdint>

#include "platform/user/dialog_template.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::optional<vel::platform::DialogTemplate> parsed = vel::platform::ParseDialogTemplate(data, size);
  if (!parsed) return 0;
  std::size_t total = parsed->title.size() + parsed->faceName.size();
  for (const vel::platform::DialogItemTemplate& item : parsed->items) {
    total += item.title.name.size() + item.creationData.size();
    if (item.windowClass.isNumber) total += vel::platform::PredefinedClassName(item.windowClass.number).size();
  }
  return total == static_cast<std::size_t>(-1) ? 1 : 0;
}
