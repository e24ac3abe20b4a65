#pragma once
// Operations on a window's fields that the controls carry out: moving the focus to a field,
// the accept-all pass, and showing the variables' present values again.

#include <cstdint>

namespace vel::windows {

struct WindowObject;

/// Field 0 starts an accept-all pass. During a pass, selecting a field other than the current
/// event's is ignored, and selecting it stops the pass. Otherwise the control gets the
/// selection range and the focus, through WM_NEXTDLGCTL sent to its parent.
void SelectWindowField(WindowObject& window, std::int32_t field, std::int32_t selectionStart,
                       std::int32_t selectionEnd);

/// Each control of `window` with a field number from `first` to `last` shows its variable's
/// present value (first 0: every control). The error state is left as it was.
void RedisplayFields(WindowObject& window, std::int32_t first, std::int32_t last);

/// Redisplay on the target window.
void Redisplay(std::int32_t first = 0, std::int32_t last = 0);

}  // namespace vel::windows
