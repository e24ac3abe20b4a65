#include "runtime/services/beep_service.h"

#include "win32.h"

namespace vel::services {

void BEEP(std::int32_t sound, std::int32_t) {
  switch (sound) {
    case MB_OK:
    case MB_ICONHAND:
    case MB_ICONQUESTION:
    case MB_ICONEXCLAMATION:
    case MB_ICONASTERISK: MessageBeep(static_cast<UINT>(sound)); break;
    default: MessageBeep(0xFFFFFFFF); break;
  }
}

}  // namespace vel::services
