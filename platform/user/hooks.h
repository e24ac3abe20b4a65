#pragma once
// Thread hooks. WH_MOUSE sees each mouse message as the thread takes it from its queue.

#include "win32.h"

namespace vel::platform {

/// Runs the calling thread's WH_MOUSE hooks for a mouse message about to be returned (or only
/// looked at, when `removing` is false). True when a hook swallows the message.
bool MouseHookSwallows(const MSG& msg, bool removing);

}  // namespace vel::platform
