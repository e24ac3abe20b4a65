#pragma once
// Which messages may travel between programs, and what their parameters hold. Handles mean
// nothing in another program, so only messages whose parameters are known can be carried: the
// DDE messages and the runtime's drag-and-drop messages are built in, and other parts of the
// platform register their own private messages. Every other message to a window of another program is refused.

#include <optional>

#include "win32.h"

namespace vel::platform::bus {

/// What one parameter (or one half of an lParam) holds.
enum class Slot : unsigned char {
  kNumber,       ///< a plain value
  kWindow,       ///< a window handle
  kAtom,         ///< a global atom
  kBlock,        ///< a global memory block (null allowed)
  kAtomOrBlock,  ///< either, told apart by value (a DDE acknowledgement's second half)
};

/// How the lParam is laid out.
enum class LParamForm : unsigned char {
  kWhole,   ///< one value (`low`)
  kWords,   ///< two 16-bit words, MAKELPARAM(low, high)
  kPacked,  ///< two values packed by PackDDElParam
};

struct ParamShape {
  Slot wParam = Slot::kNumber;
  LParamForm form = LParamForm::kWhole;
  Slot low = Slot::kNumber;
  Slot high = Slot::kNumber;
  /// The sender keeps its atoms (and deletes them itself after the send): the receiver's copies
  /// last only while it handles the message. Otherwise the atoms pass to the receiver.
  bool lendsAtoms = false;
};

/// Registers how a message travels when sent and when posted (none: it may not be).
void RegisterCrossProgramMessage(UINT message, std::optional<ParamShape> sent,
                                 std::optional<ParamShape> posted);

/// The shape of a message sent (`sent`) or posted, or null when it may not travel that way.
std::optional<ParamShape> ShapeOf(UINT message, bool sent);

}  // namespace vel::platform::bus
