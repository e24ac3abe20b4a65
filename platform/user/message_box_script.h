#pragma once
// What a message box showed, and a way for tests and automation to answer it.
//
// Every box is recorded (owner, caption, text, flags) and its "[caption] text" line is written
// to standard error before it appears. The box is a real modal window; who answers it:
//   1. An installed answerer is called on the box's thread each time the box has handled all
//      pending input and is painted. A non-zero result (IDOK, IDYES, ...) closes the box with
//      that answer. Zero leaves the box up: the answerer may have sent it input (clicks, keys
//      through the headless display), which the box then handles; it is asked again at the
//      next quiet moment.
//   2. On the headless display, input queued as a script (HeadlessDisplay::QueueScript or the
//      environment's script) is fed to the box one step per quiet moment.
//   3. On the headless display with nothing left to feed it, the box answers with its default
//      button, so that an unattended run never waits for a user who is not there.
//   4. On a desktop display the box waits for the user.
// A WM_QUIT that arrives while the box is up ends it with its default button's answer and is
// posted again once the box has gone; one that was already waiting is set aside while the box
// is up and posted again afterwards.

#include <functional>
#include <string>
#include <vector>

#include "win32.h"

namespace vel::platform {

struct MessageBoxRecord {
  HWND owner;
  std::string caption;
  std::string text;
  UINT flags;
  /// The box's own window while it is up (gone once the box has been answered).
  HWND box = nullptr;
};

/// Chooses a box's answer, or 0 to leave the box up (see above).
using MessageBoxAnswerer = std::function<int(const MessageBoxRecord&)>;

/// Installs the function that answers boxes; null removes it.
void SetMessageBoxAnswerer(MessageBoxAnswerer answerer);

/// Every box shown since the last ClearMessageBoxLog, oldest first.
std::vector<MessageBoxRecord> MessageBoxLog();
void ClearMessageBoxLog();

/// The answer a box of this type gives when its first button is taken.
int FirstButtonAnswer(UINT flags);

/// The answer of the box's default button (MB_DEFBUTTON1..4; a number beyond the box's
/// buttons means the first, as on the original system).
int DefaultButtonAnswer(UINT flags);

}  // namespace vel::platform
