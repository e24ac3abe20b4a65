#include "runtime/windows/help_requests.h"

#include "runtime/windows/thread_table.h"

namespace vel::windows {
namespace {

constexpr std::string_view kOtherFileMark = "@@";

// The directory part of a path, with its separator ("" for a bare name).
std::string_view DirectoryOf(std::string_view path) {
  std::size_t separator = path.find_last_of("\\/:");
  return separator == std::string_view::npos ? std::string_view() : path.substr(0, separator + 1);
}

std::string_view NameOf(std::string_view path) { return path.substr(DirectoryOf(path).size()); }

}  // namespace

std::vector<HelpRequest> HelpRequestsForKeyword(std::string_view helpFile, std::string_view keyword) {
  std::string file(helpFile);
  if (std::size_t mark = keyword.find(kOtherFileMark); mark != std::string_view::npos) {
    file = std::string(keyword.substr(0, mark));
    keyword = keyword.substr(mark + kOtherFileMark.size());
  }
  if (file.empty()) return {};
  if (keyword.empty()) return {{file, HELP_FORCEFILE, ""}};
  if (keyword.front() == '~') {
    std::string macro = "JI(\"";
    macro.append(DirectoryOf(file))
        .append(NameOf(file))
        .append("\",\"")
        .append(keyword.substr(1))
        .append("\")");
    return {{file, HELP_FORCEFILE, ""}, {file, HELP_COMMAND, macro}};
  }
  return {{file, HELP_KEY, std::string(keyword)}};
}

void ShowHelp(HWND owner, const std::vector<HelpRequest>& requests) {
  for (const HelpRequest& request : requests) {
    ULONG_PTR data = request.data.empty() ? 0 : reinterpret_cast<ULONG_PTR>(request.data.c_str());
    WinHelpA(owner, request.file.c_str(), request.command, data);
  }
}

std::string ThreadHelpFile() {
  const ThreadSlot* slot = SlotAt(FindSlotOfCallingThread());
  return slot != nullptr ? slot->helpFile : std::string();
}

void SetThreadHelpFile(std::string_view file) {
  if (ThreadSlot* slot = SlotAt(FindSlotOfCallingThread())) slot->helpFile = std::string(file);
}

}  // namespace vel::windows
