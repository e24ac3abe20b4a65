#pragma once
// The fault report's call stack: the chain of frames from the faulting instruction, each code
// address with its frame pointer and where it lies in its module (section and offset).

#include <cstdint>

#include "runtime/services/fault_modules.h"
#include "win32.h"
#include "win32/debugging.h"

namespace vel::services {

/// Where a code address lies in the image that holds it: the section (counted from 1) and the
/// offset within it; both 0 when that cannot be told.
struct ImagePlace {
  std::uint32_t section = 0;
  std::uint64_t offset = 0;
};

/// Finds the section of the image loaded at `base` that holds `address`. An ELF image's
/// sections are its loadable segments in program-header order; a segment reaches from its
/// address relative to the image's first to that plus the larger of its sizes in the file and
/// in memory. The headers are read from the image in memory, never dereferenced.
ImagePlace FindImagePlace(std::uint64_t base, std::uint64_t address);

/// "Call Stack:" and one line per frame ("\n" line ends), from the instruction and frame
/// pointers of the fault, following the saved frame pointers while each lies above the last,
/// is pointer-aligned and can be read and written where the frame keeps it.
void WriteCallStackBlock(HFILE file, std::uint64_t instructionPointer, std::uint64_t framePointer,
                         const LoadedModuleTable& modules);

}  // namespace vel::services
