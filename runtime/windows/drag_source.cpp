#include "runtime/windows/drag_source.h"

#include <string>

#include "runtime/windows/drag_state.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/identifier_list.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/window_object.h"

namespace vel::windows {
namespace {

/// Atoms hold at most this many characters; longer identifiers are offered that far.
constexpr std::size_t kAtomTextLimit = 255;

/// The cursor shown when the drag began, shown again when it ends.
HCURSOR g_cursorBeforeDrag = nullptr;
bool g_cursorSaved = false;

bool TakesDrops(HWND window) {
  return IsRuntimeWindow(window) && SendMessageA(window, kDragQueryMessage, 0, 0) != 0;
}

struct HitSearch {
  POINT point;
  HWND result = nullptr;
  HWND candidate = nullptr;
};

BOOL CALLBACK VisitDescendant(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<HitSearch*>(context);
  if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
  RECT area{};
  GetWindowRect(window, &area);
  bool inside = search.point.x >= area.left && search.point.x < area.right && search.point.y >= area.top &&
                search.point.y < area.bottom;
  if (!inside) return TRUE;
  if (TakesDrops(window)) {
    search.result = window;
    return FALSE;
  }
  search.candidate = window;
  return TRUE;
}

// Offers each of the source's identifiers to `window`; the first it takes is the match.
bool OfferIdentifiers(HWND window, const IdentifierList& identifiers, DragState& state) {
  bool otherProgram = state.otherProgramWindow == window;
  for (const SharedText& identifier : identifiers.Items()) {
    std::string_view text = identifier.View();
    if (otherProgram && text.front() != '~') continue;
    std::string atomText(text.substr(0, kAtomTextLimit));
    ATOM atom = GlobalAddAtomA(atomText.c_str());
    if (atom == 0) continue;
    LRESULT taken = SendMessageA(window, kDragQueryMessage, atom, reinterpret_cast<LPARAM>(state.otherProgramWindow));
    GlobalDeleteAtom(atom);
    if (taken != 0) {
      state.acceptingTarget = window;
      state.matchedIdentifier = identifier;
      return true;
    }
  }
  return false;
}

// Walks from the hit window up through its parents until one takes an identifier or the walk
// reaches a top-level window. Windows that are not the runtime's are passed through unasked.
// A window of another program was found because that program marked it on the desktop, so it
// is a runtime program's window whatever its class; one that is no runtime window of its own
// answers the queries 0.
void FindAcceptingTarget(HWND hit, const IdentifierList& identifiers, DragState& state) {
  for (HWND window = hit; window != nullptr; window = GetParent(window)) {
    bool otherProgram = BelongsToOtherProgram(window);
    if (otherProgram || IsRuntimeWindow(window)) {
      if (otherProgram) state.otherProgramWindow = window;
      if (SendMessageA(window, kDragQueryMessage, 0, 0) != 0 && OfferIdentifiers(window, identifiers, state)) return;
    }
    if ((GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) == 0) return;
  }
}

// Another program cannot read this one's rows: the dragged text goes to it before the drop.
void HandOverText(HWND target, const std::string& text) {
  ATOM atom = text.empty() ? 0 : GlobalAddAtomA(text.c_str());
  if (atom == 0) return;
  SendMessageA(target, kDragTextMessage, atom, reinterpret_cast<LPARAM>(target));
  GlobalDeleteAtom(atom);
}

void RestoreCursor() {
  if (!g_cursorSaved) return;
  g_cursorSaved = false;
  SetCursor(g_cursorBeforeDrag);
}

}  // namespace

bool IsRuntimeWindow(HWND window) {
  char name[8] = {};
  return window != nullptr && GetClassNameA(window, name, sizeof name) >= 3 && name[0] == 'V' && name[1] == 'e' &&
         name[2] == 'l';
}

bool BelongsToOtherProgram(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process != 0 && process != GetCurrentProcessId();
}

HWND DragHitTest(POINT screen) {
  HWND desktop = GetDesktopWindow();
  HWND topLevel = ChildWindowFromPointEx(desktop, screen, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
  if (topLevel == nullptr || topLevel == desktop) return nullptr;
  return DragHitTestWithin(topLevel, screen);
}

HWND DragHitTestWithin(HWND topLevel, POINT screen) {
  HitSearch search{screen};
  EnumChildWindows(topLevel, VisitDescendant, reinterpret_cast<LPARAM>(&search));
  if (search.result != nullptr) return search.result;
  return search.candidate != nullptr ? search.candidate : topLevel;
}

void DragMove(WindowObject& window, WindowControl& source, const IdentifierList& dragIdentifiers, POINT screen) {
  if (dragIdentifiers.Empty()) return;
  DragState& state = CurrentDragState();
  if (!g_cursorSaved) {
    g_cursorBeforeDrag = GetCursor();
    g_cursorSaved = true;
  }
  HWND hit = DragHitTest(screen);
  // Another program learns where the pointer is before it is asked anything: which of its
  // controls lies under the pointer only it can tell.
  bool otherProgram = hit != nullptr && BelongsToOtherProgram(hit);
  if (otherProgram) SendMessageA(hit, kDragOverMessage, 0, MAKELPARAM(screen.x, screen.y));
  if (hit != state.hitWindow || state.sourceControl != &source) {
    if (state.acceptingTarget != nullptr) SendMessageA(state.acceptingTarget, kDropMessage, 0, 0);
    ResetDragState();
    state.sourceWindow = &window;
    state.sourceControl = &source;
    state.hitWindow = hit;
    FindAcceptingTarget(hit, dragIdentifiers, state);
    PostEvent(window, EVENT_Dragging, &source);
    SetCursor(state.matchedIdentifier.Empty() ? NoDropCursor() : DropPossibleCursor());
  } else if (otherProgram) {
    // The same window of another program, perhaps over another of its controls: asked again.
    bool matched = !state.matchedIdentifier.Empty();
    state.acceptingTarget = nullptr;
    state.matchedIdentifier = SharedText();
    FindAcceptingTarget(hit, dragIdentifiers, state);
    if (matched == state.matchedIdentifier.Empty()) {
      SetCursor(state.matchedIdentifier.Empty() ? NoDropCursor() : DropPossibleCursor());
    }
  }
  if (state.acceptingTarget != nullptr && !otherProgram) {
    SendMessageA(state.acceptingTarget, kDragOverMessage, 0, MAKELPARAM(screen.x, screen.y));
  }
}

void DragRelease(WindowObject& window, WindowControl& source, const IdentifierList& dragIdentifiers,
                 std::string_view draggedText) {
  DragState& state = CurrentDragState();
  HWND target = state.sourceControl == &source ? state.acceptingTarget : nullptr;
  bool otherProgram = target != nullptr && target == state.otherProgramWindow;
  if (!dragIdentifiers.Empty()) {
    PostEvent(window, EVENT_Drag, &source,
              [target, otherProgram, text = std::string(draggedText.substr(0, kAtomTextLimit))] {
                if (target == nullptr || !IsWindow(target)) return;
                if (otherProgram) HandOverText(target, text);
                SendMessageA(target, kDropMessage, 1, 0);
              },
              nullptr);
  }
  state.hitWindow = nullptr;
  state.acceptingTarget = nullptr;
  RestoreCursor();
}

void CancelDrag() {
  DragState& state = CurrentDragState();
  if (state.acceptingTarget != nullptr && IsWindow(state.acceptingTarget)) {
    SendMessageA(state.acceptingTarget, kDropMessage, 0, 0);
  }
  state.hitWindow = nullptr;
  state.acceptingTarget = nullptr;
  RestoreCursor();
}

}  // namespace vel::windows
