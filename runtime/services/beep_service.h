#pragma once
// The beep service procedures call (BEEP sound, duration).

#include <cstdint>

namespace vel::services {

/// Plays a sound through MessageBeep. A sound that names one of the platform's message sounds
/// (MB_OK, MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONASTERISK) plays that sound;
/// any other (procedures use 150) plays the platform's standard beep, MessageBeep(-1). The
/// duration, in the original's timer ticks, is left to the platform's own beep.
void BEEP(std::int32_t sound, std::int32_t duration);

}  // namespace vel::services
