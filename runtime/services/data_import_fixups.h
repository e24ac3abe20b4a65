#pragma once
// Data-import fixups: slots in a module's own data that hold the address of an import area
// entry are replaced by the address stored in that entry.

#include <cstddef>

#include "runtime/services/module_descriptor.h"

namespace vel::services {

/// What one pass over a module's fixup list did.
struct FixupOutcome {
  /// Slots whose value pointed into the import area and were replaced.
  std::size_t slotsReplaced = 0;
  /// Fixup pairs ignored because their area does not lie wholly inside the module's global or
  /// second data area.
  std::size_t pairsRejected = 0;
};

/// Walks each (address, byte count) pair of the descriptor's fixup list in pointer-sized steps.
/// A slot whose value lies inside the import area, with a whole slot of the import area at
/// that value, is replaced by the address stored there. Pairs outside the module's declared
/// data areas are rejected, and a trailing part smaller than one slot is left alone, so a
/// wrong list can never write outside the module's data or read outside its import area.
FixupOutcome ApplyDataImportFixups(const ModuleDescriptor& descriptor);

}  // namespace vel::services
