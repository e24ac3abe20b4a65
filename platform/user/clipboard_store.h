#pragma once
// The clipboard's contents: bytes per format, the owner and who has it open. The Win32
// functions hand data over as global memory handles (GlobalAlloc's, unless a test puts other
// memory in through ClipboardMemory); code of the platform itself can use the byte functions.

#include <optional>
#include <vector>

#include "win32.h"

namespace vel::platform {

/// Global memory as the clipboard needs it: read a block the program hands over, make a block
/// to hand out, free a block.
class ClipboardMemory {
 public:
  virtual ~ClipboardMemory() = default;
  /// The bytes of a block; false when the handle names none.
  virtual bool Read(HANDLE block, std::vector<BYTE>* bytes) = 0;
  /// A new block holding the bytes (null on failure).
  virtual HANDLE Create(const std::vector<BYTE>& bytes) = 0;
  virtual void Free(HANDLE block) = 0;
};

/// Replaces the global memory the Win32 clipboard functions use (null restores GlobalAlloc's).
void SetClipboardMemory(ClipboardMemory* memory);

/// Stores data in a format, replacing what the format held. The clipboard need not be open:
/// this is the platform's own door (for a backend that takes text from the desktop).
void PutClipboardBytes(UINT format, std::vector<BYTE> bytes);
/// The bytes stored in a format, if any.
std::optional<std::vector<BYTE>> ClipboardBytes(UINT format);

}  // namespace vel::platform
