#include "runtime/windows/thread_table.h"

#include <array>

namespace vel::windows {
namespace {

std::array<ThreadSlot, kThreadSlotCount> g_slots;
int g_currentSlot = -1;
int g_loadedSlot = -1;
int g_lastEventSlot = -1;
int g_threadsActive = 0;
std::atomic<int> g_focusSlot{-1};
int g_reportedFocusSlot = kFocusNotReported;

bool ValidSlot(int slot) { return slot >= 0 && slot < kThreadSlotCount; }

}  // namespace

ThreadSlot* SlotAt(int slot) { return ValidSlot(slot) ? &g_slots[static_cast<std::size_t>(slot)] : nullptr; }

int FindSlotOfCallingThread() {
  DWORD self = GetCurrentThreadId();
  for (int slot = 0; slot < kThreadSlotCount; ++slot) {
    if (g_slots[static_cast<std::size_t>(slot)].threadId.load() == self) return slot;
  }
  return -1;
}

int ClaimSlotForCallingThread() {
  int existing = FindSlotOfCallingThread();
  if (existing >= 0) return existing;
  return ClaimSlot(GetCurrentThreadId(), nullptr);
}

int ClaimSlot(DWORD threadId, HANDLE handle) {
  for (int slot = 0; slot < kThreadSlotCount; ++slot) {
    ThreadSlot& entry = g_slots[static_cast<std::size_t>(slot)];
    if (entry.threadId.load() != 0) continue;
    entry.threadHandle = handle;
    entry.finished = false;
    entry.countedActive = false;
    entry.currentWindow = nullptr;
    entry.targetWindow = nullptr;
    entry.lastKeyCode = 0;
    entry.lastCharacter = 0;
    entry.lastScanCode = 0;
    entry.helpFile.clear();
    entry.threadId.store(threadId);
    return slot;
  }
  return -1;
}

void FreeSlot(int slot) {
  ThreadSlot* entry = SlotAt(slot);
  if (entry == nullptr) return;
  if (entry->threadHandle != nullptr) CloseHandle(entry->threadHandle);
  entry->threadHandle = nullptr;
  entry->finished = false;
  if (entry->countedActive) LowerThreadsActive();
  entry->countedActive = false;
  entry->currentWindow = nullptr;
  entry->targetWindow = nullptr;
  entry->threadId.store(0);
  if (g_currentSlot == slot) g_currentSlot = -1;
  if (g_loadedSlot == slot) g_loadedSlot = -1;
  if (g_lastEventSlot == slot) g_lastEventSlot = -1;
  if (g_focusSlot.load() == slot) g_focusSlot.store(-1);
  if (g_reportedFocusSlot == slot) g_reportedFocusSlot = -1;
}

int UsedSlotCount() {
  int used = 0;
  for (const ThreadSlot& entry : g_slots) used += entry.threadId.load() != 0 ? 1 : 0;
  return used;
}

int CurrentSlot() { return g_currentSlot; }

ThreadSlot* CurrentThreadRecord() { return SlotAt(g_currentSlot); }

int LoadedSlot() { return g_loadedSlot; }

void SwitchToSlot(int slot) {
  if (!ValidSlot(slot)) return;
  g_currentSlot = slot;
  g_loadedSlot = slot;
}

int LastEventSlot() { return g_lastEventSlot; }
void SetLastEventSlot(int slot) { g_lastEventSlot = slot; }

int ThreadsActive() { return g_threadsActive; }
void RaiseThreadsActive() { ++g_threadsActive; }
void LowerThreadsActive() {
  if (g_threadsActive > 0) --g_threadsActive;
}

int FocusSlot() { return g_focusSlot.load(); }
void SetFocusSlot(int slot) { g_focusSlot.store(slot); }
int ReportedFocusSlot() { return g_reportedFocusSlot; }
void SetReportedFocusSlot(int slot) { g_reportedFocusSlot = slot; }

ThreadContext SaveThreadContext() { return ThreadContext{g_currentSlot, g_loadedSlot, g_lastEventSlot}; }

void RestoreThreadContext(const ThreadContext& context) {
  g_currentSlot = context.currentSlot;
  g_loadedSlot = context.loadedSlot;
  g_lastEventSlot = context.lastEventSlot;
}

void ResetThreadTable() {
  for (int slot = 0; slot < kThreadSlotCount; ++slot) {
    if (g_slots[static_cast<std::size_t>(slot)].threadId.load() != 0) FreeSlot(slot);
  }
  g_currentSlot = -1;
  g_loadedSlot = -1;
  g_lastEventSlot = -1;
  g_threadsActive = 0;
  g_focusSlot.store(-1);
  g_reportedFocusSlot = kFocusNotReported;
}

}  // namespace vel::windows
