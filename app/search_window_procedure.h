#pragma once
// The search window procedure: the application's main procedure.

namespace vel::app {

/// Opens the search window and runs its ACCEPT loop; returns when the window has closed.
void SKARV001();

}  // namespace vel::app
