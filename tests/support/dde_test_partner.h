#pragma once
// A plain Win32-style DDE server for tests: application "Partner", topic "Test". It answers
// initiates, executes ("fail..." is refused, "quit" ends its loop after the acknowledgement),
// pokes (kept as items), requests (an item's value, "log" for what it was sent, else refused),
// advises (acknowledged, then one update) and terminations. It also answers the runtime's drag
// messages as a window taking "~Item" would, logging what it was offered. It runs in a program of its own
// (dde_partner) or on a thread of a test.

#include "win32.h"

namespace vel::testing {

enum class PartnerMode {
  kAnswering,
  /// On the bus, but answers no initiate.
  kSilent,
  /// Answers initiates, then nothing else.
  kDeaf,
};

/// Creates the partner's window on the calling thread (class "DdePartner").
HWND CreateDdePartner(PartnerMode mode);
/// Runs the calling thread's message loop until the partner's window is destroyed or it was
/// told to quit.
void RunDdePartner();

}  // namespace vel::testing
