#pragma once
// The interprocess layer's module routines, as the program's initialiser table lists them, and
// the message handler they install into runtime windows.

namespace vel::ipc {

/// DDE: runtime windows take DDE messages (and the bridge's control events) from start-up on.
/// Without a message bus to other programs, one trace line says that DDE stays within the
/// program.
void DdeService(int call);

}  // namespace vel::ipc
