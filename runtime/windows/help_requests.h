#pragma once
// Help requests: what the help actions ask of the help viewer (WinHelpA) for the thread's help
// file and a keyword. A keyword "file@@keyword" names another help file; a keyword "~id" is a
// topic identifier, reached by opening the file and running a jump macro in it.

#include <string>
#include <string_view>
#include <vector>

#include "win32.h"

namespace vel::windows {

/// One WinHelpA call: the file, the command and its text argument (empty for none).
struct HelpRequest {
  std::string file;
  UINT command = 0;
  std::string data;
  bool operator==(const HelpRequest&) const = default;
};

/// The calls that show help on `keyword` from `helpFile`: none without a help file; HELP_FORCEFILE
/// for an empty keyword; HELP_FORCEFILE and a HELP_COMMAND jump macro for "~id"; HELP_KEY
/// otherwise.
std::vector<HelpRequest> HelpRequestsForKeyword(std::string_view helpFile, std::string_view keyword);

/// Makes each call for `owner`.
void ShowHelp(HWND owner, const std::vector<HelpRequest>& requests);

/// The calling thread's help file (empty when none is set), and setting it.
std::string ThreadHelpFile();
void SetThreadHelpFile(std::string_view file);

}  // namespace vel::windows
