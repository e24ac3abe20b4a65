#include "runtime/windows/drop_target.h"

#include <string>

#include "runtime/values/char_compare.h"
#include "runtime/windows/drag_state.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/identifier_list.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/window_object.h"

namespace vel::windows {
namespace {

std::string AtomText(WPARAM atom) {
  char text[256] = {};
  UINT length = GlobalGetAtomNameA(static_cast<ATOM>(atom), text, sizeof text);
  return std::string(text, length);
}

// Within one program "~" only marks an identifier that may also cross to other programs.
std::string WithoutTilde(std::string_view text) {
  if (!text.empty() && text.front() == '~') text.remove_prefix(1);
  return std::string(text);
}

LRESULT AnswerQuery(const DropHolder& holder, WPARAM atom, LPARAM otherProgram) {
  if (holder.identifiers->Empty()) return 0;
  if (atom == 0) return 1;
  std::string offered = AtomText(atom);
  if (otherProgram == 0) offered = WithoutTilde(offered);
  for (const SharedText& identifier : holder.identifiers->Items()) {
    // Atoms hold 255 characters at most, so a longer identifier is compared that far.
    std::string own(identifier.View().substr(0, 255));
    if (otherProgram == 0) own = WithoutTilde(own);
    if (values::CompareTextNoCase(offered.c_str(), own.c_str()) != 0) continue;
    DragState& state = CurrentDragState();
    state.dropWindow = holder.window;
    state.dropControl = holder.control;
    state.otherProgramWindow = reinterpret_cast<HWND>(otherProgram);
    if (otherProgram != 0) {
      state.sourceWindow = nullptr;
      state.sourceControl = nullptr;
      state.matchedIdentifier = identifier;
    }
    return 1;
  }
  return 0;
}

void TakeText(const DropHolder& holder, WPARAM atom, LPARAM otherProgram) {
  DragState& state = CurrentDragState();
  if (state.dropWindow != holder.window || state.dropControl != holder.control ||
      state.otherProgramWindow != reinterpret_cast<HWND>(otherProgram)) {
    return;
  }
  state.droppedText = SharedText(AtomText(atom));
}

void TakeFiles(const DropHolder& holder, HDROP drop) {
  if (!holder.identifiers->TakesFiles()) {
    DragFinish(drop);
    return;
  }
  std::string joined;
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::string name(DragQueryFileA(drop, i, nullptr, 0) + 1, '\0');
    name.resize(DragQueryFileA(drop, i, name.data(), static_cast<UINT>(name.size())));
    if (i != 0) joined += ',';
    joined += name;
  }
  DragFinish(drop);
  ResetDragState();
  DragState& state = CurrentDragState();
  state.dropWindow = holder.window;
  state.dropControl = holder.control;
  state.droppedText = SharedText(joined);
  state.matchedIdentifier = SharedText(kFileDropIdentifier);
  PostEvent(*holder.window, EVENT_Drop, holder.control);
}

}  // namespace

std::optional<LRESULT> HandleDropMessage(const DropHolder& holder, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kDragQueryMessage: return AnswerQuery(holder, wParam, lParam);
    case kDropMessage:
      if (wParam != 0) PostEvent(*holder.window, EVENT_Drop, holder.control);
      return 0;
    case kDragOverMessage: return 0;
    case kDragTextMessage: TakeText(holder, wParam, lParam); return 0;
    case WM_DROPFILES: TakeFiles(holder, reinterpret_cast<HDROP>(wParam)); return 0;
    default: return std::nullopt;
  }
}

}  // namespace vel::windows
