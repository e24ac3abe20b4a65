#include "platform/display/sdl/typed_text.h"

#include "platform/display/keyboard_layout.h"
#include "platform/kernel/ansi_text.h"

namespace vel::platform {

void DeliverTypedText(InputSink& sink, std::string_view utf8) {
  for (const std::optional<char>& character : Utf8ToAnsiCharacters(utf8)) {
    if (!character) {
      MessageBeep(0);
      continue;
    }
    if (static_cast<unsigned char>(*character) < 0x80 && KeyForCharacter(*character) != -1) continue;
    sink.Character(*character);
  }
}

}  // namespace vel::platform
