#include "runtime/controls/busy_cursor.h"

namespace vel::controls {
namespace {

HCURSOR g_busyCursor = nullptr;

}  // namespace

void SetBusyCursor(HCURSOR cursor) { g_busyCursor = cursor; }

HCURSOR BusyCursor() { return g_busyCursor; }

}  // namespace vel::controls
