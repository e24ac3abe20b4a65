#pragma once
// The value runtime (typed references, name bindings, EVALUATE) lies below the program services,
// so it reports its failures through a sink; this connects that sink to the error state and the
// runtime error box.

namespace vel::services {

/// Makes the value runtime's runtime errors show the runtime error box and its recoverable
/// errors set the error state. Program start-up calls it once; calling it again changes nothing.
void ConnectValueErrors();

}  // namespace vel::services
