// Text typed into an entry is read back through the entry's picture: any picture and any typed
// bytes must give a value or an error without reading or writing out of bounds, and typing the
// bytes into a key-in template keeps the template's width.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/controls/entry_picture.h"
#include "runtime/controls/keyin_template.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vel::controls;
  if (size == 0) return 0;
  // The first byte says how much of the rest is the picture; the remainder is what was typed.
  const std::size_t pictureLength = data[0] % 40 < size - 1 ? data[0] % 40 : size - 1;
  const std::string picture(reinterpret_cast<const char*>(data + 1), pictureLength);
  const std::string_view typed(reinterpret_cast<const char*>(data + 1 + pictureLength), size - 1 - pictureLength);

  EntryPicture entry{std::optional<std::string>(picture)};
  Require(entry.DeclaredWidth() > 0);
  std::string value;
  const std::int32_t error = entry.Read(typed, value);
  Require(error == 0 || error == kErrorInvalidInput);
  Require(entry.DisplayText(typed).size() <= static_cast<std::size_t>(entry.DeclaredWidth()));
  entry.EditingText(value);

  if (entry.Kind() == 'K') {
    KeyInTemplate keyIn(entry.Compiled());
    std::string text = keyIn.Fill(typed);
    Require(static_cast<int>(text.size()) == keyIn.Width());
    int caret = keyIn.FirstEditable();
    for (char c : typed) {
      if (!keyIn.Type(text, caret, static_cast<unsigned char>(c))) keyIn.ClearBefore(text, caret);
      Require(caret >= 0 && caret <= keyIn.Width());
    }
    Require(static_cast<int>(text.size()) == keyIn.Width());
  }
  return 0;
}
