#include "runtime/services/initialiser_table.h"

namespace vel::services {

// Both walks re-read the whole table once per priority level instead of sorting a copy: the
// table is small, and a routine may rely on every routine of a higher level having finished.

void RunInitialisers(const InitialiserEntry* start, const InitialiserEntry* end) {
  if (start == nullptr || start == end) return;
  std::int32_t current = kHighestInitialiserPriority;
  for (;;) {
    std::int32_t next = 0;
    for (const InitialiserEntry* entry = start; entry != end; ++entry) {
      if (entry->priority == current && entry->initialiseRoutine != nullptr) entry->initialiseRoutine(kInitialiseCall);
      if (entry->priority < current && entry->priority >= kLowestInitialiserPriority && entry->priority > next)
        next = entry->priority;
    }
    if (next == 0) return;
    current = next;
  }
}

void RunTerminators(const InitialiserEntry* start, const InitialiserEntry* end) {
  if (start == nullptr || start == end) return;
  // The walk starts below the lowest initialised level and only collects the next level on its
  // first pass, so an entry of priority 0 or less, which was never initialised, is not
  // terminated.
  std::int32_t current = kLowestInitialiserPriority - 1;
  for (;;) {
    std::int32_t next = kHighestInitialiserPriority + 1;
    for (const InitialiserEntry* entry = end; entry != start;) {
      --entry;
      if (current >= kLowestInitialiserPriority && entry->priority == current && entry->terminateRoutine != nullptr)
        entry->terminateRoutine(kTerminateCall);
      if (entry->priority > current && entry->priority <= kHighestInitialiserPriority && entry->priority < next)
        next = entry->priority;
    }
    if (next > kHighestInitialiserPriority) return;
    current = next;
  }
}

}  // namespace vel::services
