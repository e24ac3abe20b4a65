#pragma once
// The return addresses of the current call chain, read from the saved frame pointers (the build
// keeps frame pointers), innermost first, for diagnostic records.

#include <array>
#include <cstddef>
#include <cstdint>

namespace vel::services {

/// Number of return addresses a call chain holds.
inline constexpr std::size_t kCallChainSlots = 10;

/// Return addresses, innermost first; slots the walk did not reach hold 0.
using CallChain = std::array<std::uintptr_t, kCallChainSlots>;

/// Walks the call chain starting with the walk's own frame, so the first slot is the address
/// the walk was called from. Every frame is checked against the calling thread's stack before it
/// is read, and each next frame must lie further out than the last, so a frame pointer that was
/// reused as a general register or a corrupted stack ends the walk early instead of faulting.
/// A return address of 0 (the outermost frame) ends it as well.
CallChain WalkCallChain();

/// The walk itself, from the frame record at `firstFrame`: a frame record is the caller's frame
/// pointer followed by the return address into the caller. Only records that lie wholly in
/// [stackLow, stackHigh) and are pointer-aligned are read.
CallChain WalkFrameRecords(std::uintptr_t firstFrame, std::uintptr_t stackLow, std::uintptr_t stackHigh);

}  // namespace vel::services
