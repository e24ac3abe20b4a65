#pragma once
// What the platform itself needs to know about global memory blocks beyond the Win32 calls.

#include "win32.h"

namespace vel::platform {

/// Told of every global block handle that stops naming a block: freed, or moved to a new handle
/// by GlobalReAlloc. Called on the freeing thread after the block is gone, with no lock held.
using GlobalFreeObserver = void (*)(HGLOBAL handle);

/// Installs the observer (null removes it). The program bus uses it to free the copies other
/// programs hold of blocks sent to them.
void SetGlobalFreeObserver(GlobalFreeObserver observer);

}  // namespace vel::platform
