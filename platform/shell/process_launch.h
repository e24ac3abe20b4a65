#pragma once
// Starting programs without a shell: the argument vector goes to posix_spawnp unchanged, the
// caller never waits for the program, and a reaper collects it when it ends.

#include <string>
#include <vector>

namespace vel::platform {

/// Splits a command line into arguments: blanks (space, tab) separate arguments, a double quote
/// opens or closes a run in which blanks are kept, and two double quotes inside a run stand for
/// one literal quote. Backslashes are ordinary characters.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

/// Starts arguments[0] (looked up on PATH when it has no slash) with the given arguments, in
/// workingDirectory when that is not empty. Returns 0 when the program started, else the errno
/// value that says why not. The program is reaped in the background when it ends. With
/// `awaitSettling`, time on a virtual clock waits for the program to settle (ExternalWork).
int LaunchDetached(const std::vector<std::string>& arguments, const std::string& workingDirectory,
                   bool awaitSettling = false);

}  // namespace vel::platform
