#pragma once
// The query launcher: hands an address to the desktop shell, which opens it with the user's
// handler for web addresses (the browser).

#include "win32.h"

namespace vel::services {

/// Longest address the launcher hands on; the rest is cut.
inline constexpr unsigned kLaunchAddressLimit = 255;

/// Takes the address off the string stack, removes its trailing blanks, cuts it to
/// kLaunchAddressLimit characters and opens it through ShellExecuteA with the shell's default
/// verb, an empty directory and SW_SHOWNORMAL. Nothing is reported to the caller; when the shell
/// refuses, one line naming the shell's answer and the address goes to the trace log, so a user
/// whose desktop opened nothing can find out why.
void LaunchQuery(HWND owner);

}  // namespace vel::services
