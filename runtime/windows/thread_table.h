#pragma once
// The thread table: one slot per runtime thread (procedures name a thread by slot + 1), and the
// globals that say which thread's procedure code runs and which thread last received an event.
//
// The per-thread value state (string stack, decimal stack, name-binding table and scope list)
// lives in thread-local storage in the value runtime, so each thread already sees only its own
// values. Switching slots therefore copies nothing: it only records which slot is current and
// which one's state is loaded, which is what the rest of the window manager asks about.
//
// Every function here runs under the runtime lock, except the look-ups marked otherwise.

#include <atomic>
#include <cstdint>
#include <string>

#include "win32.h"

namespace vel::windows {

struct WindowObject;

inline constexpr int kThreadSlotCount = 64;

/// One slot of the thread table.
struct ThreadSlot {
  /// Thread id; 0 = the slot is free. Read without the lock by window procedures.
  std::atomic<DWORD> threadId{0};
  /// Handle waited for at program end; null for a thread the runtime did not start.
  HANDLE threadHandle = nullptr;
  /// Set when the thread's body has returned; the slot is freed once its handle is waited for.
  bool finished = false;
  /// Set when the thread raised the threads-active count on entering (it was not the first).
  bool countedActive = false;
  /// The window of the thread's innermost ACCEPT loop.
  WindowObject* currentWindow = nullptr;
  /// The window chosen by SetTargetWindow, or null.
  WindowObject* targetWindow = nullptr;
  std::int32_t lastKeyCode = 0;
  std::uint8_t lastCharacter = 0;
  std::uint8_t lastScanCode = 0;
  /// The thread's help file (the help actions open it); empty when none is set.
  std::string helpFile;
};

/// The slot with number `slot`, or null when the number is outside 0 .. 63.
ThreadSlot* SlotAt(int slot);

/// The slot of the calling thread, or -1. Safe without the lock.
int FindSlotOfCallingThread();

/// Gives the calling thread a slot (its existing one when it has one): the lowest free slot.
/// Returns -1 when all 64 slots are used.
int ClaimSlotForCallingThread();

/// Gives thread `threadId` the lowest free slot, keeping `handle` for the end-of-program wait.
/// Returns -1 when all slots are used.
int ClaimSlot(DWORD threadId, HANDLE handle);

/// Frees a slot (closing the handle it keeps) and forgets it wherever the globals name it.
void FreeSlot(int slot);

/// Number of slots in use.
int UsedSlotCount();

/// The slot whose procedure code runs (-1 before any thread entered the runtime).
int CurrentSlot();
/// The current slot's entry, or null.
ThreadSlot* CurrentThreadRecord();
/// The slot whose value state is loaded in the runtime globals.
int LoadedSlot();

/// Makes `slot` current and its state the loaded one. The value state needs no copying (it is
/// thread-local), so this only records the change.
void SwitchToSlot(int slot);

/// The slot that last received an event (-1 = none yet), for Suspend and Resume.
int LastEventSlot();
void SetLastEventSlot(int slot);

/// Non-zero while window procedures must take the runtime lock themselves: while a second
/// runtime thread exists or a blocking platform call runs.
int ThreadsActive();
void RaiseThreadsActive();
void LowerThreadsActive();

/// The slot whose window has the platform's focus (-1 = none, the program is inactive); safe
/// without the lock, since window procedures set it.
int FocusSlot();
void SetFocusSlot(int slot);
/// The focus slot last reported with LoseFocus and GainFocus. Before the first report it is
/// kFocusNotReported, and the first focus seen is recorded without events.
inline constexpr int kFocusNotReported = -2;
int ReportedFocusSlot();
void SetReportedFocusSlot(int slot);

/// What an ACCEPT step saves around its wait for a message.
struct ThreadContext {
  int currentSlot = -1;
  int loadedSlot = -1;
  int lastEventSlot = -1;
};
ThreadContext SaveThreadContext();
void RestoreThreadContext(const ThreadContext& context);

/// Empties the table and resets the globals (terminate call of the thread table's service).
void ResetThreadTable();

}  // namespace vel::windows
