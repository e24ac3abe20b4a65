#pragma once
// The record through which a program or component library describes itself to the runtime: its
// initialiser table, its static data areas and its data-import fixups.

#include <cstddef>
#include <cstdint>

#include "win32.h"

namespace vel::services {

/// The argument a module routine receives when it is asked to initialise.
inline constexpr int kInitialiseCall = 0;
/// The argument a module routine receives when it is asked to terminate.
inline constexpr int kTerminateCall = 1;

/// A module routine: called with kInitialiseCall at registration and with kTerminateCall at
/// termination. A routine with work at only one of the two tests its argument.
using ModuleRoutine = void (*)(int call);

/// The highest and lowest priorities that take part in initialisation and termination; entries
/// outside this range are never called.
inline constexpr std::int32_t kHighestInitialiserPriority = 255;
inline constexpr std::int32_t kLowestInitialiserPriority = 1;

/// One entry of a module's initialiser table. Both routine fields normally hold the same
/// routine: the first is called at initialisation, the second at termination. An empty field is
/// skipped.
struct InitialiserEntry {
  std::int32_t priority;
  ModuleRoutine initialiseRoutine;
  ModuleRoutine terminateRoutine;
};

/// One data-import fixup: an area of the module's own data, walked slot by slot, whose slots
/// may point into the module's import area.
struct DataImportFixup {
  std::byte* address;
  std::size_t byteCount;
};

/// The module descriptor: twelve fields in this order. Every range is [start, end); an empty
/// range has equal (usually null) ends. Fields that hold addresses are pointer-sized.
struct ModuleDescriptor {
  /// Set at registration: the descriptor of the module registered just before this one.
  ModuleDescriptor* previousDescriptor;
  const InitialiserEntry* initialiserTableStart;
  const InitialiserEntry* initialiserTableEnd;
  /// Set at registration.
  HINSTANCE instance;
  std::byte* secondDataStart;
  std::byte* secondDataEnd;
  std::byte* globalDataStart;
  std::byte* globalDataEnd;
  const DataImportFixup* fixupListStart;
  const DataImportFixup* fixupListEnd;
  const std::byte* importAreaStart;
  const std::byte* importAreaEnd;
};

static_assert(sizeof(ModuleDescriptor) == 12 * sizeof(void*), "the descriptor keeps its twelve fields");

/// Whether a descriptor can be used at all: every range is ordered (start not after end, both
/// set or both null) and the initialiser table and fixup list hold whole, aligned entries. The
/// runtime never walks a descriptor that fails this check.
bool DescriptorIsSound(const ModuleDescriptor& descriptor);

/// Number of bytes in [start, end), or 0 when the range is empty or reversed.
std::size_t AreaLength(const std::byte* start, const std::byte* end);

}  // namespace vel::services
