#pragma once
// Running a module's initialiser table: by descending priority at registration and in the exact
// reverse order at termination.

#include "runtime/services/module_descriptor.h"

namespace vel::services {

/// Calls the initialise routine (argument kInitialiseCall) of every entry with a priority from
/// 255 down to 1; entries of equal priority run in table order. Empty routine fields are skipped.
void RunInitialisers(const InitialiserEntry* start, const InitialiserEntry* end);

/// Calls the terminate routine (argument kTerminateCall) of every entry with a priority from 1
/// up to 255; entries of equal priority run in reverse table order, so termination is the exact
/// reverse of initialisation. Entries that were never initialised (priority outside 1..255) are
/// not terminated either.
void RunTerminators(const InitialiserEntry* start, const InitialiserEntry* end);

}  // namespace vel::services
