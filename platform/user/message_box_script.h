#pragma once
// What a message box showed, and a way for tests and automation to answer it. Until the layer
// draws real modal boxes, every box is recorded, written to standard error and answered here.

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
};

using MessageBoxAnswerer = std::function<int(const MessageBoxRecord&)>;

/// Installs the function that chooses each box's answer; null restores the default, which
/// takes the first button (IDOK, IDYES, IDABORT or IDRETRY by the box's type).
void SetMessageBoxAnswerer(MessageBoxAnswerer answerer);

/// Every box shown since the last ClearMessageBoxLog, oldest first.
std::vector<MessageBoxRecord> MessageBoxLog();
void ClearMessageBoxLog();

/// The answer a box of this type gives when its first button is taken.
int FirstButtonAnswer(UINT flags);

}  // namespace vel::platform
