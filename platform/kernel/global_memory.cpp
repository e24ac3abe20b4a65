// Global memory blocks. A fixed block's handle is its address; a moveable block's handle is a
// separate token that GlobalLock turns into the address, with a lock count as Win32 keeps it.
// Every handle is checked against the table, so a freed or made-up handle fails cleanly.

#include "platform/kernel/global_memory.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

std::atomic<vel::platform::GlobalFreeObserver> g_freeObserver{nullptr};

void TellFreed(HGLOBAL handle) {
  if (vel::platform::GlobalFreeObserver observer = g_freeObserver.load()) observer(handle);
}

struct Block {
  void* data = nullptr;  // Null for a moveable block of size 0 (a "discarded" block).
  SIZE_T size = 0;
  UINT flags = 0;
  UINT lockCount = 0;
  bool moveable = false;
};

class GlobalHeap {
 public:
  static GlobalHeap& Instance() {
    static GlobalHeap* heap = new GlobalHeap();
    return *heap;
  }

  std::mutex mutex;
  std::unordered_map<uintptr_t, Block> blocks;        // By handle.
  std::unordered_map<uintptr_t, uintptr_t> handles;  // Moveable blocks: address to handle.

  Block* Find(HGLOBAL handle) {
    auto found = blocks.find(reinterpret_cast<uintptr_t>(handle));
    if (found != blocks.end()) return &found->second;
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
};

void* AllocateBytes(SIZE_T size, bool zero) {
  // One byte at least, so that every fixed block has an address of its own.
  return zero ? std::calloc(size > 0 ? size : 1, 1) : std::malloc(size > 0 ? size : 1);
}

}  // namespace

void vel::platform::SetGlobalFreeObserver(GlobalFreeObserver observer) { g_freeObserver.store(observer); }

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
  Block block;
  block.moveable = (uFlags & GMEM_MOVEABLE) != 0;
  block.flags = uFlags & (GMEM_DDESHARE | GMEM_DISCARDABLE);
  block.size = dwBytes;
  if (!block.moveable || dwBytes > 0) {
    block.data = AllocateBytes(dwBytes, (uFlags & GMEM_ZEROINIT) != 0);
    if (block.data == nullptr) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
  }
  GlobalHeap& heap = GlobalHeap::Instance();
  std::lock_guard<std::mutex> lock(heap.mutex);
  uintptr_t handle = reinterpret_cast<uintptr_t>(block.data);
  if (block.moveable) {
    // The token is the address of a small allocation of its own, unique while the block lives.
    handle = reinterpret_cast<uintptr_t>(new char);
    if (block.data != nullptr) heap.handles[reinterpret_cast<uintptr_t>(block.data)] = handle;
  }
  heap.blocks.emplace(handle, block);
  return reinterpret_cast<HGLOBAL>(handle);
}

LPVOID WINAPI GlobalLock(HGLOBAL hMem) {
  GlobalHeap& heap = GlobalHeap::Instance();
  std::lock_guard<std::mutex> lock(heap.mutex);
  Block* block = heap.Find(hMem);
  if (block == nullptr) return nullptr;
  if (block->data == nullptr) {
    SetLastError(ERROR_DISCARDED);
    return nullptr;
  }
  if (block->moveable && block->lockCount < GMEM_LOCKCOUNT) ++block->lockCount;
  return block->data;
}

BOOL WINAPI GlobalUnlock(HGLOBAL hMem) {
  GlobalHeap& heap = GlobalHeap::Instance();
  std::lock_guard<std::mutex> lock(heap.mutex);
  Block* block = heap.Find(hMem);
  if (block == nullptr) return FALSE;
  if (!block->moveable || block->lockCount == 0) {
    SetLastError(block->moveable ? ERROR_NOT_LOCKED : NO_ERROR);
    return FALSE;
  }
  --block->lockCount;
  if (block->lockCount == 0) SetLastError(NO_ERROR);
  return block->lockCount > 0;
}

SIZE_T WINAPI GlobalSize(HGLOBAL hMem) {
  GlobalHeap& heap = GlobalHeap::Instance();
  std::lock_guard<std::mutex> lock(heap.mutex);
  Block* block = heap.Find(hMem);
  return block != nullptr ? block->size : 0;
}

UINT WINAPI GlobalFlags(HGLOBAL hMem) {
  GlobalHeap& heap = GlobalHeap::Instance();
  std::lock_guard<std::mutex> lock(heap.mutex);
  Block* block = heap.Find(hMem);
  if (block == nullptr) return GMEM_INVALID_HANDLE;
  UINT flags = block->flags | block->lockCount;
  if (block->moveable && block->data == nullptr) flags |= GMEM_DISCARDED;
  return flags;
}

HGLOBAL WINAPI GlobalHandle(LPCVOID pMem) {
  GlobalHeap& heap = GlobalHeap::Instance();
  std::lock_guard<std::mutex> lock(heap.mutex);
  uintptr_t address = reinterpret_cast<uintptr_t>(pMem);
  auto moveable = heap.handles.find(address);
  if (moveable != heap.handles.end()) return reinterpret_cast<HGLOBAL>(moveable->second);
  if (heap.blocks.count(address) != 0) return reinterpret_cast<HGLOBAL>(address);
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) {
  if (hMem == nullptr) return nullptr;
  {
    GlobalHeap& heap = GlobalHeap::Instance();
    std::lock_guard<std::mutex> lock(heap.mutex);
    auto found = heap.blocks.find(reinterpret_cast<uintptr_t>(hMem));
    if (found == heap.blocks.end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return hMem;
    }
    Block block = found->second;
    heap.blocks.erase(found);
    if (block.moveable) {
      if (block.data != nullptr) heap.handles.erase(reinterpret_cast<uintptr_t>(block.data));
      delete reinterpret_cast<char*>(hMem);
    }
    std::free(block.data);
  }
  TellFreed(hMem);
  return nullptr;
}

HGLOBAL WINAPI GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags) {
  GlobalHeap& heap = GlobalHeap::Instance();
  std::unique_lock<std::mutex> lock(heap.mutex);
  Block* block = heap.Find(hMem);
  if (block == nullptr) return nullptr;
  if ((uFlags & GMEM_MODIFY) != 0) {
    block->flags = (block->flags & ~GMEM_DISCARDABLE) | (uFlags & GMEM_DISCARDABLE);
    return hMem;
  }
  // A fixed block, or a locked moveable one, may only move when the caller allows it; a
  // moveable block with no locks may move freely, its handle stays.
  bool mayMove = block->moveable ? (block->lockCount == 0 || (uFlags & GMEM_MOVEABLE) != 0)
                                 : (uFlags & GMEM_MOVEABLE) != 0;
  void* data = nullptr;
  if (dwBytes > 0 || !block->moveable) {
    if (!mayMove && dwBytes > block->size) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    // A block that must stay put keeps its bytes when it shrinks.
    data = mayMove ? std::realloc(block->data, dwBytes > 0 ? dwBytes : 1) : block->data;
    if (data == nullptr) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    if ((uFlags & GMEM_ZEROINIT) != 0 && dwBytes > block->size) {
      std::memset(static_cast<char*>(data) + block->size, 0, dwBytes - block->size);
    }
  } else {
    std::free(block->data);  // A moveable block shrunk to nothing is discarded.
  }
  Block moved = *block;
  moved.data = data;
  moved.size = dwBytes;
  uintptr_t oldHandle = reinterpret_cast<uintptr_t>(hMem);
  if (moved.moveable) {
    if (block->data != nullptr) heap.handles.erase(reinterpret_cast<uintptr_t>(block->data));
    if (data != nullptr) heap.handles[reinterpret_cast<uintptr_t>(data)] = oldHandle;
    *block = moved;
    return hMem;
  }
  heap.blocks.erase(oldHandle);
  heap.blocks.emplace(reinterpret_cast<uintptr_t>(data), moved);
  lock.unlock();
  // A fixed block that moved has a new handle; the old one names nothing now.
  if (reinterpret_cast<uintptr_t>(data) != oldHandle) TellFreed(hMem);
  return reinterpret_cast<HGLOBAL>(data);
}
