#include "app/search_window_procedure.h"

namespace vel::app {

void SKARV001() {
  // The search window arrives with the window manager and the controls; until then the
  // procedure has no window to open and returns at once, so the program starts and ends
  // cleanly.
}

}  // namespace vel::app
